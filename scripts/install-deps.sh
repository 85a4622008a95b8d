#!/usr/bin/env bash
# Installs what building and testing need, when it is missing: the
# mingw-w64 cross compilers (32-bit for the product, 64-bit for the tests'
# second route), 32- and 64-bit Wine, a virtual display, CMake, Ninja,
# GoogleTest's sources, clang with libFuzzer, ImageMagick for pictures.
set -euo pipefail

need=()
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(mingw-w64 g++-mingw-w64-i686)
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64)
command -v wine >/dev/null && [ -e /usr/lib/wine/wineserver32 ] || need+=(wine wine32)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xdotool >/dev/null || need+=(xdotool)
command -v xdpyinfo >/dev/null || need+=(x11-utils)
command -v import >/dev/null || need+=(imagemagick)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v clang++ >/dev/null || need+=(clang)
compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null || need+=(libclang-rt-14-dev)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -d /usr/share/i18n/locales ] || need+=(locales)
[ ${#need[@]} -eq 0 ] && exit 0

echo "Installing: ${need[*]}"
sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo dpkg --add-architecture i386
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${need[@]}" >/dev/null
