#!/bin/sh
# scripts/preview.sh on one package: a picture of the dialog for each
# language the table reaches (nlscheck --machine's current codes), the
# overview, an index that names every finding, each in the row of the
# language whose file or table line it is about, and the package folder
# unchanged. "unshowable" makes a package with a language Windows writes in
# Unicode only (Hindi) and one whose Unix locale can't be made (Faroese,
# with a localedef that fails): both are named, with the reason, the
# others shown, and the exit status is 1. With --system, each language on a
# machine of that Unix locale: every picture, its caption in the log and its
# row of the index say so.
#
#   preview_test.sh PREVIEW_SH NLSCHECK WORK_DIR [--system UNIX_LOCALE] PACKAGE_DIR|unshowable LANGUAGES [CODE:TEXT...]
#
# LANGUAGES is how many languages the table reaches; each CODE:TEXT is a
# finding's text that must be in that language's row. PREVIEW_CACHE is
# preview.sh's Wine prefix and locales.
set -u
preview=$1 nlscheck=$2 work=$3
shift 3
system=
if [ "$1" = --system ]; then
    system=$2
    shift 2
fi
on=${system:+-on-$system}
package=$1 count=$2
shift 2
. "$(dirname "$0")/../want.sh"
[ -x "$nlscheck" ] || skip_for_want_of "the preview" "the Linux nlscheck ($nlscheck: cmake --build --preset native)"

rm -rf "$work" && mkdir -p "$work" || exit 1
want_status=0
if [ "$package" = unshowable ]; then
    if [ "$(LC_ALL=fo_FO.UTF-8 locale charmap 2>/dev/null)" = UTF-8 ]; then
        echo "SKIPPED: this system has the Unix locale fo_FO, which the test needs missing"
        exit 77
    fi
    package=$work/unshowable
    mkdir -p "$package/NLS" "$work/bin"
    printf 'ENG 0\r\nENG 0409\r\nHIN 0439\r\nFOS 0438\r\n' >"$package/NLS/LANGID.TXT"
    printf '[Proj]\r\nName=Unshowable\r\nINF=u.inf\r\n' >"$package/NLS/PROJ.ENG"
    printf '[Translation]\r\nInst=Install?\r\nReadme=Readme\r\nYes=Yes\r\nNo=No\r\nRemove=Gone\r\n' >"$package/NLS/STR.ENG"
    printf '#!/bin/sh\nexit 1\n' >"$work/bin/localedef" && chmod +x "$work/bin/localedef"
    PATH=$work/bin:$PATH
    rm -rf "${PREVIEW_CACHE:?}/locale"
    want_status=1
fi

# Every file's path, size, time, mode and bytes.
snapshot() {
    (cd "$package" && find . -printf '%p %s %T@ %m\n' | LC_ALL=C sort && find . -type f -exec md5sum {} + | LC_ALL=C sort)
}
snapshot >"$work/before"
out=$work/out
NLSCHECK=$nlscheck "$preview" ${system:+--system "$system"} "$package" "$out" >"$work/log" 2>&1
status=$?
cat "$work/log"
snapshot >"$work/after"
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}
[ $status -eq $want_status ] || fail "exit status $status, expected $want_status"
cmp -s "$work/before" "$work/after" || fail "the package folder changed: $(diff "$work/before" "$work/after")"

"$nlscheck" --machine "$package" >"$work/machine"
codes=$(awk -F'\t' '$1 == "locale" && !seen[$4]++ { print $4 }' "$work/machine")
[ "$(echo "$codes" | wc -l)" -eq "$count" ] || fail "the table reaches $(echo $codes), not $count languages"
# The row of the index for CODE.
row() {
    sed -n "/<tr id=\"$1\">/,/<\/tr>/p" "$out/index$on.html"
}
pictures=0
for code in $codes; do
    if grep -q "^ *$code .*NOT SHOWN: " "$work/log"; then
        [ $want_status -eq 1 ] || fail "$code was not shown"
        row "$code" | grep -q 'not shown: ' || fail "the index does not say why $code is not shown"
        continue
    fi
    size=$(identify -format '%wx%h' "$out/dialog-$code$on.png" 2>/dev/null)
    case $size in
    [2-9][0-9][0-9]x[1-9][0-9][0-9]) ;;
    *) fail "dialog-$code$on.png is no picture of the dialog (${size:-none})" ;;
    esac
    row "$code" | grep -q "<img src=\"dialog-$code$on.png\"" || fail "the index shows no picture of $code"
    if [ -n "$system" ]; then
        grep -q "^  $code .* on $system, .*dialog-$code$on.png" "$work/log" || fail "the log does not say $code is on $system"
        row "$code" | grep -q "<br>on $system" || fail "the index row of $code does not say it is on $system"
    fi
    pictures=$((pictures + 1))
done
# Side by side, up to four in a row.
[ "$(identify -format %w "$out/overview$on.png" 2>/dev/null || echo 0)" -gt $((300 * (pictures < 4 ? pictures : 4))) ] ||
    fail "overview$on.png does not show the $pictures pictures side by side"
[ -z "$system" ] || grep -q "<h1>Preview of .* on a $system machine</h1>" "$out/index$on.html" ||
    fail "the index does not say the machine is $system"
# Every finding, as the page writes it.
awk -F'\t' '$1 == "warning" || $1 == "error" { print $4 }' "$work/machine" |
    sed -e 's/\\\\/\\/g' -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' >"$work/findings"
while IFS= read -r finding; do
    grep -qF "$finding" "$out/index$on.html" || fail "the index lacks the finding: $finding"
done <"$work/findings"
for pair; do
    row "${pair%%:*}" | grep -qF "${pair#*:}" || fail "the row of ${pair%%:*} lacks \"${pair#*:}\""
done
if [ $want_status -eq 1 ]; then
    grep -q '^  HIN (locale 0439): .*no Unix locale' "$work/log" || fail "Hindi's missing Unix locale is not named"
    grep -q '^  FOS (locale 0438): .*fo_FO.UTF-8 .*can.t be made' "$work/log" || fail "Faroese's locale is not named"
fi
exit $failed
