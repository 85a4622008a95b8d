# Sourced by the shell tests: skip_for_want_of WHO WHAT ends the run as a
# skip of WHO for want of WHAT, something the project's scripts install or
# start: exit 77, which CTest shows as Skipped, or where CI is set exit 1,
# a failure. The test programs decide alike (testutil.h's WantStatus).
skip_for_want_of() {
    if [ -n "${CI:-}" ]; then
        echo "FAILED under CI: $1 was skipped for want of $2, which the project's scripts provide"
        exit 1
    fi
    echo "SKIPPED: $1, for want of $2"
    exit 77
}
