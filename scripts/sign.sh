#!/usr/bin/env bash
# Signs a copy of setup.exe (Authenticode, SHA-256) with osslsigncode. The
# input is never changed: the signed copy is made in a temporary folder
# beside OUTPUT and renamed to OUTPUT only once signing has succeeded, so a
# failed run (a wrong password, an unreachable time-stamp server) leaves no
# OUTPUT behind.
#
#   scripts/sign.sh KEY [-readpass FILE | -askpass] [-t URL | -ts URL]...
#                   [-n NAME] [-i URL] INPUT OUTPUT
#
# KEY is one of
#   -pkcs12 FILE               a PKCS#12 file: the key and its certificates
#   -certs FILE -key FILE      a PEM certificate chain and a PEM private key
#   -pkcs11module MODULE [-pkcs11engine ENGINE] [-login] -key URI
#       (-certs FILE | -pkcs11cert URI)
#                              a key held by a token or an HSM, named by a
#                              pkcs11: URI, through its PKCS#11 module
# -readpass FILE reads the key's password or the token's PIN from FILE ("-"
# for standard input), -askpass asks for it; a password is never taken on
# the command line, where other users' process lists show it.
# -t URL time-stamps through an Authenticode time-stamp server, -ts URL
# through an RFC 3161 one; repeat either for servers to fall back to.
# -n NAME is the program name that Windows' elevation prompt shows, -i URL
# a link to more about it.
set -euo pipefail

usage() {
    echo "usage: sign.sh KEY [-readpass FILE | -askpass] [-t URL | -ts URL]... [-n NAME] [-i URL] INPUT OUTPUT" >&2
    exit 2
}

# osslsigncode's own options, sorted into those that name the key and the
# rest; whether the key is named in one of the three ways is checked below.
key_args=()
other_args=()
given=" "
while [ $# -gt 2 ]; do
    case $1 in
    -pkcs12 | -certs | -key | -pkcs11module | -pkcs11engine | -pkcs11cert)
        given+="$1 "
        key_args+=("$1" "$2"); shift 2 ;;
    -login | -askpass)
        other_args+=("$1"); shift ;;
    -readpass | -t | -ts | -n | -i)
        other_args+=("$1" "$2"); shift 2 ;;
    -pass)
        echo "sign.sh: give the password with -readpass FILE or -askpass, not on the command line" >&2
        exit 2 ;;
    *)
        echo "sign.sh: unknown option $1" >&2
        usage ;;
    esac
done
[ $# -eq 2 ] || usage
input=$1
output=$2

has() { [[ $given == *" $1 "* ]]; }
if has -pkcs12; then
    ! has -certs && ! has -key && ! has -pkcs11module
elif has -pkcs11module; then
    has -key && { has -certs || has -pkcs11cert; }
else
    has -certs && has -key && ! has -pkcs11engine && ! has -pkcs11cert
fi || {
    echo "sign.sh: name the key in one way: -pkcs12 FILE; -certs FILE -key FILE;" \
         "or -pkcs11module MODULE -key URI with -certs FILE or -pkcs11cert URI" >&2
    exit 2
}
if [ "$(head -c 2 "$input" 2>/dev/null)" != MZ ]; then
    echo "sign.sh: $input is not a Windows program" >&2
    exit 1
fi
if [ -e "$output" ] && [ "$input" -ef "$output" ]; then
    echo "sign.sh: the output is the input; sign a copy" >&2
    exit 1
fi

work=$(mktemp -d "$(dirname "$output")/.sign.XXXXXX")
trap 'rm -rf "$work"' EXIT
osslsigncode sign "${key_args[@]}" ${other_args[@]+"${other_args[@]}"} -h sha256 \
    -in "$input" -out "$work/signed.exe" >&2
chmod --reference="$input" "$work/signed.exe"
mv -f "$work/signed.exe" "$output"
echo "signed $output"
