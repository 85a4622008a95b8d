#!/usr/bin/env bash
# Builds everything and runs every test: the platform-free code natively
# (with sanitizers), each fuzzer for a short while, then the Windows programs
# under Wine on a virtual display.
#
# setup.exe is always built 32-bit, with its import and size checks. Its
# Wine tests run as 32-bit programs where the machine can run 32-bit Wine;
# on a kernel that runs no 32-bit programs the same tests are built as
# 64-bit programs and run in 64-bit prefixes instead, and the script says so.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native
fuzz/run.sh "${FUZZ_SECONDS:-15}"

cmake --preset win32 >/dev/null
cmake --build --preset win32
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    scripts/with-display.sh ctest --preset win32
else
    echo "NOTE: this machine runs no 32-bit programs (32-bit Wine fails to start);"
    echo "      the Wine tests run as 64-bit programs in 64-bit prefixes instead."
    ctest --preset win32 -R '^(import_check|instruction_check|header_check|rebuild_test)$'
    cmake --preset win64 >/dev/null
    cmake --build --preset win64
    scripts/with-display.sh ctest --preset win64
fi
