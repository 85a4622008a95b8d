#!/bin/sh
# Runs a command under a Unix locale, in a wineserver of its own: Wine takes
# the UI language and the ANSI code page from the locale (ja_JP gives 932),
# and a server left from another locale would keep the old ones. Categories
# may name locales of their own after a comma: LC_MESSAGES gives Wine the
# user's UI language, LC_CTYPE the ANSI code page ("de_DE,LC_MESSAGES=ru_RU"
# is a Russian reader on a German machine). A locale the system lacks is
# compiled from glibc's sources into LOCALES_DIR, with the run's others, as
# glibc then looks there only; where that fails too, the run is skipped for
# want of it: exit 77, which CTest shows as Skipped, or where CI is set
# (install-deps.sh makes the locales) exit 1, a failure (want.sh).
#
#   in_locale.sh LOCALE[,CATEGORY=LOCALE...] LOCALES_DIR COMMAND...     (e.g. ja_JP, or C)
set -u
spec=$1
dir=$2
shift 2
locale=${spec%%,*}
categories=
[ "$spec" = "$locale" ] || categories=$(echo "${spec#*,}" | tr ',' ' ')
names=$locale
for category in $categories; do
    names="$names ${category#*=}"
done

missing=
for name in $names; do
    if [ "$name" != C ] && [ "$(LC_ALL=$name.UTF-8 locale charmap 2>/dev/null)" != UTF-8 ]; then
        missing=$name
    fi
done
if [ -n "$missing" ]; then
    for name in $names; do
        [ "$name" != C ] || continue
        if [ ! -f "$dir/$name.UTF-8/LC_CTYPE" ]; then
            mkdir -p "$dir" && localedef -i "$name" -f UTF-8 "$dir/$name.UTF-8" >/dev/null 2>&1
        fi
        if [ ! -f "$dir/$name.UTF-8/LC_CTYPE" ]; then
            . "$(dirname "$0")/want.sh"
            skip_for_want_of "$*" "the locale $name.UTF-8, which is missing here and can't be made (scripts/install-deps.sh makes it)"
        fi
    done
    export LOCPATH="$dir"
fi
settings=
for category in $categories; do
    settings="$settings ${category%%=*}=${category#*=}.UTF-8"
done
wineserver -k 2>/dev/null
wineserver -w
# shellcheck disable=SC2086 # the settings are words of their own
env LANG="$locale.UTF-8" LC_ALL= $settings "$@"
status=$?
wineserver -k 2>/dev/null
wineserver -w
exit $status
