#!/bin/sh
# Makes the launcher check's Wine prefix once, and puts the recorder in
# place of rundll32.exe and notepad.exe (which lives in both the system
# folder and the Windows folder).
#
#   prefix.sh PREFIX RECORDER_EXE
#
# The prefix is made without the check's DLL overrides: Wine installs a new
# prefix through its own rundll32.exe.
set -eu
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi
windows="$WINEPREFIX/drive_c/windows"
for program in system32/rundll32.exe system32/notepad.exe notepad.exe; do
    cp "$2" "$windows/$program"
done
