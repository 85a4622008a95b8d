#!/usr/bin/env bash
# Builds the fuzzers (the fuzz preset, clang) and runs each for the given
# number of seconds, default 60, one after the other. Each starts from its
# seed corpus fuzz/corpus/<target>; inputs found on the way collect in
# build/fuzz/corpus/<target>, failing inputs in build/fuzz/findings/<target>.
# Exits non-zero if any target fails. Installs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
case $seconds in
    '' | *[!0-9]*) echo "usage: fuzz/run.sh [seconds per target]" >&2; exit 2 ;;
esac
if ! command -v clang++ >/dev/null; then
    echo "fuzz/run.sh: clang++ not found; the fuzzers need clang with libFuzzer (Debian: apt-get install clang)" >&2
    exit 2
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

status=0
for target in hexparse langtable cmdline; do
    corpus=build/fuzz/corpus/$target
    findings=build/fuzz/findings/$target
    log=build/fuzz/$target.log
    mkdir -p "$corpus" "$findings"
    if build/fuzz/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$findings/" "$corpus" fuzz/corpus/$target >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
    fi
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    printf '%-10s %-6s %s s  %s execs  cov: %s  ft: %s  corpus: %s files\n' \
        "$target" "$result" "$seconds" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$(ls "$corpus" | wc -l)"
    if [ "$result" != ok ]; then
        tail -n 30 "$log" >&2
        echo "input kept in $findings/, log in $log" >&2
    fi
done
exit $status
