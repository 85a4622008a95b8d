#!/bin/sh
# setup.exe's manifest is well-formed XML and asks what it should: an
# administrator, the common controls 6 and DPI awareness, each element in
# its namespace, and never two namespace declarations on one element (that
# crashes the loader of Windows XP SP2). A copy with two declarations on
# one element must fail the last check. Without xmllint the test is
# skipped for want of it (want.sh).
#
#   manifest_test.sh MANIFEST WORK_DIR
set -u
. "$(dirname "$0")/../want.sh"
command -v xmllint >/dev/null ||
    skip_for_want_of manifest_test "xmllint (Debian's libxml2-utils; scripts/install-deps.sh installs it)"
manifest=$1
status=0
fail() { echo "$manifest: $1"; status=1; }

xmllint --noout "$manifest" || fail "not well-formed XML"

# An element by its local name and namespace.
el() { echo "*[local-name()='$1' and namespace-uri()='$2']"; }
v1=urn:schemas-microsoft-com:asm.v1
v3=urn:schemas-microsoft-com:asm.v3
has() {
    [ "$(xmllint --xpath "boolean($2)" "$manifest" 2>/dev/null)" = true ] || fail "$1"
}
root="/$(el assembly $v1)"
has "no requireAdministrator" \
    "$root/$(el trustInfo urn:schemas-microsoft-com:asm.v2)//*[local-name()='requestedExecutionLevel'][@level='requireAdministrator']"
has "no dependency on the common controls 6" \
    "$root/$(el dependency $v1)/$(el dependentAssembly $v1)/$(el assemblyIdentity $v1)[@type='win32'][@name='Microsoft.Windows.Common-Controls'][@version='6.0.0.0'][@publicKeyToken='6595b64144ccf1df'][@processorArchitecture='*']"
settings="$root/$(el application $v3)/$(el windowsSettings $v3)"
has "no dpiAware true in the 2005 WindowsSettings" \
    "$settings/$(el dpiAware http://schemas.microsoft.com/SMI/2005/WindowsSettings)[normalize-space()='true']"
has "no dpiAwareness PerMonitorV2 in the 2016 WindowsSettings" \
    "$settings/$(el dpiAwareness http://schemas.microsoft.com/SMI/2016/WindowsSettings)[starts-with(normalize-space(), 'PerMonitorV2,')]"

# Each tag on a line of its own, then any with two declarations.
two_declarations() { tr '\n' ' ' <"$1" | tr '<' '\n' | grep -E 'xmlns[:=].*xmlns[:=]'; }
two_declarations "$manifest" && fail "an element with two namespace declarations (above)"
mkdir -p "$2"
sed 's|<windowsSettings>|<windowsSettings xmlns="urn:schemas-microsoft-com:asm.v3" xmlns:ws="http://schemas.microsoft.com/SMI/2005/WindowsSettings">|' \
    "$manifest" >"$2/two.manifest"
two_declarations "$2/two.manifest" >/dev/null || fail "the check missed two declarations on one element"
exit $status
