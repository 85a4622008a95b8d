#!/bin/bash
# scripts/install-deps.sh against a flaky package registry, and on a
# kernel that runs no 32-bit programs. Stand-ins for apt-get, apt-config,
# dpkg, sleep, locale and localedef come first on a PATH that has no
# package tool, so every program and locale counts as missing; nothing is
# installed, no locale can be made, and no time is spent waiting. 32-bit
# Wine, qemu, gcc, mount and the kernel's binfmt_misc folder are stand-ins
# too.
#
#   install_deps_test.sh INSTALL_DEPS WORK_DIR
set -u
script=$1 work=$2
rm -rf "$work"
mkdir -p "$work/bin" "$work/etc/sources.list.d"
for tool in bash env id tr grep sed tee sort mktemp rm awk mkdir cat cmp cp chmod dirname head ln; do
    ln -s "$(command -v "$tool")" "$work/bin/$tool"
done
standin() {
    printf '#!/bin/bash\n%s\n' "$2" >"$work/bin/$1"
    chmod +x "$work/bin/$1"
}
standin sudo 'exec "$@"'
standin dpkg 'echo "dpkg $*" >>"$WORK/calls"'
standin sleep 'echo "sleep $*" >>"$WORK/calls"'
standin locale 'echo C; echo POSIX'
standin localedef 'echo "localedef $*" >>"$WORK/calls"; exit 1'
standin apt-config 'echo "list='\''$WORK/etc/sources.list'\''"; echo "parts='\''$WORK/etc/sources.list.d/'\''"'
# update fails UPDATE_FAILURES times, as a registry in the middle of a sync
# does; install succeeds (ok), fails (never), or succeeds only with sources
# of its own, which it keeps in $WORK/used (without-failed).
standin apt-get '
echo "apt-get $*" >>"$WORK/calls"
case " $* " in
*" update "*)
    n=$(($(cat "$WORK/updates" 2>/dev/null || echo 0) + 1))
    echo $n >"$WORK/updates"
    if [ $n -le "$UPDATE_FAILURES" ]; then
        echo "E: Failed to fetch http://registry.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?" >&2
        exit 100
    fi ;;
*" install "*)
    parts=
    for arg; do
        case $arg in Dir::Etc::SourceParts=*) parts=${arg#*=} ;; Dir::Etc::SourceList=*) list=${arg#*=} ;; esac
    done
    case $INSTALL:$parts in
    ok:*)
        echo "$*" >>"$WORK/installed"
        case " $* " in *" qemu-user-static "*) ln -sf qemu-i386-10 "$WORK/bin/qemu-i386" ;; esac ;;
    without-failed:?*) cat "$list" "$parts"/* >"$WORK/used" ;;
    *) echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100 ;;
    esac ;;
esac'
# The kernel: 32-bit Wine starts if it runs 32-bit programs (KERNEL=i386),
# or once the emulation's entry is registered in binfmt_misc, whose entry
# then shows up as the kernel shows it (BROKEN_EMULATION: it never does).
standin wine32 '
entry=$(cat "$BINFMT_MISC/register" 2>/dev/null)
if [ "$KERNEL" = i386 ]; then exit 0; fi
if [ -z "$BROKEN_EMULATION" ] && [ "$entry" = ":qemu-i386:M::$I386_MAGIC:$I386_MASK:$I386_EMULATION/qemu-i386:F" ]; then
    printf "enabled\ninterpreter %s\n" "$I386_EMULATION/qemu-i386" >"$BINFMT_MISC/qemu-i386"
    exit 0
fi
echo "Exec format error" >&2; exit 126'
# A fresh machine has no qemu-i386 and no 32-bit gcc libraries; apt-get
# installs qemu 10 from bookworm-backports and gcc-multilib.
standin qemu-i386-10 'echo "qemu-i386 version 10.0.2"'
standin gcc '
echo "gcc $*" >>"$WORK/calls"
grep -qs gcc-multilib "$WORK/installed" || exit 1
case " $* " in *" -o /dev/null "*) ;; *) [ -z "$GCC_FAILS" ] || exit 1 ;; esac
while [ $# -gt 1 ]; do [ "$1" = -o ] && [ "$2" != /dev/null ] && : >"$2"; shift; done'
standin mount 'echo "mount $*" >>"$WORK/calls"; : >"$BINFMT_MISC/register"'
cat >"$work/etc/sources.list" <<'EOF'
deb [arch=amd64,i386] http://registry.invalid/debian bookworm main
deb http://registry.invalid/debian-security bookworm-security main
EOF
cat >"$work/etc/sources.list.d/debian.sources" <<'EOF'
Types: deb
URIs: http://registry.invalid/debian
Suites: bookworm bookworm-updates bookworm-security
Components: main

Types: deb
URIs: http://registry.invalid/debian-security
Suites: bookworm-security
Components: main
EOF

status=0
fail() {
    echo "FAIL [$case]: $1"
    sed 's/^/    /' "$work/out"
    status=1
}
# run CASE UPDATE_FAILURES INSTALL [KERNEL [BROKEN_EMULATION]]: the
# script's exit status in $rc, its output in $work/out, the stand-ins'
# calls in $work/calls. KERNEL is i386 (the default) or x86_64 alone.
run() {
    case=$1
    rm -f "$work/calls" "$work/updates" "$work/used"
    WORK=$work UPDATE_FAILURES=$2 INSTALL=$3 KERNEL=${4:-i386} BROKEN_EMULATION=${5:-} GCC_FAILS=${GCC_FAILS:-} \
        WINE32=$work/bin/wine32 BINFMT_MISC=$work/binfmt I386_EMULATION=$work/emulation \
        I386_MAGIC="$magic" I386_MASK="$mask" PATH=$work/bin bash "$script" >"$work/out" 2>&1
    rc=$?
}
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
mkdir -p "$work/binfmt"

run "update fails twice" 2 ok
[ $rc -eq 0 ] || fail "exit status $rc, expected 0"
[ "$(grep -c 'apt-get update' "$work/calls")" -eq 3 ] || fail "expected 3 updates"
[ "$(grep -c '^sleep' "$work/calls")" -eq 2 ] || fail "expected a pause after each failed update"
for package in wine32 xvfb osslsigncode libxml2-utils openssl; do
    grep -q "apt-get install .* $package\b" "$work/calls" || fail "$package was not installed"
done
grep -q 'localedef -i ja_JP -f UTF-8' "$work/calls" || fail "the locale ja_JP.UTF-8 was not made"
grep -q 'could not make the locale ja_JP.UTF-8' "$work/out" || fail "a locale that can't be made went unsaid"
[ ! -f "$work/etc/sources.list.d/bookworm-backports.sources" ] && ! grep -q 'qemu-user\|^gcc \|^mount ' "$work/calls" ||
    fail "a kernel that runs 32-bit programs got the emulation"

run "update keeps failing on one suite" 9 without-failed
[ $rc -eq 0 ] || fail "exit status $rc, expected 0"
[ "$(grep -c 'apt-get update' "$work/calls")" -eq 3 ] || fail "expected 3 updates"
[ "$(grep -c 'apt-get .*install' "$work/calls")" -eq 2 ] || fail "expected an install, then one without the failed suite"
if [ ! -f "$work/used" ] || grep -q bookworm-security "$work/used"; then
    fail "the second install did not leave out bookworm-security"
else
    grep -qx 'deb \[arch=amd64,i386\] http://registry.invalid/debian bookworm main' "$work/used" ||
        fail "the second install lost the other line of sources.list"
    grep -qx 'Suites: bookworm bookworm-updates' "$work/used" || fail "the second install lost the stanza's other suites"
    [ "$(grep -c '^URIs:' "$work/used")" -eq 1 ] || fail "the stanza left without a suite was kept"
fi

run "install fails" 9 never
[ $rc -ne 0 ] || fail "exit status 0 for an install that failed"
last=$(tail -n 1 "$work/out")
case $last in
"install-deps.sh: could not install "*osslsigncode*"retry with: "*install-deps.sh) ;;
*) fail "the last line names neither what is missing nor the command to retry: $last" ;;
esac

# A machine that runs no 32-bit programs, as new: no qemu-i386, no 32-bit
# gcc libraries, binfmt_misc not mounted, no backports in the sources.
fresh_machine() {
    rm -rf "$work/binfmt" "$work/emulation" "$work/installed" "$work/bin/qemu-i386" \
        "$work/etc/sources.list.d/bookworm-backports.sources"
    mkdir -p "$work/binfmt"
}
# sources ONE_LINE_LIST DEB822: apt's sources of the machine.
sources() {
    printf '%s' "$1" >"$work/etc/sources.list"
    printf '%s' "$2" >"$work/etc/sources.list.d/debian.sources"
}
backports=$work/etc/sources.list.d/bookworm-backports.sources

fresh_machine
sources "" "Types: deb
URIs: http://mirror.corp.invalid/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://mirror.corp.invalid/debian http://second.corp.invalid/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
"
run "a fresh machine without 32-bit programs, deb822 sources of its own mirror" 0 ok x86_64
[ $rc -eq 0 ] || fail "exit status $rc, expected 0"
[ "$(grep -v '^$' "$backports" 2>/dev/null)" = "Types: deb
URIs: http://mirror.corp.invalid/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" ] ||
    fail "bookworm-backports was not added from the machine's mirror: $(cat "$backports" 2>/dev/null)"
grep -q 'apt-get -t bookworm-backports install .*qemu-user-static' "$work/calls" || fail "qemu was not installed from bookworm-backports"
grep -q "gcc -m32 -shared .* -o $work/emulation/trapno.so .*/i386-emulation/trapno.c" "$work/calls" ||
    fail "the trap-number fix was not built"
grep -qx "exec .*qemu-i386 -E LD_PRELOAD=$work/emulation/trapno.so \"\$@\"" "$work/emulation/qemu-i386" ||
    fail "the interpreter does not preload the fix"
grep -q '^mount -t binfmt_misc' "$work/calls" || fail "binfmt_misc was not mounted"
grep -qx 'enabled' "$work/binfmt/qemu-i386" || fail "the binfmt_misc entry was not registered as expected"
grep -q '^NOTE: this kernel runs no 32-bit programs: they run under qemu-user' "$work/out" ||
    fail "the emulation went unsaid"

run "the same kernel again" 0 ok x86_64
[ $rc -eq 0 ] || fail "exit status $rc, expected 0"
! grep -q 'qemu-user-static\|-o .*trapno.so\|^mount' "$work/calls" || fail "the second run installed or built the emulation again"
grep -q '^NOTE: this kernel runs no 32-bit programs' "$work/out" || fail "the second run did not say so"

fresh_machine
sources "deb http://mirror.corp.invalid/debian-security bookworm-security main
deb [arch=amd64,i386 signed-by=/etc/apt/keyrings/corp.gpg] http://apt.corp.invalid/debian/ bookworm main contrib
" ""
run "a fresh machine with one-line sources" 0 ok x86_64
[ $rc -eq 0 ] || fail "exit status $rc, expected 0"
grep -qx 'URIs: http://apt.corp.invalid/debian/' "$backports" && grep -qx 'Signed-By: /etc/apt/keyrings/corp.gpg' "$backports" ||
    fail "bookworm-backports was not added from the one-line entry's mirror: $(cat "$backports" 2>/dev/null)"

fresh_machine
sources "deb http://mirror.corp.invalid/debian-security bookworm-security main
" "Types: deb
URIs: http://vendor.invalid/apt
Suites: nodistro
Components: main
"
run "no Debian mirror in the sources" 0 ok x86_64
[ $rc -ne 0 ] || fail "exit status 0, though no mirror was found for bookworm-backports"
[ ! -f "$backports" ] || fail "a backports source was written without a mirror: $(cat "$backports")"
grep -q 'no Debian mirror with the suite bookworm' "$work/out" && grep -q 'by hand' "$work/out" ||
    fail "the missing mirror went unexplained"

fresh_machine
sources "deb http://registry.invalid/debian bookworm main
" ""
GCC_FAILS=1 run "the trap-number fix doesn't build" 0 ok x86_64
[ $rc -ne 0 ] || fail "exit status 0, though the fix did not build"
grep -q "install-deps.sh: failed at line [0-9]*: .*gcc -m32 .*retry with: .*install-deps.sh" "$work/out" ||
    fail "the failed step went unsaid"

fresh_machine
run "an emulation that doesn't start" 0 ok x86_64 broken
[ $rc -ne 0 ] || fail "exit status 0, though 32-bit Wine does not start"
grep -q '32-bit Wine does not start, not even under' "$work/out" || fail "the failure went unexplained"

[ $status -eq 0 ] && echo "install-deps.sh: a failing update retried, a failed suite left out, a failed install named;" \
    "the emulation set up on a fresh machine that runs no 32-bit programs, once, from its own mirror;" \
    "every failure said"
exit $status
