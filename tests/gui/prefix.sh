#!/bin/sh
# Makes the GUI tests' Wine prefix with the Win32 tests' prefix.sh, the
# recorder in place of rundll32.exe and notepad.exe, and windows that no
# window manager manages: on a display without one, Wine waits 2 s for a
# manager each time a managed window is hidden.
#
#   prefix.sh PREFIX RECORDER_EXE
set -eu
sh "$(dirname "$0")/../win32/prefix.sh" "$1" --recorder "$2"
if ! grep -q '^"Managed"="N"' "$1/user.reg"; then
    export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
fi
