#!/usr/bin/env bash
# Builds setup.exe and runs it on the example package under Wine, in a
# private 32-bit prefix (build/demo/wine32), then says what happened.
#
#   ./run-example.sh [--lang LOCALE] [--resource-locale HEX] [--windows VERSION] [--silent]
#
# The language is chosen as on Windows 2000 and later: from the user's UI
# language, which Wine takes from the Unix locale. --lang sets it (default
# de_DE.UTF-8, German; en_US.UTF-8 English, fr_FR.UTF-8 French; the locale
# is compiled into build/demo/locale if the system lacks it).
# --resource-locale sets the value by which Windows 95, 98 and ME name
# their UI language instead (0407, 0409, 040C...); where it is there it
# decides. --windows sets the version Wine shows (win98 makes setup.exe
# start the Windows 9x installer, setupx.dll; default win10).
# Without a display the run is silent (setup.exe /s). With one, pictures
# of the dialog in each language go to build/demo/shots (scripts/preview.sh,
# with its index.html) and the dialog is shown for you to answer.
set -eEuo pipefail
# Any step that fails says which, and how to retry.
args=("$@")
trap 'echo "run-example.sh: failed at line $LINENO: $BASH_COMMAND (status $?); retry with: $0${args[*]:+ ${args[*]}}" >&2' ERR
cd "$(dirname "$0")"
top=$PWD
lang=de_DE.UTF-8
resource_locale=
windows=win10
silent=
while [ $# -gt 0 ]; do
    case $1 in
    --lang) lang=$2; shift 2 ;;
    --resource-locale) resource_locale=$2; shift 2 ;;
    --windows) windows=$2; shift 2 ;;
    --silent) silent=1; shift ;;
    *) echo "usage: $0 [--lang LOCALE] [--resource-locale HEX] [--windows VERSION] [--silent]" >&2; exit 2 ;;
    esac
done
scripts/install-deps.sh
xdpyinfo >/dev/null 2>&1 || silent=1
cmake --preset win32 >/dev/null
cmake --build --preset win32

demo=$top/build/demo
mkdir -p "$demo"
if LANG=$lang LC_ALL= locale 2>&1 >/dev/null | grep -q 'Cannot set'; then
    mkdir -p "$demo/locale"
    [ -f "$demo/locale/$lang/LC_CTYPE" ] ||
        localedef -i "${lang%%.*}" -f "${lang#*.}" "$demo/locale/$lang" 2>/dev/null ||
        echo "NOTE: cannot make the locale $lang; Wine will use English."
    export LOCPATH=$demo/locale
fi
export LANG=$lang LC_ALL=
export WINEPREFIX=$demo/wine32 WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating a Wine prefix in $WINEPREFIX (once, about 20 s)..."
    wineboot -i >/dev/null 2>&1
fi
# A new locale needs a new Wine session.
wineserver -k 2>/dev/null || true
wine reg add 'HKCU\Software\Wine' /v Version /d "$windows" /f >/dev/null
resource_key='HKU\.DEFAULT\Control Panel\Desktop\ResourceLocale'
wine reg delete "$resource_key" /f >/dev/null 2>&1 || true
if [ -n "$resource_locale" ]; then
    wine reg add "$resource_key" /ve /d "$(printf '%08s' "$resource_locale" | tr ' ' 0)" /f >/dev/null
fi
# Start from a machine on which the package isn't installed.
wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\KAVRO' /f >/dev/null 2>&1 || true
wine reg delete 'HKLM\SOFTWARE\KAVRO Example' /f >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX/drive_c/windows/KAVRO"

package=$demo/package
rm -rf "$package"
cp -r example "$package"
cp build/win32/setup.exe "$package/"
acp=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP 2>/dev/null | sed -n 's/.*REG_SZ *//p' | tr -d '\r')
echo "Package folder: $package"
if grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
    echo "32-bit Wine runs the 32-bit setup.exe under qemu-user's emulation: this kernel runs no 32-bit programs"
else
    echo "32-bit Wine runs the 32-bit setup.exe"
fi
echo "Windows version: $windows; Unix locale: $lang (ANSI code page ${acp:-?})"
if [ -n "$resource_locale" ]; then
    echo "ResourceLocale: $resource_locale"
fi

trace=$demo/trace.txt
if [ -n "$silent" ]; then
    echo "Running: setup.exe /s"
    (cd "$package" && WINEDEBUG=-all,trace+process wine setup.exe /s 2>"$trace")
else
    scripts/preview.sh "$package" "$demo/shots"
    echo "Running: setup.exe (answer the dialog)"
    (cd "$package" && WINEDEBUG=-all,trace+process wine setup.exe 2>"$trace")
    echo "Waiting for what setup.exe started to end (close Notepad, if it opened, to go on)..."
fi
wineserver -w

echo
echo "What setup.exe did:"
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\KAVRO'
# No entry (the dialog refused) is an answer too.
name=$(wine reg query "$key" /v DisplayName 2>/dev/null | sed -n 's/.*REG_SZ *//p' | tr -d '\r' || true)
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
printf '    Message (REG_BINARY, %d bytes): %b\n' $((${#message} / 2)) "$(echo "${message%00}" | sed 's/../\\x&/g')" | iconv -f "CP${acp:-1252}" -t UTF-8
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
