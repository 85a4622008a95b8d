#!/bin/sh
# Runs a command under a Unix locale, in a wineserver of its own: Wine takes
# the UI language and the ANSI code page from the locale (ja_JP gives 932),
# and a server left from another locale would keep the old ones. A locale
# the system lacks is compiled from glibc's sources into LOCALES_DIR; where
# that fails too, the run is skipped for want of it: exit 77, which CTest
# shows as Skipped, or where CI is set (install-deps.sh makes the locales)
# exit 1, a failure (want.sh).
#
#   in_locale.sh LOCALE LOCALES_DIR COMMAND...     (e.g. ja_JP, or C)
set -u
locale=$1
dir=$2
shift 2
if [ "$locale" != C ] && [ "$(LC_ALL=$locale.UTF-8 locale charmap 2>/dev/null)" != UTF-8 ]; then
    if [ ! -f "$dir/$locale.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$dir" && localedef -i "$locale" -f UTF-8 "$dir/$locale.UTF-8" >/dev/null 2>&1
    fi
    if [ ! -f "$dir/$locale.UTF-8/LC_CTYPE" ]; then
        . "$(dirname "$0")/want.sh"
        skip_for_want_of "$*" "the locale $locale.UTF-8, which is missing here and can't be made (scripts/install-deps.sh makes it)"
    fi
    export LOCPATH="$dir"
fi
wineserver -k 2>/dev/null
wineserver -w
LANG=$locale.UTF-8 LC_ALL= "$@"
status=$?
wineserver -k 2>/dev/null
wineserver -w
exit $status
