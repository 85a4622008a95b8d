#!/bin/bash
# scripts/install-deps.sh against a flaky package registry. Stand-ins for
# apt-get, apt-config, dpkg, sleep, locale and localedef come first on a
# PATH that has no package tool, so every program and locale counts as
# missing; nothing is installed, no locale can be made, and no time is
# spent waiting.
#
#   install_deps_test.sh INSTALL_DEPS WORK_DIR
set -u
script=$1 work=$2
rm -rf "$work"
mkdir -p "$work/bin" "$work/etc/sources.list.d"
for tool in bash env id tr grep sed tee sort mktemp rm awk mkdir cat; do
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
    ok:*) ;;
    without-failed:?*) cat "$list" "$parts"/* >"$WORK/used" ;;
    *) echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100 ;;
    esac ;;
esac'
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
# run CASE UPDATE_FAILURES INSTALL: the script's exit status in $rc, its
# output in $work/out, the stand-ins' calls in $work/calls.
run() {
    case=$1
    rm -f "$work/calls" "$work/updates" "$work/used"
    WORK=$work UPDATE_FAILURES=$2 INSTALL=$3 PATH=$work/bin bash "$script" >"$work/out" 2>&1
    rc=$?
}

run "update fails twice" 2 ok
[ $rc -eq 0 ] || fail "exit status $rc, expected 0"
[ "$(grep -c 'apt-get update' "$work/calls")" -eq 3 ] || fail "expected 3 updates"
[ "$(grep -c '^sleep' "$work/calls")" -eq 2 ] || fail "expected a pause after each failed update"
for package in wine32 xvfb osslsigncode libxml2-utils openssl; do
    grep -q "apt-get install .* $package\b" "$work/calls" || fail "$package was not installed"
done
grep -q 'localedef -i ja_JP -f UTF-8' "$work/calls" || fail "the locale ja_JP.UTF-8 was not made"
grep -q 'could not make the locale ja_JP.UTF-8' "$work/out" || fail "a locale that can't be made went unsaid"

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

[ $status -eq 0 ] && echo "install-deps.sh: a failing update retried, a failed suite left out, a failed install named"
exit $status
