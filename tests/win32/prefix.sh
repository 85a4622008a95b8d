#!/bin/sh
# Makes a private Wine prefix for the tests, once for each WINEARCH (win32,
# win64 or Wine's default); a later run only refreshes what is installed
# into it.
#
#   prefix.sh DIR [--recorder EXE] [--drive LETTER: FOLDER] [--version VERSION] [--unmanaged]
#
# --recorder puts EXE in place of the system's rundll32.exe and notepad.exe;
# --drive maps a drive letter to a folder through the prefix's dosdevices;
# --version sets the Windows version that Wine shows (win98, winxp, win10);
# --unmanaged leaves windows to no window manager: on a display without
# one, Wine waits 2 s for a manager each time a managed window is hidden.
set -eu
prefix=$1
shift
# Without the recorder's override: Wine installs a new prefix through its
# own rundll32.exe.
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
arch=${WINEARCH:-default}
if [ "$(cat "$prefix/.ready" 2>/dev/null)" != "$arch" ]; then
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    wineboot -i
    wineserver -w
    echo "$arch" >"$prefix/.ready"
fi
while [ $# -gt 0 ]; do
    case $1 in
    --recorder)
        for f in system32/rundll32.exe system32/notepad.exe notepad.exe; do
            cp "$2" "$prefix/drive_c/windows/$f"
        done
        shift 2 ;;
    --drive)
        mkdir -p "$3"
        ln -sfn "$3" "$prefix/dosdevices/$2"
        shift 3 ;;
    --version)
        wine reg add 'HKCU\Software\Wine' /v Version /d "$2" /f >/dev/null
        wineserver -w
        shift 2 ;;
    --unmanaged)
        if ! grep -q '^"Managed"="N"' "$prefix/user.reg"; then
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
            wineserver -w
        fi
        shift ;;
    *)
        echo "prefix.sh: unknown option $1" >&2
        exit 2 ;;
    esac
done
