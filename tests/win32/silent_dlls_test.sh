#!/bin/sh
# A silent run of setup.exe loads no GUI DLL: Wine's list of the DLLs each
# process loads (WINEDEBUG=+pid,+loaddll) names neither USER32, GDI32 nor
# COMCTL32 for setup.exe's process. Its other lines (setup.exe itself and
# KERNEL32) show that the list is read.
#
#   silent_dlls_test.sh SETUP_EXE EXAMPLE_DIR WORK_DIR UNINSTALL_KEY   (WINEPREFIX: the recorder prefix)
set -u
package="$3/package"
rm -rf "$package" && mkdir -p "$3" && cp -r "$2" "$package" && cp "$1" "$package/setup.exe" || exit 1
export RECORDER_LOG="$(winepath -w "$3/started.log" 2>/dev/null)"
trace="$3/loaddll.txt"
WINEDEBUG=+pid,+loaddll wine "$package/setup.exe" /s 2>"$trace"
status=$?
wine reg delete "HKLM\\$4" /f >/dev/null 2>&1
[ $status -eq 0 ] || { echo "setup.exe /s failed: $status"; exit 1; }
pid=$(grep -i -m1 'loaddll.*Loaded L".*\\\\package\\\\setup\.exe"' "$trace" | cut -d: -f1)
[ -n "$pid" ] || { echo "the trace names no setup.exe process:"; cat "$trace"; exit 1; }
loads=$(grep "^$pid:.*loaddll.*Loaded " "$trace")
echo "$loads" | grep -q -i '\\kernel32\.dll"' || { echo "no KERNEL32 in the trace of $pid:"; cat "$trace"; exit 1; }
if echo "$loads" | grep -i -E '\\(user32|gdi32|comctl32)\.dll"'; then
    echo "the silent run loaded the GUI DLLs above"
    exit 1
fi
exit 0
