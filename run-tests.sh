#!/usr/bin/env bash
# Builds everything and runs every test: the platform-free code natively
# (with sanitizers), each fuzzer for a short while, then the Windows
# programs under Wine on a virtual display: the shipped 32-bit setup.exe
# and the 32-bit test programs in 32-bit prefixes (and one 64-bit prefix),
# on every machine. Where the kernel runs no 32-bit programs,
# install-deps.sh has set up their emulation; route_check says which way
# they ran. At the end, the time each stage took.
set -eEuo pipefail
# A step that fails outside a stage says so too.
trap 'echo "run-tests.sh: failed at line $LINENO: $BASH_COMMAND (status $?); retry with: $0" >&2' ERR
cd "$(dirname "$0")"

stages=()
stage_started=$SECONDS
# stage NAME COMMAND...: runs the command and notes its time under NAME.
stage() {
    local name=$1 start=$SECONDS
    shift
    local status=0 note=
    "$@" || status=$?
    [ $status -eq 0 ] || note=", failed"
    stages+=("$(printf '%-22s %4d s%s' "$name" $((SECONDS - start)) "$note")")
    if [ $status -ne 0 ]; then
        echo "run-tests.sh: the stage \"$name\" failed (status $status); retry with: $0" >&2
        exit $status
    fi
}
print_times() {
    [ ${#stages[@]} -gt 0 ] || return 0
    echo
    echo "Time by stage:"
    printf '  %s\n' "${stages[@]}"
    printf '  %-22s %4d s\n' "all" $((SECONDS - stage_started))
}
trap print_times EXIT

stage "install-deps" scripts/install-deps.sh
stage "native build" eval 'cmake --preset native >/dev/null && cmake --build --preset native'
stage "native tests" ctest --preset native
stage "fuzzers" fuzz/run.sh "${FUZZ_SECONDS:-15}"
stage "win32 build" eval 'cmake --preset win32 >/dev/null && cmake --build --preset win32'
stage "Wine tests" scripts/with-display.sh ctest --preset win32
