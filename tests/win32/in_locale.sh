#!/bin/sh
# Runs a Windows program under Wine in a Unix locale, from which Wine takes
# the system's code page (ja_JP.UTF-8 gives 932). The prefix's wineserver
# is stopped before and after the run, so that no Wine process started in
# another locale serves it, and none of its own serves the next test.
#
#   in_locale.sh LOCALE PROGRAM [ARGUMENTS...]
set -u
if [ "$(LC_ALL=$1 locale charmap 2>/dev/null)" != UTF-8 ]; then
    echo "[  SKIPPED ] the locale $1 is missing here (scripts/install-deps.sh makes it)"
    exit 0
fi
export LANG="$1" LC_ALL=
shift
wineserver -k 2>/dev/null && wineserver -w
wine "$@"
status=$?
wineserver -k 2>/dev/null && wineserver -w
exit $status
