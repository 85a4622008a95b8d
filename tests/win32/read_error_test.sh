#!/bin/sh
# A read error in the language table ends setup.exe quietly: no dialog,
# nothing written, nothing started. The error comes from a file the Linux
# kernel fails to read (EIO); the table is a link to it.
#
#   read_error_test.sh SETUP_EXE WORK_DIR     (WINEPREFIX: the recorder prefix)
set -u
source=""
for f in /sys/devices/software/power/autosuspend_delay_ms /sys/devices/*/power/autosuspend_delay_ms; do
    if [ -e "$f" ] && ! cat "$f" >/dev/null 2>&1; then source=$f; break; fi
done
if [ -z "$source" ]; then
    echo "no file here fails to read; skipped"
    exit 0
fi
package="$2/package"
rm -rf "$package" && mkdir -p "$package/NLS"
cp "$1" "$package/setup.exe"
printf '[Proj]\r\nName=Tool\r\nINF=tool.inf\r\n' >"$package/NLS/PROJ."
ln -s "$source" "$package/NLS/LANGID.TXT"
log="$2/started.log"
export RECORDER_LOG="$(winepath -w "$log" 2>/dev/null)"
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\KAVRO'
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
[ $status -eq 0 ] && echo "read error: quiet end, nothing written or started"
exit $status
