#!/usr/bin/env bash
# Builds the release bundle: DIST_DIR/setup-<version>.zip, holding the
# 32-bit setup.exe, nlscheck for Windows (nlscheck.exe) and for Linux
# (x86-64), the example package, the README and docs, and the preview
# script; beside it SHA256SUMS. The version is the one of setup.exe's
# version record (res/setup.rc). Two runs on one commit give the same zip,
# byte for byte: the programs are built with fixed times and no build
# folder's name in them, and the zip holds its files in one order, with
# the commit's time and fixed permissions.
#
#   scripts/release.sh [DIST_DIR [BUILD_DIR]]     (default dist, build/release)
#
# SOURCE_DATE_EPOCH, if set, is the time; else the last commit's (without
# git, the time of CMakeLists.txt, as in the build).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dist=$(mkdir -p "${1:-$top/dist}" && cd "${1:-$top/dist}" && pwd)
build=$(mkdir -p "${2:-$top/build/release}" && cd "${2:-$top/build/release}" && pwd)

# The version record names it four times; they must agree.
rc=$top/res/setup.rc
version=$(sed -n 's/^ *FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\) *$/\1.\2.\3.\4/p' "$rc")
for form in "PRODUCTVERSION ${version//./,}" "\"FileVersion\", \"${version//./, }\\\\0\"" \
            "\"ProductVersion\", \"${version//./, }\\\\0\""; do
    grep -q "$form" "$rc" || { echo "release: $rc does not say $form" >&2; exit 1; }
done

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$top" log -1 --format=%ct 2>/dev/null || stat -c %Y "$top/CMakeLists.txt")
fi
export SOURCE_DATE_EPOCH

# Release builds, without tests and sanitizers; the source and build
# folders' names are kept out of the programs.
flags="-ffile-prefix-map=$top=. -ffile-prefix-map=$build=."
configure() {
    cmake -S "$top" -B "$build/$1" -G Ninja -DBUILD_TESTING=OFF -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS=-s "${@:2}" >"$build/$1.log" || { cat "$build/$1.log" >&2; exit 1; }
}
configure win32 -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel
# The Linux nlscheck carries its C++ library: it runs where another is.
configure linux -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS="-s -static-libstdc++ -static-libgcc"
echo "Building setup.exe and nlscheck.exe (32-bit Windows), nlscheck (Linux), version $version..."
cmake --build "$build/win32" --target setup nlscheck >"$build/win32.log" || { cat "$build/win32.log" >&2; exit 1; }
cmake --build "$build/linux" --target nlscheck >"$build/linux.log" || { cat "$build/linux.log" >&2; exit 1; }

name=setup-$version
stage=$build/stage
rm -rf "$stage"
mkdir -p "$stage/$name/scripts"
cp "$build/win32/setup.exe" "$build/win32/nlscheck/nlscheck.exe" "$build/linux/nlscheck/nlscheck" \
    "$top/README.md" "$stage/$name/"
# The example and the docs as committed (without pictures a preview left
# there), or as they are in a source archive.
if git -C "$top" rev-parse --git-dir >/dev/null 2>&1; then
    git -C "$top" ls-files example docs
else
    (cd "$top" && find example docs -type f)
fi | while IFS= read -r file; do
    mkdir -p "$stage/$name/$(dirname "$file")"
    cp "$top/$file" "$stage/$name/$file"
done
cp "$top/scripts/preview.sh" "$top/scripts/with-display.sh" "$stage/$name/scripts/"
# Programs and scripts may run; the rest is read.
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
chmod 755 "$stage/$name"/{setup.exe,nlscheck.exe,nlscheck} "$stage/$name"/scripts/*.sh
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

# zip -X leaves out the owner and the extra times; the zip's times are
# local ones, here UTC's.
zip=$dist/$name.zip
rm -f "$zip"
(cd "$stage" && find "$name" -type f | LC_ALL=C sort | TZ=UTC0 zip -X -D -q -9 "$zip" -@)
(cd "$dist" && sha256sum "$name.zip" >SHA256SUMS)
echo "Saved $zip ($(wc -c <"$zip") bytes) and $dist/SHA256SUMS:"
cat "$dist/SHA256SUMS"
