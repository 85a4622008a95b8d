#!/usr/bin/env bash
# Builds setup.exe and runs it on the example package under Wine, in a
# private prefix (build/demo/wine), then says what happened.
#
#   ./run-example.sh [--locale HEX] [--silent]
#
# --locale sets the system's resource locale first (default 0407, German;
# 0409 English, 040C French; anything else falls back to the default).
# Without a display the run is silent (setup.exe /s). With one, pictures
# of the dialog in each language go to build/demo/shots and the dialog is
# shown for you to answer.
set -euo pipefail
cd "$(dirname "$0")"
top=$PWD
locale=0407
silent=
while [ $# -gt 0 ]; do
    case $1 in
    --locale) locale=$2; shift 2 ;;
    --silent) silent=1; shift ;;
    *) echo "usage: $0 [--locale HEX] [--silent]" >&2; exit 2 ;;
    esac
done
xdpyinfo >/dev/null 2>&1 || silent=1

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 >/dev/null

demo=$top/build/demo
mkdir -p "$demo"
export WINEPREFIX=$demo/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating a Wine prefix in $WINEPREFIX (once, about 20 s)..."
    wineboot -i >/dev/null 2>&1
fi
wine reg add 'HKU\.DEFAULT\Control Panel\Desktop\ResourceLocale' /ve /d "$(printf '%08s' "$locale" | tr ' ' 0)" /f >/dev/null
# Start from a machine on which the package isn't installed.
wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\KAVRO' /f >/dev/null 2>&1 || true
wine reg delete 'HKLM\SOFTWARE\KAVRO Example' /f >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX/drive_c/windows/KAVRO"

package=$demo/package
rm -rf "$package"
cp -r example "$package"
cp build/win32/setup.exe "$package/"
echo "Package folder: $package"
echo "Resource locale: $locale"

trace=$demo/trace.txt
if [ -n "$silent" ]; then
    echo "Running: setup.exe /s"
    (cd "$package" && WINEDEBUG=-all,trace+process wine setup.exe /s 2>"$trace")
else
    scripts/screenshots.sh "$demo/shots"
    echo "Running: setup.exe (answer the dialog)"
    (cd "$package" && WINEDEBUG=-all,trace+process wine setup.exe 2>"$trace")
    echo "Waiting for what setup.exe started to end (close Notepad, if it opened, to go on)..."
fi
wineserver -w

echo
echo "What setup.exe did:"
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\KAVRO'
name=$(wine reg query "$key" /v DisplayName 2>/dev/null | sed -n 's/.*REG_SZ *//p' | tr -d '\r')
if [ -z "$name" ]; then
    echo "  nothing: no uninstall entry was written (the dialog was refused?)"
    exit 0
fi
for f in "$package"/NLS/PROJ.*; do
    if tr -d '\r' <"$f" | grep -qxF "Name=$name"; then
        echo "  language: ${f##*.} (NLS/${f##*/NLS/})"
    fi
done
echo "  uninstall entry: $key"
echo "    DisplayName (REG_SZ): $name"
message=$(wine reg query "$key" /v Message 2>/dev/null | sed -n 's/.*REG_BINARY *//p' | tr -d '\r')
printf '    Message (REG_BINARY, %d bytes): %b\n' $((${#message} / 2)) "$(echo "${message%00}" | sed 's/../\\x&/g')" | iconv -f CP1252 -t UTF-8
echo "  started:"
grep 'CreateProcessInternalW app (null) cmdline' "$trace" |
    grep -iE 'rundll32|notepad' |
    sed -e 's/.*cmdline L"//' -e 's/"$//' -e 's/\\"/"/g' -e 's/\\\\/\\/g' -e 's/^/    /' || true
echo
echo "What the INF installer installed:"
ls "$WINEPREFIX/drive_c/windows/KAVRO" 2>/dev/null | sed 's/^/  C:\\windows\\KAVRO\\/' || echo "  (no files)"
wine reg query 'HKLM\SOFTWARE\KAVRO Example' 2>/dev/null | tr -d '\r' | grep REG_ | sed 's/^ */  HKLM\\SOFTWARE\\KAVRO Example: /' || true
if wine uninstaller --list 2>/dev/null | tr -d '\r' | grep -F "$name" >/dev/null; then
    echo "  listed among installed programs as \"$name\""
fi
