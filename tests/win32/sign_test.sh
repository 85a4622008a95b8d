#!/bin/sh
# scripts/sign.sh on setup.exe with a throwaway self-signed code-signing
# certificate, once from a PKCS#12 file and once from a PEM key and
# certificate: each signature verifies as SHA-256, removing it gives back
# the unsigned bytes, and the input is never changed; a wrong password and
# an output that is the input leave nothing behind. Then the signed
# setup.exe installs silently under Wine: the recorder sees the installer's
# command and the uninstall entry is written. Without osslsigncode or
# openssl the test is skipped for want of them (want.sh).
#
#   sign_test.sh SIGN_SH SETUP_EXE WORK_DIR UNINSTALL_KEY   (WINEPREFIX: the recorder prefix)
set -u
. "$(dirname "$0")/../want.sh"
for tool in osslsigncode openssl; do
    command -v $tool >/dev/null ||
        skip_for_want_of sign_test "$tool (Debian's $tool package; scripts/install-deps.sh installs it)"
done
sign=$1
setup=$2
work=$3
key="HKLM\\$4"
rm -rf "$work" && mkdir -p "$work" || exit 1
cd "$work" || exit 1
status=0
fail() { printf "FAIL: %s\n" "$*"; status=1; }

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
    -subj "/CN=KAVRO Test Publisher" -addext keyUsage=critical,digitalSignature \
    -addext extendedKeyUsage=codeSigning 2>/dev/null || exit 1
printf 'throwaway\n' >password
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout file:password || exit 1
cp "$setup" unsigned.exe || exit 1

for kind in pkcs12 pem; do
    case $kind in
    pkcs12) set -- -pkcs12 cert.p12 -readpass password ;;
    pem) set -- -certs cert.pem -key key.pem ;;
    esac
    "$sign" "$@" -n "KAVRO Example Package" unsigned.exe signed-$kind.exe >/dev/null 2>sign.err ||
        { fail "[$kind] signing failed:"; cat sign.err; continue; }
    cmp -s "$setup" unsigned.exe || fail "[$kind] the input was changed"
    verified=$(osslsigncode verify -CAfile cert.pem -in signed-$kind.exe 2>&1) ||
        { fail "[$kind] the signature does not verify:"; printf "%s\n" "$verified"; }
    printf "%s\n" "$verified" | grep -q '^Message digest algorithm *: SHA256' ||
        fail "[$kind] the signature's digest is not SHA-256"
    osslsigncode remove-signature -in signed-$kind.exe -out removed-$kind.exe >/dev/null 2>&1 &&
        cmp unsigned.exe removed-$kind.exe ||
        fail "[$kind] removing the signature does not give back the unsigned bytes"
done

printf 'wrong\n' >wrong
"$sign" -pkcs12 cert.p12 -readpass wrong unsigned.exe wrong.exe >/dev/null 2>&1 &&
    fail "signing with a wrong password succeeded"
[ -e wrong.exe ] && fail "a failed signing left its output"
"$sign" -certs cert.pem -key key.pem unsigned.exe ./unsigned.exe >/dev/null 2>&1 &&
    fail "signing the input in place succeeded"
cmp -s "$setup" unsigned.exe || fail "signing the input in place changed it"
ls -a | grep -q '^\.sign\.' && fail "signing left a temporary folder"

# The signed program installs: a package of one language.
mkdir -p package/NLS
cp signed-pkcs12.exe package/setup.exe || exit 1
printf 'ENG 0\r\n' >package/NLS/LANGID.TXT
printf '[Proj]\r\nName=Tool\r\nINF=tool.inf\r\n' >package/NLS/PROJ.ENG
printf '[Translation]\r\nRemove=Tool goes\r\n' >package/NLS/STR.ENG
RECORDER_LOG=$(winepath -w "$work/started.log" 2>/dev/null)
export RECORDER_LOG
wine reg delete "$key" /f >/dev/null 2>&1
(cd package && timeout 20 wine setup.exe /s)
rc=$?
[ $rc -eq 0 ] || fail "the signed setup.exe /s ended with $rc, expected 0"
target="InstallHinfSection DefaultInstall 132 $(winepath -w "$work/package" 2>/dev/null)\\tool.inf"
# setup.exe doesn't wait for the installer it starts: give the recorder
# time to write its line.
for _ in $(seq 100); do
    grep -qF "$target" started.log 2>/dev/null && break
    sleep 0.1
done
grep -qF "$target" started.log 2>/dev/null ||
    { fail "the installer was not started with ...$target; started:"; cat started.log 2>/dev/null; }
wine reg query "$key" /v DisplayName 2>/dev/null | grep -q 'REG_SZ *Tool' ||
    fail "the uninstall entry's DisplayName was not written"
wine reg delete "$key" /f >/dev/null 2>&1
[ $status -eq 0 ] && echo "signed from PKCS#12 and PEM: verified, removable to the same bytes; the signed setup.exe installs"
exit $status
