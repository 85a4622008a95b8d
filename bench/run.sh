#!/usr/bin/env bash
# Prints the launcher's figures; asserts nothing. Run on demand, not by CI.
#   - the size of build/win32/setup.exe and the DLLs it imports;
#   - the wall time of a silent run under Wine, as a ratio to a minimal
#     Win32 program built and started the same way, in the same run;
#   - the time from start to the dialog being shown under Wine, as a ratio
#     to a minimal Win32 program that shows a dialog from a template;
#   - the native parse throughput of the language table at 1 MB and 10 MB,
#     and how the time grows between the two.
#
#   bench/run.sh [runs]     runs of each program under Wine, default 21
#
# Wine runs in a private prefix (build/bench/wine) on a virtual display.
# Its rundll32.exe is the minimal program, so the installer the launcher
# starts ends at once and no run leaves work behind for the next one. One
# wineserver serves all runs, so that none of them pays for starting it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${BENCH_ON_DISPLAY:-}" ]; then
    BENCH_ON_DISPLAY=1 exec scripts/with-display.sh "$0" "$@"
fi
top=$PWD
runs=${1:-21}
out=$top/build/bench
mkdir -p "$out"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

[ -f build/win32/build.ninja ] || cmake --preset win32 >/dev/null
cmake --build --preset win32 --target setup >/dev/null
# A copy, measured and run throughout: other builds may replace the original.
exe=$out/setup.exe
cp build/win32/setup.exe "$exe"

# The yardsticks, built as setup.exe is; the driver that times the dialogs.
cross=(i686-w64-mingw32-g++-posix -Os -ffunction-sections -fdata-sections -fno-exceptions -fno-rtti
       -static -s -Wl,--gc-sections)
"${cross[@]}" -mwindows bench/minimal.cpp -o "$out/minimal.exe"
i686-w64-mingw32-windres bench/minidialog.rc -O coff -o "$out/minidialog.res"
"${cross[@]}" -mwindows bench/minidialog.cpp "$out/minidialog.res" -o "$out/minidialog.exe"
"${cross[@]}" bench/dialogtime.cpp -o "$out/dialogtime.exe"

echo "== Size"
printf '  setup.exe       %6d bytes (budget 65536, goal 40960)\n' "$(stat -c %s "$exe")"
printf '  minimal.exe     %6d bytes\n' "$(stat -c %s "$out/minimal.exe")"
printf '  minidialog.exe  %6d bytes\n' "$(stat -c %s "$out/minidialog.exe")"
echo "  setup.exe imports: $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')"

# The prefix is made without the rundll32.exe override: Wine installs a new
# prefix through rundll32.exe and would be left half-made.
export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.bench-ready" ]; then
    echo "  (creating the Wine prefix, once...)"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.bench-ready"
fi
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
cp "$out/minimal.exe" "$WINEPREFIX/drive_c/windows/system32/rundll32.exe"
wine reg add 'HKU\.DEFAULT\Control Panel\Desktop\ResourceLocale' /ve /d 00000407 /f >/dev/null
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\KAVRO'
wine reg delete "$key" /f >/dev/null 2>&1 || true
export WINEDLLOVERRIDES="mscoree,mshtml=;rundll32.exe=n"

package=$out/package
rm -rf "$package"
cp -r example "$package"
cp "$exe" "$out/minimal.exe" "$out/minidialog.exe" "$package/"

echo "== Silent run under Wine ($runs runs each, alternating, median)"
# Milliseconds of one start, from the package folder, by full path.
timed() {
    local start=$EPOCHREALTIME
    (cd "$package" && wine "$package/$1" /s >/dev/null 2>&1) || true
    local end=$EPOCHREALTIME
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }'
}
for _ in 1 2; do timed minimal.exe >/dev/null; timed setup.exe >/dev/null; done
: >"$out/minimal.ms"
: >"$out/setup.ms"
for _ in $(seq "$runs"); do
    timed minimal.exe >>"$out/minimal.ms"
    timed setup.exe >>"$out/setup.ms"
done
m=$(median <"$out/minimal.ms")
s=$(median <"$out/setup.ms")
printf '  minimal.exe /s  %7.1f ms  (range %s..%s)\n' "$m" "$(sort -n "$out/minimal.ms" | head -1)" "$(sort -n "$out/minimal.ms" | tail -1)"
printf '  setup.exe /s    %7.1f ms  (range %s..%s)\n' "$s" "$(sort -n "$out/setup.ms" | head -1)" "$(sort -n "$out/setup.ms" | tail -1)"
echo "  ratio           $(ratio "$s" "$m")  (goal 1.10 or less)"
name=$(wine reg query "$key" /v DisplayName 2>/dev/null | sed -n 's/.*REG_SZ *//p' | tr -d '\r' || true)
echo "  (setup.exe wrote the uninstall entry \"${name:-nothing}\")"
wine reg delete "$key" /f >/dev/null 2>&1 || true

echo "== Start to dialog shown under Wine ($runs runs each, alternating, median)"
# The driver runs inside Wine: it starts each program, waits for a visible
# window of that process and closes it, which cancels the launcher's dialog.
folder="Z:$(echo "$package" | tr / '\\')"
(cd "$package" && wine "$out/dialogtime.exe" 2 "$folder" minidialog.exe setup.exe >/dev/null 2>&1) || true
# Into a file, not a pipe: Wine's own processes may inherit the output and
# outlive the run.
(cd "$package" && wine "$out/dialogtime.exe" "$runs" "$folder" minidialog.exe setup.exe \
    >"$out/dialog.raw" 2>/dev/null) || true
tr -d '\r' <"$out/dialog.raw" >"$out/dialog.ms"
for program in minidialog.exe setup.exe; do
    awk -v p="$program" '$1 == p && $2 != "-" { print $2 }' "$out/dialog.ms" >"$out/$program.ms"
done
md=$(median <"$out/minidialog.exe.ms")
sd=$(median <"$out/setup.exe.ms")
missed=$(awk '$2 == "-"' "$out/dialog.ms" | wc -l)
printf '  minidialog.exe  %7.1f ms  (%d runs)\n' "${md:-0}" "$(wc -l <"$out/minidialog.exe.ms")"
printf '  setup.exe       %7.1f ms  (%d runs)\n' "${sd:-0}" "$(wc -l <"$out/setup.exe.ms")"
if [ -n "$md" ] && [ -n "$sd" ]; then
    echo "  ratio           $(ratio "$sd" "$md")  (goal 1.15 or less)"
fi
[ "$missed" -eq 0 ] || echo "  ($missed runs showed no window within 5 s)"
name=$(wine reg query "$key" /v DisplayName 2>/dev/null | sed -n 's/.*REG_SZ *//p' | tr -d '\r' || true)
echo "  (closing the dialog cancelled it: uninstall entry \"${name:-none}\")"

echo "== Language table parse, native (launcher_core, -O2)"
native=$out/native
cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build "$native" --target launcher_core >/dev/null
c++ -std=c++17 -O2 -DNDEBUG -I. bench/parse_bench.cpp "$native/liblauncher_core.a" -o "$out/parse_bench"
"$out/parse_bench"
