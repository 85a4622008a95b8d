#!/usr/bin/env bash
# Installs what building and testing need, when it is missing: the
# mingw-w64 cross compiler, 32- and 64-bit Wine, a virtual display, CMake,
# Ninja, GoogleTest's sources, clang with libFuzzer, ImageMagick for
# pictures, fonts for every script of the example package, the Unix locale
# of each of its languages, and the tools that sign and check setup.exe.
#
# setup.exe and its tests are 32-bit programs, run by 32-bit Wine. On a
# kernel that runs no 32-bit code it sets up qemu-user's emulation of i386
# programs (below), which changes a kernel setting: the binfmt_misc entry
# qemu-i386.
set -eEuo pipefail
# Any step that fails says which, and how to retry.
trap 'echo "install-deps.sh: failed at line $LINENO: $BASH_COMMAND (status $?); retry with: ${sudo:+sudo }$0" >&2' ERR
sudo=

# Wine takes the system's code page from the Unix locale it runs in: the
# tests and pictures of the example run each language under one of these.
locales="en_US de_DE fr_FR pl_PL ru_RU el_GR tr_TR he_IL ar_SA lt_LT vi_VN th_TH ja_JP zh_CN ko_KR zh_TW"

need=()
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(mingw-w64 g++-mingw-w64-i686)
command -v wine >/dev/null && [ -e /usr/lib/wine/wineserver32 ] || need+=(wine wine32)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xdotool >/dev/null || need+=(xdotool)
command -v xdpyinfo >/dev/null || need+=(x11-utils)
command -v import >/dev/null || need+=(imagemagick)
command -v fc-list >/dev/null || need+=(fontconfig)
command -v zip >/dev/null && command -v unzip >/dev/null || need+=(zip unzip)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v clang++ >/dev/null || need+=(clang)
compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null || need+=(libclang-rt-14-dev)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -d /usr/share/i18n/locales ] || need+=(locales)
# Signing and checking setup.exe and its manifest.
command -v osslsigncode >/dev/null || need+=(osslsigncode)
command -v xmllint >/dev/null || need+=(libxml2-utils)
command -v openssl >/dev/null || need+=(openssl)
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

# The package registry is at times briefly inconsistent (an index file
# replaced while it is fetched), so the update is tried three times; what
# it fetched is used all the same. Sets failed_suites to the suites whose
# lists still failed.
failed_suites=
update_lists() {
    local log try
    failed_suites=
    log=$(mktemp)
    for try in 1 2 3; do
        if $sudo apt-get update -q 2>&1 | tee "$log"; then
            rm -f "$log"
            return
        fi
        if [ $try -lt 3 ]; then
            echo "apt-get update failed (try $try of 3); trying again in 15 s"
            sleep 15
        fi
    done
    failed_suites=$(sed -n 's|.*Failed to fetch [^ ]*/dists/\([^/ ]*\)/.*|\1|p' "$log" | sort -u | tr '\n' ' ')
    rm -f "$log"
    echo "NOTE: apt-get update failed 3 times; going on with the lists it fetched"
}

# Copies apt's sources into DIR (sources.list, sources.list.d/) without
# the suites in failed_suites: a stanza or line left with no suite goes.
sources_without_failed() {
    local dir=$1 list parts f out
    eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"
    mkdir -p "$dir/sources.list.d"
    : >"$dir/sources.list"
    for f in "$list" "$parts"*.list; do
        [ -f "$f" ] || continue
        out=$dir/sources.list.d/${f##*/}
        [ "$f" != "$list" ] || out=$dir/sources.list
        awk -v failed="$failed_suites" '
            BEGIN { split(failed, names, " "); for (i in names) drop[names[i]] = 1 }
            { line = $0; sub(/\[[^]]*\]/, "", line); split(line, words, " ") }
            !(words[1] ~ /^deb/ && words[3] in drop)' "$f" >"$out"
    done
    for f in "$parts"*.sources; do
        [ -f "$f" ] || continue
        awk -v failed="$failed_suites" '
            BEGIN { RS = ""; FS = "\n"; split(failed, names, " "); for (i in names) drop[names[i]] = 1 }
            {
                stanza = ""; kept = 1
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^Suites:/) {
                        n = split(substr($i, 8), suites, " "); $i = "Suites:"; kept = 0
                        for (j = 1; j <= n; j++) if (!(suites[j] in drop)) { $i = $i " " suites[j]; kept++ }
                    }
                    stanza = stanza $i "\n"
                }
                if (kept) printf "%s\n", stanza
            }' "$f" >"$dir/sources.list.d/${f##*/}"
    done
}

apt_install() {
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get "$@" install -y -q "${need[@]}"
}

# Installs the packages in need, with apt-get's options OPTIONS.
install_needed() {
    echo "Installing: ${need[*]}"
    update_lists
    apt_install "$@" && return
    # A suite whose lists failed can leave the others' packages out of
    # step (an amd64 package newer than its i386 twin): without it the
    # rest is one consistent set, though without that suite's updates.
    if [ -n "$failed_suites" ]; then
        echo "NOTE: installing again without ${failed_suites% }, whose lists failed to download;"
        echo "      run apt-get update and apt-get upgrade once the registry answers."
        local sources status=0
        sources=$(mktemp -d)
        sources_without_failed "$sources"
        apt_install "$@" -o Dir::Etc::SourceList="$sources/sources.list" \
                         -o Dir::Etc::SourceParts="$sources/sources.list.d" || status=$?
        rm -rf "$sources"
        [ $status -ne 0 ] || return 0
    fi
    echo "install-deps.sh: could not install ${need[*]}; once the package registry answers, retry with: ${sudo:+sudo }$0" >&2
    exit 1
}

if [ ${#need[@]} -gt 0 ]; then
    $sudo dpkg --add-architecture i386
    install_needed
fi

have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')
for l in $locales; do
    if ! grep -qx "$(echo "$l" | tr 'A-Z' 'a-z').utf-\?8" <<<"$have"; then
        echo "Generating the locale $l.UTF-8"
        # The tests that need it say so: each is skipped, or fails under CI.
        $sudo localedef -i "$l" -f UTF-8 "$l.UTF-8" ||
            echo "NOTE: could not make the locale $l.UTF-8; the tests in it will be skipped"
    fi
done

# 32-bit programs. Some kernels run no 32-bit code at all (IA-32 emulation
# turned off): there 32-bit Wine fails with "Exec format error", and every
# i386 program is run under qemu-user's emulation instead, registered with
# binfmt_misc. bookworm's qemu 7.2 can't run Wine (it ignores
# MAP_FIXED_NOREPLACE); the qemu 10 of bookworm-backports can. qemu reports
# every fault with trap number -1, which Wine takes for an illegal
# instruction, so i386-emulation/trapno.c, built here, is preloaded into
# each emulated program to put back the number the kernel reports. Where an
# earlier run set it up, this one brings it up to date.
here=$(cd "$(dirname "$0")" && pwd)
# The test of this script points these elsewhere.
wine32=${WINE32:-/usr/lib/wine/wine}
binfmt=${BINFMT_MISC:-/proc/sys/fs/binfmt_misc}
emulation=${I386_EMULATION:-/usr/local/lib/i386-emulation}
entry=$binfmt/qemu-i386
interpreter=$emulation/qemu-i386

emulation_registered() {
    [ -f "$entry" ] && grep -qx enabled "$entry" && grep -qx "interpreter $interpreter" "$entry"
}

# Adds bookworm-backports to apt's sources, from the machine's own Debian
# mirror, unless it is there already.
add_backports() {
    local list parts mirror uri key
    eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"
    if cat "$list" "$parts"* 2>/dev/null | grep -q bookworm-backports; then
        return
    fi
    mirror=$("$here/debian-mirror.sh")
    if [ -z "$mirror" ]; then
        echo "install-deps.sh: this kernel runs no 32-bit programs, and qemu-user 10 comes from bookworm-backports," >&2
        echo "  but apt's sources name no Debian mirror with the suite bookworm to take it from. Add it by hand" >&2
        echo "  (a file ${parts}bookworm-backports.sources with Types: deb, URIs: <your Debian mirror>," >&2
        echo "  Suites: bookworm-backports, Components: main), then run $0 again." >&2
        exit 1
    fi
    uri=${mirror%%$'\t'*} key=${mirror#*$'\t'}
    {
        printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\n' "$uri"
        [ -z "$key" ] || printf 'Signed-By: %s\n' "$key"
    } | $sudo tee "${parts}bookworm-backports.sources" >/dev/null
    echo "Added bookworm-backports from $uri to apt's sources"
}

set_up_i386_emulation() {
    need=()
    local version
    # A fresh machine has no qemu-i386 at all.
    version=$( { qemu-i386 --version 2>/dev/null || true; } | sed -n '1s/^qemu-i386 version \([0-9]*\).*/\1/p')
    [ "${version:-0}" -ge 10 ] || need+=(qemu-user-static)
    echo 'int x;' | gcc -m32 -shared -x c -o /dev/null - 2>/dev/null || need+=(gcc-multilib)
    if [ ${#need[@]} -gt 0 ]; then
        add_backports
        install_needed -t bookworm-backports
    fi

    local qemu script
    qemu=$(command -v qemu-i386)
    script=$(printf '#!/bin/sh\n# i386 programs under qemu-user, with the trap-number fix (install-deps.sh)\nexec %s -E LD_PRELOAD=%s "$@"\n' \
                    "$qemu" "$emulation/trapno.so")
    if emulation_registered && [ "$(cat "$interpreter")" = "$script" ] &&
       cmp -s "$here/i386-emulation/trapno.c" "$emulation/trapno.c"; then
        return
    fi
    $sudo mkdir -p "$emulation"
    $sudo gcc -m32 -shared -fPIC -O2 -o "$emulation/trapno.so" "$here/i386-emulation/trapno.c"
    $sudo cp "$here/i386-emulation/trapno.c" "$emulation/trapno.c"
    echo "$script" | $sudo tee "$interpreter" >/dev/null
    $sudo chmod 755 "$interpreter"
    if [ ! -f "$binfmt/register" ] && ! $sudo mount -t binfmt_misc binfmt_misc "$binfmt"; then
        echo "install-deps.sh: this kernel runs no 32-bit programs, and binfmt_misc, which would send them to qemu, can't be mounted at $binfmt" >&2
        exit 1
    fi
    [ ! -f "$entry" ] || echo -1 | $sudo tee "$entry" >/dev/null
    # i386 ELF programs and libraries; F: the interpreter is opened now, so
    # it is found from any mount namespace and root.
    printf ':qemu-i386:M::%s:%s:%s:F\n' \
        '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
        '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
        "$interpreter" | $sudo tee "$binfmt/register" >/dev/null
}

if emulation_registered || ! "$wine32" --version >/dev/null 2>&1; then
    set_up_i386_emulation
    if ! "$wine32" --version >/dev/null 2>&1; then
        echo "install-deps.sh: 32-bit Wine does not start, not even under qemu-user's emulation ($interpreter): the Wine tests can't run" >&2
        exit 1
    fi
    echo "NOTE: this kernel runs no 32-bit programs: they run under qemu-user's emulation (binfmt_misc entry qemu-i386; to undo: echo -1 >$entry)"
fi
