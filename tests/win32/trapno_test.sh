#!/bin/sh
# Where 32-bit programs run under qemu-user's emulation, the trap-number fix
# that install-deps.sh preloads into them is needed and works: fault_test
# fails without it, each fault reported as an illegal instruction
# (c000001d), and passes with it. A kernel that runs 32-bit programs itself
# has no emulation to check: the run says so and is skipped.
#
#   trapno_test.sh FAULT_TEST_EXE WORK_DIR   (WINEPREFIX: a test prefix)
set -u
exe=$1 work=$2
entry=/proc/sys/fs/binfmt_misc/qemu-i386
if ! { [ -f $entry ] && grep -qx enabled $entry; }; then
    echo "SKIPPED: this kernel runs 32-bit programs itself; there is no emulation to check"
    exit 77
fi
mkdir -p "$work"
status=0
# qemu started directly, not through the entry's interpreter: no fix. Wine's
# loader would start itself again, through the interpreter, unless told not to.
# Its crash, the stack overflow's, starts no debugger.
WINELOADERNOEXEC=1 WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d" timeout 60 \
    qemu-i386 /usr/lib/wine/wine "$exe" >"$work/without.txt" 2>&1 &&
    { echo "FAIL: fault_test passed without the fix: is it still needed?"; status=1; }
grep -q 'got c000001d' "$work/without.txt" ||
    { echo "FAIL: without the fix, no fault came as an illegal instruction:"; sed 's/^/    /' "$work/without.txt"; status=1; }
wine "$exe" >"$work/with.txt" 2>&1 ||
    { echo "FAIL: fault_test failed with the fix:"; sed 's/^/    /' "$work/with.txt"; status=1; }
[ $status -eq 0 ] && echo "under emulation, faults come as Windows reports them only with the trap-number fix"
exit $status
