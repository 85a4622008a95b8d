#!/bin/sh
# scripts/release.sh twice, into other build and dist folders: the same zip,
# byte for byte, which SHA256SUMS verifies. It is named with the version of
# setup.exe's version record and holds setup.exe and nlscheck.exe for 32-bit
# Windows, a Linux nlscheck that runs and is no sanitizer build, the preview
# script, and the example, the README and the docs as committed.
#
#   release_test.sh RELEASE_SH SOURCE_DIR WORK_DIR
set -u
release=$1 src=$2 work=$3
rm -rf "$work" && mkdir -p "$work" || exit 1
for n in 1 2; do
    "$release" "$work/dist$n" "$work/build$n" >"$work/log$n" 2>&1 || { cat "$work/log$n"; exit 1; }
done
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}
name=setup-2.3.0.0
zip=$work/dist1/$name.zip
[ -f "$zip" ] || { echo "FAIL: no $name.zip:"; ls "$work/dist1"; exit 1; }
cmp "$zip" "$work/dist2/$name.zip" || fail "two builds gave different zips"
(cd "$work/dist1" && sha256sum -c SHA256SUMS) || fail "SHA256SUMS does not verify"

unzip -q "$zip" -d "$work/unpacked" || exit 1
top=$work/unpacked/$name
[ "$(ls "$work/unpacked")" = "$name" ] || fail "the zip holds more than $name/: $(ls "$work/unpacked")"
for file in setup.exe nlscheck.exe; do
    i686-w64-mingw32-objdump -f "$top/$file" 2>/dev/null | grep -q 'file format pei-i386' ||
        fail "$file is no 32-bit Windows program"
done
"$top/nlscheck" --machine "$src/example" >"$work/machine" || fail "nlscheck fails on the example"
grep -q "$(printf 'locale\t0411\tENG\tJPN\t932')" "$work/machine" || fail "nlscheck does not read the example"
! grep -q __asan_init "$top/nlscheck" || fail "nlscheck is the sanitizer build"
[ -x "$top/nlscheck" ] && [ -x "$top/scripts/preview.sh" ] || fail "nlscheck or preview.sh may not run"
# The example and the docs as committed, and the README.
(cd "$top" && find example docs -type f | LC_ALL=C sort) >"$work/shipped"
if git -C "$src" rev-parse --git-dir >/dev/null 2>&1; then
    git -C "$src" ls-files example docs | LC_ALL=C sort | diff - "$work/shipped" ||
        fail "the bundle's example and docs are not the committed files (above)"
fi
echo README.md >>"$work/shipped"
while IFS= read -r file; do
    cmp -s "$src/$file" "$top/$file" || fail "$file differs from the sources'"
done <"$work/shipped"
exit $failed
