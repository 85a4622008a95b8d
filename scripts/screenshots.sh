#!/usr/bin/env bash
# Saves a picture of the launcher's dialog in each language of the example
# package: OUTDIR/dialog-<code>.png. Wine's own desktop window draws the
# title bar. Uses build/win32/setup.exe and the demo prefix build/demo/wine;
# starts a virtual display when there is none.
#
#   scripts/screenshots.sh OUTDIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)

if ! xdpyinfo >/dev/null 2>&1; then
    exec "$top/scripts/with-display.sh" "$0" "$out"
fi

export WINEPREFIX=${WINEPREFIX:-$top/build/demo/wine} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$WINEPREFIX")"
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$top/example" "$work/package"
cp "$top/build/win32/setup.exe" "$work/package/"

# One locale of each language of the example's table.
for entry in ENG:0409 DEU:0407 FRA:040C; do
    code=${entry%%:*}
    wine reg add 'HKU\.DEFAULT\Control Panel\Desktop\ResourceLocale' /ve /d "0000${entry#*:}" /f >/dev/null
    (cd "$work/package" && wine explorer /desktop=shots,480x220 setup.exe >/dev/null 2>&1 &)
    geometry=
    for _ in $(seq 100); do
        sleep 0.2
        geometry=$(xwininfo -root -tree 2>/dev/null |
            sed -n '/"shots - Wine desktop"/,$ s/.*("setup.exe" "setup.exe") *\([0-9]*x[0-9]*+[0-9]*+[0-9]*\).*/\1/p' | head -n 1)
        [ -n "$geometry" ] && break
    done
    if [ -z "$geometry" ]; then
        echo "screenshots: the dialog for $code did not appear" >&2
        exit 1
    fi
    sleep 1  # let it paint
    # The desktop sits at the screen's origin; take the dialog with a margin.
    read -r w h x y <<<"$(echo "$geometry" | tr 'x+' '  ')"
    import -window root -crop "$((w + 16))x$((h + 16))+$((x > 8 ? x - 8 : 0))+$((y > 8 ? y - 8 : 0))" +repage "$out/dialog-$code.png"
    echo "Saved $out/dialog-$code.png"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
done
