#!/bin/sh
# A read error in the language table ends setup.exe quietly: no dialog,
# nothing written, nothing started. The table is a link to a file that
# opens, has a size, and fails every read: the link speed of the loopback
# interface, which Linux refuses to give (EINVAL) on every machine that
# mounts /sys. Where no such file is found the test says so and reports
# itself skipped (exit 77), never passed.
#
#   read_error_test.sh SETUP_EXE WORK_DIR UNINSTALL_KEY   (WINEPREFIX: the recorder prefix)
set -u
source=""
for f in /sys/class/net/lo/speed /sys/class/net/lo/duplex; do
    if [ -s "$f" ] && ! cat "$f" >/dev/null 2>&1; then source=$f; break; fi
done
if [ -z "$source" ]; then
    echo "SKIPPED: no file here opens and then fails to read (is /sys mounted?)"
    exit 77
fi
package="$2/package"
rm -rf "$package" && mkdir -p "$package/NLS"
cp "$1" "$package/setup.exe"
printf '[Proj]\r\nName=Tool\r\nINF=tool.inf\r\n' >"$package/NLS/PROJ."
ln -s "$source" "$package/NLS/LANGID.TXT"
log="$2/started.log"
export RECORDER_LOG="$(winepath -w "$log" 2>/dev/null)"
key="HKLM\\$3"
status=0
for args in "" "/s"; do
    rm -f "$log"
    wine reg delete "$key" /f >/dev/null 2>&1
    (cd "$package" && timeout 20 wine setup.exe $args)
    rc=$?
    case $rc in
    3) ;;
    124) echo "FAIL [$args]: setup.exe still ran after 20 s (a dialog?)"; status=1 ;;
    *) echo "FAIL [$args]: exit code $rc, expected the framework's quiet end (3)"; status=1 ;;
    esac
    if wine reg query "$key" /v DisplayName >/dev/null 2>&1; then
        echo "FAIL [$args]: the uninstall entry was written"; status=1
    fi
    if [ -s "$log" ]; then
        echo "FAIL [$args]: something was started:"; cat "$log"; status=1
    fi
done
[ $status -eq 0 ] && echo "read error on $source: quiet end, nothing written or started"
exit $status
