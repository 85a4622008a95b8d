#!/bin/sh
# The Windows tests run the program that ships: setup.exe is a 32-bit
# program, and 32-bit Wine runs it here, natively or under qemu-user's
# emulation (scripts/install-deps.sh sets that up where the kernel runs no
# 32-bit programs). Says which, and runs setup.exe /s on a small package to
# see it write its uninstall entry. Where 32-bit Wine doesn't start, the run
# is skipped for want of it, which fails under CI (want.sh).
#
#   route_check.sh SETUP_EXE WORK_DIR UNINSTALL_KEY   (WINEPREFIX: the recorder prefix;
#                                                      WINE32: 32-bit Wine's loader)
set -u
. "$(dirname "$0")/../want.sh"
setup=$1 work=$2 key="HKLM\\$3"
wine32=${WINE32:-/usr/lib/wine/wine}

pe=$(od -An -tu4 -j60 -N4 "$setup" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$setup" | tr -d ' ')
if [ "$machine" != 014c ]; then
    echo "FAIL: $setup is not a 32-bit x86 program (PE machine $machine, not 014c)"
    exit 1
fi
if ! "$wine32" --version >/dev/null 2>&1; then
    skip_for_want_of "the shipped setup.exe" "32-bit Wine ($wine32 does not start; scripts/install-deps.sh sets it up)"
fi
entry=/proc/sys/fs/binfmt_misc/qemu-i386
if [ -f $entry ] && grep -qx enabled $entry; then
    route="under emulation ($(qemu-i386 --version | head -n 1), $(sed -n 's/^interpreter //p' $entry))"
else
    route="natively"
fi

package=$work/package
rm -rf "$package" && mkdir -p "$package/NLS" && cp "$setup" "$package/setup.exe" || exit 1
printf 'ENG 0\r\n' >"$package/NLS/LANGID.TXT"
printf '[Proj]\r\nName=Route check\r\nINF=route.inf\r\n' >"$package/NLS/PROJ.ENG"
export RECORDER_LOG="$(winepath -w "$work/started.log" 2>/dev/null)"
wine reg delete "$key" /f >/dev/null 2>&1
(cd "$package" && wine setup.exe /s)
name=$(wine reg query "$key" /v DisplayName 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
wine reg delete "$key" /f >/dev/null 2>&1
if [ "$name" != "Route check" ]; then
    echo "FAIL: the shipped setup.exe, run by 32-bit Wine $route, wrote no uninstall entry"
    exit 1
fi
echo "32-bit Windows programs run here $route; the shipped setup.exe ran and wrote its uninstall entry"
