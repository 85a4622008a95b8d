#!/bin/sh
# setup.exe is rebuilt from a copy of the sources, in another folder and
# at another time, and must come out byte for byte the same, stamped with
# SOURCE_DATE_EPOCH.
#
#   rebuild_test.sh SETUP_EXE SOURCE_DIR TOOLCHAIN_FILE WORK_DIR   (SOURCE_DATE_EPOCH: the build's)
set -eu
exe=$1 src=$2 toolchain=$3 work=$4
rm -rf "$work"
mkdir -p "$work/src"
(cd "$src" && tar -c --exclude=./build --exclude=./.git .) | tar -x -C "$work/src"
cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF >"$work/configure.log" ||
    { cat "$work/configure.log"; exit 1; }
cmake --build "$work/build" --target setup >"$work/build.log" || { cat "$work/build.log"; exit 1; }
stamp=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%a %b %e %H:%M:%S %Y' | tr -s ' ')
shown=$(TZ=UTC0 i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^Time\/Date[[:space:]]*//p' | tr -s ' ')
if [ "$shown" != "$stamp" ]; then
    echo "setup.exe is stamped '$shown', not with SOURCE_DATE_EPOCH ($SOURCE_DATE_EPOCH, '$stamp')"
    exit 1
fi
if ! cmp "$exe" "$work/build/setup.exe"; then
    echo "the rebuild in $work differs from $exe"
    exit 1
fi
echo "rebuilt in $work: the same $(wc -c <"$exe") bytes, stamped $stamp"
rm -rf "$work"
