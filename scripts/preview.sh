#!/usr/bin/env bash
# Shows a package's dialog as the users of each of its languages see it.
# For every language the package's table reaches it runs the package's own
# setup.exe (the one built here if it has none) under Wine, with a locale
# of that language as the user's, in a Unix locale that gives Wine the
# language's code page, with a font that has its letters, and saves
# OUTDIR/dialog-<code>.png. Then OUTDIR/overview.png shows them side by
# side, and OUTDIR/index.html each beside nlscheck's findings for its
# language. Which locale, Unix locale, code page and font: nlscheck
# --machine says. The package folder is left as it is: the runs are on a
# copy. A language that can't be shown (its Unix locale can't be made, its
# font is missing) is named with the reason, and the exit status is 1.
#
#   scripts/preview.sh PACKAGE_DIR OUTDIR [--dpi N] [--system UNIX_LOCALE] [CODE...]
#
# --system UNIX_LOCALE: each language as its users see it on a machine of
# that locale's code page (de_DE; hi_IN for Windows' "Use Unicode UTF-8"
# setting): the language's Unix locale gives Wine the user's UI language
# (LC_MESSAGES), UNIX_LOCALE the system's code page (LC_CTYPE). The files
# are then dialog-<code>-on-<UNIX_LOCALE>.png, overview-on-<UNIX_LOCALE>.png
# and index-on-<UNIX_LOCALE>.html.
# --dpi N: Wine draws at N dots per inch (its LogPixels, 96 by default);
# the files are then dialog-<N>dpi-<code>.png, overview-<N>dpi.png and
# index-<N>dpi.html. CODEs limit it to those languages. Starts a virtual
# display when there is none. SETUP_EXE names the setup.exe for a package
# without one, NLSCHECK the (Linux) nlscheck to ask, PREVIEW_CACHE the
# folder of the Wine prefix and of the Unix locales made (build/preview).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
args=("$@")

usage() {
    echo "usage: $0 PACKAGE_DIR OUTDIR [--dpi N] [--system UNIX_LOCALE] [CODE...]" >&2
    exit 2
}
dpi=96
system=
operands=()
while [ $# -gt 0 ]; do
    case $1 in
    --dpi) [ $# -ge 2 ] && [[ $2 =~ ^[1-9][0-9]*$ ]] || usage; dpi=$2; shift 2 ;;
    --system) [ $# -ge 2 ] && [[ $2 =~ ^[a-z]{2,3}(_[A-Z]{2})?(@[a-z]+)?$ ]] || usage; system=$2; shift 2 ;;
    -*) usage ;;
    *) operands+=("$1"); shift ;;
    esac
done
[ ${#operands[@]} -ge 2 ] || usage
[ -d "${operands[0]}" ] || { echo "preview: ${operands[0]}: not a folder" >&2; exit 2; }
package=$(cd "${operands[0]}" && pwd -P)
out=$(realpath -m "${operands[1]}")
case $out/ in
"$package"/*) echo "preview: $out is inside the package folder, which the preview leaves as it is" >&2; exit 2 ;;
esac
mkdir -p "$out"
wanted=("${operands[@]:2}")
suffix= on=
[ "$dpi" = 96 ] || suffix=-${dpi}dpi
[ -z "$system" ] || on=-on-$system

if ! xdpyinfo >/dev/null 2>&1; then
    exec "$here/with-display.sh" "$0" "${args[@]}"
fi

# Prints the first of the files named that exists.
first_of() {
    local file
    for file in "$@"; do
        [ -z "$file" ] || [ ! -f "$file" ] || { echo "$file"; return; }
    done
}
# In a clone of the sources, brings TARGET of the cmake PRESET up to date,
# so that nlscheck knows what this launcher reads; a release has none.
build() {
    [ -f "$top/CMakePresets.json" ] || return 0
    (cd "$top" && { [ -f "build/$1/build.ninja" ] || cmake --preset "$1" >/dev/null; } &&
        cmake --build --preset "$1" --target "$2" >/dev/null)
}

# The launcher: the package's own, else SETUP_EXE, the one built here or
# (in a release) the one beside this folder. nlscheck: NLSCHECK, the one
# built here or beside this folder, or one on the PATH.
own=$(find "$package" -maxdepth 1 -iname setup.exe -print -quit)
[ -n "$own" ] || [ -n "${SETUP_EXE:-}" ] || build win32 setup
setup=$(first_of "$own" "${SETUP_EXE:-}" "$top/build/win32/setup.exe" "$top/setup.exe")
[ -n "${NLSCHECK:-}" ] || build native nlscheck
nlscheck=$(first_of "${NLSCHECK:-}" "$top/build/native/nlscheck/nlscheck" "$top/nlscheck" "$(command -v nlscheck || true)")
[ -n "$setup" ] || { echo "preview: there is no setup.exe to run" >&2; exit 2; }
[ -n "$nlscheck" ] || { echo "preview: there is no nlscheck for Linux (NLSCHECK names one)" >&2; exit 2; }

cache=$(mkdir -p "${PREVIEW_CACHE:-$top/build/preview}" && cd "${PREVIEW_CACHE:-$top/build/preview}" && pwd)
# Each language's Unix locale is the system's or one made in the cache.
unset LOCPATH
work=$(mktemp -d)
# A 32-bit prefix, as the launcher is a 32-bit program.
export WINEPREFIX=$cache/wine32 WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

# What nlscheck knows; a package with errors is shown all the same.
"$nlscheck" --machine "$package" >"$work/machine" || [ $? -le 2 ]

# One line a language, in the order the table first reaches each: its code,
# the locale to show it in (one with a Unix locale, other than 0 if it
# can), its code page, Unix locale and font. Here and in $work/shown the
# fields are split by the unit separator, since some may be empty.
awk -F'\t' '
    $1 == "locale" { current[$2] = $4; codePage[$2] = $5; order[++n] = $2 }
    $1 == "codepage" && $4 == "nt" && $3 == current[$2] { codePage[$2] = $5 }
    $1 == "wine" { unixName[$2] = $3; font[$2] = $4 }
    END {
        for (i = 1; i <= n; i++) {
            l = order[i]; c = current[l]
            if (!(c in chosen)) codes[++m] = c
            score = (unixName[l] != "") * 2 + (l != "0")
            if (!(c in chosen) || score > best[c]) { chosen[c] = l; best[c] = score }
        }
        for (j = 1; j <= m; j++) {
            l = chosen[codes[j]]
            print codes[j] "\037" l "\037" codePage[l] "\037" unixName[l] "\037" font[l]
        }
    }' "$work/machine" >"$work/languages"
if [ ${#wanted[@]} -gt 0 ]; then
    for code in "${wanted[@]}"; do
        awk -F'\037' -v code="$code" 'toupper($1) == toupper(code) { found = 1 } END { exit !found }' "$work/languages" ||
            { echo "preview: the table reaches no language $code" >&2; exit 2; }
    done
    awk -F'\037' -v list=" ${wanted[*]} " 'index(toupper(list), " " toupper($1) " ")' "$work/languages" >"$work/chosen"
    mv "$work/chosen" "$work/languages"
fi
if [ ! -s "$work/languages" ]; then
    echo "preview: the table of $package reaches no language; nlscheck says:" >&2
    "$nlscheck" --quiet "$package" >&2 || true
    exit 1
fi

count=$(wc -l <"$work/languages")
echo "Preview of $package with $setup: $count language$([ "$count" = 1 ] || echo s)${system:+ on a $system machine}, into $out"
mkdir -p "$cache/locale"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX (once)..."
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi
# The title bar's buttons are drawn with Wine's Marlett font, which this
# Wine does not load from its own data folder: without it the close box
# shows the letter "r". A copy in the prefix's font folder is found.
marlett=$(ls /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf /opt/wine*/share/wine/fonts/marlett.ttf 2>/dev/null | head -n 1 || true)
if [ -z "$marlett" ]; then
    echo "preview: Wine's marlett.ttf is missing (Debian's fonts-wine has it)" >&2
    exit 1
fi
cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
# The launcher reads nothing else of the package before its dialog.
mkdir "$work/package"
find "$package" -mindepth 1 -maxdepth 1 -iname NLS -exec cp -r {} "$work/package/" \;
cp "$setup" "$work/package/setup.exe"

# The fonts that the dialog and its title bar ask for: the template's, and
# those that "MS Shell Dlg" stands for in each code page. Each picture has
# them all replaced by the language's font.
faces=("MS Sans Serif" "Microsoft Sans Serif" "Tahoma" "MS UI Gothic" "SimSun" "PMingLiU" "Gulim")

# The UTF-8 name of the Unix locale $1: de_DE.UTF-8, sr_RS.UTF-8@latin.
utf8_name() {
    local base=${1%@*}
    [ "$1" = "$base" ] && echo "$base.UTF-8" || echo "$base.UTF-8@${1#*@}"
}
# Makes the Unix locale $1 in the cache; fails if it can't.
make_locale() {
    local base=${1%@*} name source=$1
    name=$(utf8_name "$1")
    if [ ! -f "$cache/locale/$name/LC_CTYPE" ]; then
        # glibc's locale of the name without Wine's script modifier is in
        # that script already (sr_RS is Cyrillic).
        [ -f "/usr/share/i18n/locales/$source" ] || source=$base
        localedef -i "$source" -f UTF-8 "$cache/locale/$name" >/dev/null 2>&1 || true
    fi
    [ -f "$cache/locale/$name/LC_CTYPE" ]
}
system_has() {
    [ "$(LC_ALL=$(utf8_name "$1") locale charmap 2>/dev/null)" = UTF-8 ]
}
# Sets LOCALE_ENV to what runs a program in the Unix locale $1 (in UTF-8),
# or with --system, $1 for LC_MESSAGES and the system's for the rest, LC_CTYPE
# among them; the locales the system lacks are made in the cache, and then
# both come from there (LOCPATH hides the system's). Fails naming the one
# that can't be made.
unix_locale() {
    local name
    name=$(utf8_name "$1")
    if [ -z "$system" ]; then
        LOCALE_ENV=(LC_ALL="$name")
        system_has "$1" && return 0
        LOCALE_ENV=(LOCPATH="$cache/locale" LC_ALL="$name")
        make_locale "$1" || { MISSING=$1; return 1; }
        return 0
    fi
    LOCALE_ENV=(LANG="$(utf8_name "$system")" LC_MESSAGES="$name")
    system_has "$1" && system_has "$system" && return 0
    LOCALE_ENV=(LOCPATH="$cache/locale" "${LOCALE_ENV[@]}")
    make_locale "$1" || { MISSING=$1; return 1; }
    make_locale "$system" || { MISSING=$system; return 1; }
}

# Where the dialog is on the screen, as WIDTHxHEIGHT+X+Y.
dialog_geometry() {
    xwininfo -root -tree 2>/dev/null |
        sed -n '/"preview - Wine desktop"/,$ s/.*("setup.exe" "setup.exe") *\([0-9]*x[0-9]*+[0-9]*+[0-9]*\).*/\1/p' | head -n 1
}

# Shows one language (CODE LOCALE UNIXLOCALE FONT CODEPAGE) and prints the
# picture's name; or fails, printing why it can't.
show() {
    local code=$1 locale=$2 unix=$3 font=$4 picture geometry w h x y
    picture=dialog$suffix-${code//[^A-Za-z0-9_-]/_}$on.png
    if [ -z "$unix" ]; then
        echo "nlscheck knows no Unix locale that gives Wine this language and code page"
        return 1
    fi
    if ! unix_locale "$unix"; then
        echo "the Unix locale $(utf8_name "$MISSING") is missing and can't be made (localedef -i ${MISSING%@*} failed)"
        return 1
    fi
    if [ -z "$font" ] || [ -z "$(fc-list ":family=$font" family)" ]; then
        echo "the font ${font:-for code page $5} is missing (scripts/install-deps.sh installs the fonts)"
        return 1
    fi
    # Wine takes the code page from the locale of the wineserver's first
    # process: a fresh server for each language.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        printf '"%s"="'"$font"'"\r\n' "${faces[@]}"
        printf '\r\n[HKEY_USERS\\.DEFAULT\\Control Panel\\Desktop\\ResourceLocale]\r\n@="%08X"\r\n' "0x$locale"
        printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$dpi"
    } >"$work/settings.reg"
    (cd "$work" && env "${LOCALE_ENV[@]}" wine regedit /S settings.reg)
    (cd "$work/package" && env "${LOCALE_ENV[@]}" wine explorer /desktop=preview,$((640 * dpi / 96))x$((360 * dpi / 96)) \
        setup.exe &) >/dev/null 2>&1
    for _ in $(seq 600); do
        sleep 0.2
        [ -n "$(dialog_geometry)" ] && break
    done
    sleep 1  # let it paint, and be centred
    geometry=$(dialog_geometry)
    if [ -z "$geometry" ]; then
        echo "the dialog did not appear within two minutes"
        return 1
    fi
    # The desktop sits at the screen's origin; take the dialog with a margin,
    # in at most 64 colours, which keeps the file small.
    read -r w h x y <<<"$(echo "$geometry" | tr 'x+' '  ')"
    import -window root -crop "$((w + 16))x$((h + 16))+$((x > 8 ? x - 8 : 0))+$((y > 8 ? y - 8 : 0))" +repage \
        -colors 64 -strip "PNG8:$out/$picture"
    echo "$picture"
}

: >"$work/shown"
failed=0
while IFS=$'\037' read -r code locale codepage unix font; do
    start=$(date +%s%N)
    if result=$(show "$code" "$locale" "$unix" "$font" "$codepage" </dev/null); then
        tenths=$((($(date +%s%N) - start) / 100000000))
        printf '  %-4s locale %s, code page %s, %s, %s: %s (%d.%d s)\n' "$code" "$locale" "$codepage" \
            "$unix${system:+ on $system}" "$font" \
            "$result" $((tenths / 10)) $((tenths % 10))
    else
        printf '  %-4s locale %s, code page %s: NOT SHOWN: %s\n' "$code" "$locale" "$codepage" "$result"
        result="not shown: $result"
        failed=$((failed + 1))
    fi
    printf '%s\037%s\037%s\037%s\n' "$code" "$locale" "$codepage" "$result" >>"$work/shown"
done <"$work/languages"

# All of them side by side, each captioned with its code, locale and code
# page. The captions are put under the pictures first: montage's own labels
# go missing under a picture shorter than the tallest of its row.
font=$(fc-match -f '%{file}' 'DejaVu Sans')
captioned=()
while IFS=$'\037' read -r code locale codepage result; do
    [[ $result != "not shown: "* ]] || continue
    caption="${code//%/%%}  locale $locale  code page $codepage${system:+  on $system}"
    [[ $caption != @* ]] || caption="\\$caption"  # a leading @ would name a file to read the text from
    captioned+=("$work/captioned-${#captioned[@]}.png")
    convert "$out/$result" -background white -font "$font" -pointsize 12 label:"$caption" \
        -gravity center -append "${captioned[-1]}"
done <"$work/shown"
if [ ${#captioned[@]} -gt 0 ]; then
    montage -background white "${captioned[@]}" -tile $((${#captioned[@]} < 4 ? ${#captioned[@]} : 4))x \
        -geometry +12+12 -colors 64 -strip "PNG8:$out/overview$suffix$on.png"
fi

# The page: each picture beside the findings for its language, which are
# those about its own files, or about table lines that name its code.
awk -F'\t' -v suffix="$suffix$on" -v package="$package" -v overview=${#captioned[@]} -v machine="$system" '
    function html(s) { gsub(/&/, "\\&amp;", s); gsub(/</, "\\&lt;", s); gsub(/>/, "\\&gt;", s); gsub(/"/, "\\&quot;", s); return s }
    function unescape(s,   out, i, ch) {
        for (i = 1; i <= length(s); i++) {
            ch = substr(s, i, 1)
            if (ch == "\\" && i < length(s)) { ch = substr(s, ++i, 1); ch = ch == "t" ? "\t" : ch == "n" || ch == "r" ? " " : ch }
            out = out ch
        }
        return out
    }
    FILENAME == ARGV[1] { split($0, f, "\037"); c = toupper(f[1]); order[++n] = f[1]; locale[c] = f[2]; codePage[c] = f[3]; result[c] = f[4]; next }
    $1 == "entry" { entryCode[$2] = toupper($4); next }
    $1 == "reading" { reading[$2] = $3; next }
    $1 == "warning" || $1 == "error" {
        file = unescape($2); code = ""
        base = toupper(file); sub(/.*\//, "", base)
        if (base ~ /^(PROJ|STR)\./) code = substr(base, index(base, ".") + 1)
        else if (base == "LANGID.TXT" && ($3 in entryCode)) code = entryCode[$3]
        where = file ($3 > 0 ? ":" $3 : "")
        item = "<li>" ($1 == "error" ? "<b>error:</b> " : "warning: ") "<code>" html(where) "</code> " html(unescape($4)) "</li>\n"
        if (code in locale) findings[code] = findings[code] item
        else other = other item
        next
    }
    END {
        print "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Preview of " html(package) "</title>"
        print "<style>body{font-family:sans-serif} td{vertical-align:top;padding:8px} li{margin:4px 0}</style></head><body>"
        print "<h1>Preview of " html(package) (machine != "" ? " on a " html(machine) " machine" : "") "</h1>"
        if (machine != "")
            print "<p>Each language as its users see it on a machine whose system locale is " html(machine) \
                ": the language\047s Unix locale for LC_MESSAGES (the user\047s UI language), " html(machine) \
                " for LC_CTYPE (the system\047s code page).</p>"
        if (overview) print "<p><img src=\"overview" suffix ".png\" alt=\"All languages\"></p>"
        print "<table>"
        for (i = 1; i <= n; i++) {
            c = toupper(order[i])
            picture = result[c] ~ /^not shown: / ? "<b>" html(result[c]) "</b>" : "<img src=\"" html(result[c]) "\" alt=\"" html(order[i]) "\">"
            print "<tr id=\"" html(order[i]) "\"><td><h2>" html(order[i]) "</h2>locale " locale[c] "<br>code page " codePage[c] \
                (machine != "" ? "<br>on " html(machine) : "") \
                (reading[locale[c]] == "rtl" ? "<br>right to left" : "") "</td><td>" picture "</td><td>"
            print (c in findings) ? "<ul>\n" findings[c] "</ul>" : "No findings."
            print "</td></tr>"
        }
        print "</table>"
        if (other != "") print "<h2>The rest of the package</h2>\n<ul>\n" other "</ul>"
        print "</body></html>"
    }' "$work/shown" "$work/machine" >"$out/index$suffix$on.html"
echo "Saved ${captioned:+$out/overview$suffix$on.png and }$out/index$suffix$on.html"

if [ "$failed" -gt 0 ]; then
    echo "preview: $failed language$([ "$failed" = 1 ] || echo s) could not be shown:" >&2
    awk -F'\037' '$4 ~ /^not shown: / { sub(/^not shown: /, "", $4); print "  " $1 " (locale " $2 "): " $4 }' "$work/shown" >&2
    exit 1
fi
