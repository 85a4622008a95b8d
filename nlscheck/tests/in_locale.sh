#!/bin/sh
# Runs a command under a Unix locale, in a wineserver of its own: Wine takes
# its ANSI code page from the locale, and a server left from another locale
# would keep the old one. A locale the system lacks is compiled from glibc's
# sources into LOCALES_DIR; without it the command runs in the C locale.
#
#   in_locale.sh LOCALE LOCALES_DIR COMMAND...     (e.g. ja_JP, or C)
set -u
locale=$1
dir=$2
shift 2
if [ "$locale" != C ] && ! locale -a 2>/dev/null | grep -qix "$locale\.utf-\{0,1\}8"; then
    if [ ! -f "$dir/$locale.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$dir" && localedef -i "$locale" -f UTF-8 "$dir/$locale.UTF-8" >/dev/null 2>&1
    fi
    export LOCPATH="$dir"
fi
wineserver -k 2>/dev/null
LANG=$locale.UTF-8 LC_ALL= "$@"
status=$?
wineserver -k 2>/dev/null
exit $status
