#!/usr/bin/env bash
# Saves a picture of the launcher's dialog in each language of the example
# package: OUTDIR/dialog-<code>.png. Each is taken with Wine running in the
# language's Unix locale, so that the system's code page is the one the
# language's files are written in. Wine's own desktop window draws the
# title bar. Uses build/win32/setup.exe and the demo prefix build/demo/wine;
# starts a virtual display when there is none. With --dpi N, Wine draws at
# N dots per inch (its LogPixels setting, 96 by default) and the pictures
# are OUTDIR/dialog-<N>dpi-<code>.png.
#
#   scripts/screenshots.sh [--dpi N] OUTDIR [CODE...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
args=("$@")
dpi=96
name=dialog
if [ "${1:-}" = --dpi ]; then
    dpi=$2
    name=dialog-${dpi}dpi
    shift 2
fi
out=$(mkdir -p "$1" && cd "$1" && pwd)
shift

if ! xdpyinfo >/dev/null 2>&1; then
    exec "$top/scripts/with-display.sh" "$0" "${args[@]}"
fi

# Each language of the example: its code, a locale of its own in the
# language table, the Unix locale that gives Wine its code page, and a font
# with the language's letters and Latin ones.
languages=(
    "ENG:0409:en_US:Liberation Sans" "DEU:0407:de_DE:Liberation Sans" "FRA:040C:fr_FR:Liberation Sans"
    "POL:0415:pl_PL:Liberation Sans" "RUS:0419:ru_RU:Liberation Sans" "ELL:0408:el_GR:Liberation Sans"
    "TUR:041F:tr_TR:Liberation Sans" "HEB:040D:he_IL:DejaVu Sans" "ARA:0401:ar_SA:DejaVu Sans"
    "LIT:0427:lt_LT:Liberation Sans" "VIE:042A:vi_VN:Noto Sans" "THA:041E:th_TH:Loma"
    "JPN:0411:ja_JP:WenQuanYi Micro Hei" "CHS:0804:zh_CN:WenQuanYi Micro Hei"
    "KOR:0412:ko_KR:WenQuanYi Micro Hei" "CHT:0404:zh_TW:WenQuanYi Micro Hei"
)
# The fonts that the dialog and its title bar ask for, none of which is in
# the prefix: the template's, and those that "MS Shell Dlg" stands for in
# each code page. Wine draws a title in one font, without falling back to
# another for letters that font lacks, so each picture has them all
# replaced by the language's font.
faces=("MS Sans Serif" "Microsoft Sans Serif" "Tahoma" "MS UI Gothic" "SimSun" "PMingLiU" "Gulim")
wanted=("$@")

export WINEPREFIX=${WINEPREFIX:-$top/build/demo/wine} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$WINEPREFIX")"
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1

# The title bar's buttons are drawn with Wine's Marlett font, which this
# Wine does not load from its own data folder: without it the close box
# shows the letter "r". A copy in the prefix's font folder is found.
marlett=$(ls /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf /opt/wine*/share/wine/fonts/marlett.ttf 2>/dev/null | head -n 1 || true)
if [ -z "$marlett" ]; then
    echo "screenshots: Wine's marlett.ttf is missing (Debian's fonts-wine has it)" >&2
    exit 1
fi
cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"

# Where the dialog is on the screen, as WIDTHxHEIGHT+X+Y.
dialog_geometry() {
    xwininfo -root -tree 2>/dev/null |
        sed -n '/"shots - Wine desktop"/,$ s/.*("setup.exe" "setup.exe") *\([0-9]*x[0-9]*+[0-9]*+[0-9]*\).*/\1/p' | head -n 1
}

work=$(mktemp -d)
# The font replacements and the DPI are for the pictures only.
trap 'wine reg delete "HKCU\Software\Wine\Fonts\Replacements" /f >/dev/null 2>&1 || true
      wine reg delete "HKCU\Control Panel\Desktop" /v LogPixels /f >/dev/null 2>&1 || true
      wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$top/example" "$work/package"
cp "$top/build/win32/setup.exe" "$work/package/"

for entry in "${languages[@]}"; do
    IFS=: read -r code locale unix font <<<"$entry"
    if [ ${#wanted[@]} -gt 0 ] && [[ " ${wanted[*]} " != *" $code "* ]]; then
        continue
    fi
    # Wine takes the code page from the locale of the wineserver's first
    # process: a fresh server for each language.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    export LANG=$unix.UTF-8 LC_ALL=
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        printf '"%s"="'"$font"'"\r\n' "${faces[@]}"
        printf '\r\n[HKEY_USERS\\.DEFAULT\\Control Panel\\Desktop\\ResourceLocale]\r\n@="0000%s"\r\n' "$locale"
        printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$dpi"
    } >"$work/settings.reg"
    wine regedit /S "$(winepath -w "$work/settings.reg")"
    (cd "$work/package" && wine explorer /desktop=shots,$((640 * dpi / 96))x$((360 * dpi / 96)) setup.exe >/dev/null 2>&1 &)
    for _ in $(seq 100); do
        sleep 0.2
        [ -n "$(dialog_geometry)" ] && break
    done
    sleep 1  # let it paint, and be centred
    geometry=$(dialog_geometry)
    if [ -z "$geometry" ]; then
        echo "screenshots: the dialog for $code did not appear" >&2
        exit 1
    fi
    # The desktop sits at the screen's origin; take the dialog with a margin,
    # in at most 64 colours, which keeps the file small.
    read -r w h x y <<<"$(echo "$geometry" | tr 'x+' '  ')"
    import -window root -crop "$((w + 16))x$((h + 16))+$((x > 8 ? x - 8 : 0))+$((y > 8 ? y - 8 : 0))" +repage \
        -colors 64 -strip "PNG8:$out/$name-$code.png"
    echo "Saved $out/$name-$code.png"
done
