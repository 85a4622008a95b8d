#!/usr/bin/env bash
# Builds everything and runs every test: the platform-free code natively
# (with sanitizers), each fuzzer for a short while, then the Windows programs
# under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native
fuzz/run.sh "${FUZZ_SECONDS:-15}"

cmake --preset win32 >/dev/null
cmake --build --preset win32
scripts/with-display.sh ctest --preset win32
