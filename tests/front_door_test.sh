#!/bin/bash
# The README's two commands never stop without a word: where a step fails,
# run-tests.sh and run-example.sh say which and how to retry. Each runs in
# a copy of the project's top folder whose install-deps.sh, or cmake,
# fails silently.
#
#   front_door_test.sh SOURCE_DIR WORK_DIR
set -u
source=$1 work=$2
rm -rf "$work"
mkdir -p "$work/bin"
status=0

# try CASE SCRIPT FAILING: runs a copy of SCRIPT in which FAILING (deps or
# cmake) fails without a word; the output in $work/out.
try() {
    local case=$1 script=$2 failing=$3 tree=$work/tree
    rm -rf "$tree"
    mkdir -p "$tree/scripts"
    cp "$source/$script" "$tree/"
    if [ "$failing" = deps ]; then
        printf '#!/bin/sh\nexit 1\n' >"$tree/scripts/install-deps.sh"
    else
        printf '#!/bin/sh\nexit 0\n' >"$tree/scripts/install-deps.sh"
    fi
    printf '#!/bin/sh\n[ "$1" = --version ] || exit 2\n' >"$work/bin/cmake"
    printf '#!/bin/sh\nexit 1\n' >"$work/bin/xdpyinfo"
    chmod +x "$tree/scripts/install-deps.sh" "$work/bin/cmake" "$work/bin/xdpyinfo"
    PATH=$work/bin:$PATH bash "$tree/$script" >"$work/out" 2>&1
    local rc=$?
    if [ $rc -eq 0 ]; then
        echo "FAIL [$case]: exit status 0"
        status=1
    elif ! grep -q "$4" "$work/out" || ! grep -q "retry with: .*$script" "$work/out"; then
        echo "FAIL [$case]: the failed step or the command to retry went unsaid:"
        sed 's/^/    /' "$work/out"
        status=1
    fi
}

try "run-tests.sh, set-up fails" run-tests.sh deps 'stage "install-deps" failed'
try "run-tests.sh, build fails" run-tests.sh cmake 'stage "native build" failed'
try "run-example.sh, set-up fails" run-example.sh deps 'failed at line [0-9]*: scripts/install-deps.sh'
try "run-example.sh, build fails" run-example.sh cmake 'failed at line [0-9]*: cmake --preset win32'

[ $status -eq 0 ] && echo "run-tests.sh and run-example.sh: a failed set-up or build names its step and the command to retry"
exit $status
