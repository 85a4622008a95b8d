#!/bin/sh
# What CTest is told of a skip, with and without CI: the test programs'
# RunAllTests, tests/in_locale.sh with a locale that can't be made,
# scripts/with-display.sh with an Xvfb that never answers, and
# route_check.sh where 32-bit Wine doesn't start: a CI run in which the
# shipped setup.exe did not run fails.
#
#   skip_test.sh SKIP_TEST_EXE IN_LOCALE_SH WITH_DISPLAY_SH ROUTE_CHECK_SH SETUP_EXE WORK_DIR
#                                                              (WINEPREFIX: a test prefix)
set -u
exe=$1 in_locale=$2 with_display=$3 route_check=$4 setup=$5 work=$6
rm -rf "$work" && mkdir -p "$work"
status=0
# expect STATUS CI COMMAND...: the command exits STATUS with CI set to CI.
expect() {
    want=$1 ci=$2
    shift 2
    CI=$ci "$@" >"$work/out" 2>&1
    got=$?
    if [ $got -ne "$want" ]; then
        echo "FAIL: exit status $got, expected $want, from CI='$ci' $*"
        sed 's/^/    /' "$work/out"
        status=1
    fi
}
# skips NAME...: the disabled tests Skips.DISABLED_NAME.
skips() {
    filter=
    for name; do filter="$filter${filter:+:}Skips.DISABLED_$name"; done
    wine "$exe" --gtest_also_run_disabled_tests --gtest_filter="$filter"
}

expect 0 true skips Passes
grep -q '^\[  PASSED  \] 1 test' "$work/out" || { echo "FAIL: the passing test did not run"; status=1; }
expect 77 "" skips ForWantOfADisplay
expect 1 true skips ForWantOfADisplay
grep -q 'Skips.DISABLED_ForWantOfADisplay was skipped for want of a display' "$work/out" ||
    { echo "FAIL: CI's failure does not name the test and its want"; status=1; }
expect 77 "" skips ForTheMachine
expect 77 true skips ForTheMachine
expect 1 "" skips AfterAFailure
expect 1 "" skips ForTheMachine AfterAFailure
expect 1 true skips ForTheMachine ForWantOfADisplay

# A locale that glibc has no source for can't be made.
expect 77 "" sh "$in_locale" xx_XX "$work/locale" true
expect 1 true sh "$in_locale" xx_XX "$work/locale" true
grep -q 'for want of the locale xx_XX.UTF-8' "$work/out" || { echo "FAIL: in_locale.sh does not name the locale"; status=1; }

mkdir -p "$work/bin"
printf '#!/bin/sh\necho "Fatal server error: no screens found"\nexit 1\n' >"$work/bin/Xvfb"
chmod +x "$work/bin/Xvfb"
expect 1 "" env -u DISPLAY PATH="$work/bin:$PATH" bash "$with_display" true
grep -q 'no screens found' "$work/out" || { echo "FAIL: with-display.sh does not say why"; status=1; }

# A kernel that runs no 32-bit programs, without the emulation.
printf '#!/bin/sh\necho "Exec format error" >&2\nexit 126\n' >"$work/bin/wine32"
chmod +x "$work/bin/wine32"
expect 77 "" env WINE32="$work/bin/wine32" sh "$route_check" "$setup" "$work/route" "SOFTWARE\\KAVRO skip test"
expect 1 true env WINE32="$work/bin/wine32" sh "$route_check" "$setup" "$work/route" "SOFTWARE\\KAVRO skip test"
grep -q 'the shipped setup.exe was skipped for want of 32-bit Wine' "$work/out" ||
    { echo "FAIL: CI's failure does not say that the shipped setup.exe did not run"; status=1; }

[ $status -eq 0 ] && echo "skips: 77, or under CI a failure for what the project provides; failures win"
exit $status
