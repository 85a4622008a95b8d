#!/usr/bin/env bash
# Installs what building and testing need, when it is missing: the
# mingw-w64 cross compilers (32-bit for the product, 64-bit for the tests'
# second route), 32- and 64-bit Wine, a virtual display, CMake, Ninja,
# GoogleTest's sources, clang with libFuzzer, ImageMagick for pictures,
# fonts for every script of the example package, and the Unix locale of
# each of its languages.
set -euo pipefail

# Wine takes the system's code page from the Unix locale it runs in: the
# tests and pictures of the example run each language under one of these.
locales="en_US de_DE fr_FR pl_PL ru_RU el_GR tr_TR he_IL ar_SA lt_LT vi_VN th_TH ja_JP zh_CN ko_KR zh_TW"

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
# The fonts of the dialog pictures: Wine's Marlett for the title bar's
# buttons, Liberation Sans for Latin, Greek and Cyrillic letters, Noto Sans
# for Vietnamese, DejaVu Sans for Hebrew and Arabic, TLWG's Loma for Thai
# (Noto's Thai font has no Latin letters), WenQuanYi Micro Hei for Chinese,
# Japanese and Korean.
[ -f /usr/share/wine/fonts/marlett.ttf ] || need+=(fonts-wine)
[ -d /usr/share/fonts/truetype/liberation ] || need+=(fonts-liberation)
[ -d /usr/share/fonts/truetype/dejavu ] || need+=(fonts-dejavu-core)
[ -f /usr/share/fonts/truetype/noto/NotoSans-Regular.ttf ] || need+=(fonts-noto-core)
[ -f /usr/share/fonts/truetype/tlwg/Loma.ttf ] || need+=(fonts-thai-tlwg)
[ -f /usr/share/fonts/truetype/wqy/wqy-microhei.ttc ] || need+=(fonts-wqy-microhei)

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
if [ ${#need[@]} -gt 0 ]; then
    echo "Installing: ${need[*]}"
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${need[@]}" >/dev/null
fi

have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')
for l in $locales; do
    if ! grep -qx "$(echo "$l" | tr 'A-Z' 'a-z').utf-\?8" <<<"$have"; then
        echo "Generating the locale $l.UTF-8"
        $sudo localedef -i "$l" -f UTF-8 "$l.UTF-8"
    fi
done
