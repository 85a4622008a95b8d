#!/usr/bin/env bash
# Prints the launcher's figures; asserts nothing. Run on demand, not by CI.
#   - the size of build/win32/setup.exe and the DLLs it imports, and the
#     size of the limit program beside it;
#   - the time of a silent run of the example, from its start to its end,
#     against two yardsticks: an empty Win32 program, and the limit
#     (bench/limit.c), a program that makes exactly the platform calls the
#     silent run makes and nothing else. The ratio to the limit is the
#     launcher's own overhead. Timed from inside Wine by bench/timeruns.cpp,
#     which starts each program and waits for it, alternating;
#   - the time from start to the dialog being shown under Wine, as a ratio
#     to a minimal Win32 program that shows a dialog from a template in
#     the common controls 6;
#   - the native parse throughput of the language table at 1 MB and 10 MB,
#     and how the time grows between the two.
#
#   bench/run.sh [silent runs] [dialog runs]     defaults 200 and 21
#
# Wine runs in a private 32-bit prefix (build/bench/wine32) on a virtual
# display. The figures say which way 32-bit programs run here: natively, or
# under qemu-user's emulation (install-deps.sh sets it up where the kernel
# runs no 32-bit programs), where absolute times are the emulator's and
# only the ratios of programs timed side by side compare with native ones.
# Its rundll32.exe is the empty program, so the installer the launcher
# starts ends at once. One wineserver serves all runs, so that none of them
# pays for starting it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${BENCH_ON_DISPLAY:-}" ]; then
    BENCH_ON_DISPLAY=1 exec scripts/with-display.sh "$0" "$@"
fi
top=$PWD
silentRuns=${1:-200}
runs=${2:-21}
out=$top/build/bench
mkdir -p "$out"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# The value a tenth of the runs are faster than: on a busy machine the
# fastest runs show best what a program itself costs.
tenth() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 9) / 10)] }'; }
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
i686-w64-mingw32-windres -I bench bench/minidialog.rc -O coff -o "$out/minidialog.res"
"${cross[@]}" -mwindows bench/minidialog.cpp "$out/minidialog.res" -lcomctl32 -o "$out/minidialog.exe"
"${cross[@]}" bench/timeruns.cpp -o "$out/timeruns.exe"
# The limit is built as setup.exe is linked: no C runtime, its own entry.
i686-w64-mingw32-gcc -Os -s -nostdlib -ffreestanding -fno-asynchronous-unwind-tables -ffunction-sections \
    -fdata-sections -Wall -Wextra -Wl,--gc-sections -Wl,--subsystem,windows -Wl,-e,_LimitMain \
    bench/limit.c -lkernel32 -ladvapi32 -o "$out/limit.exe"

if grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
    echo "== Route: 32-bit Wine under qemu-user's emulation ($(qemu-i386 --version | head -n 1))"
    echo "  This kernel runs no 32-bit programs. Times marked (emulated) are the emulator's, several times"
    echo "  a native run's; the ratios of programs timed side by side stay meaningful."
    emulated=" (emulated)"
else
    echo "== Route: 32-bit Wine, running natively"
    emulated=
fi

echo "== Size"
printf '  setup.exe       %6d bytes (budget %s, cmake/check-exe.cmake)\n' "$(stat -c %s "$exe")" \
    "$(sed -n 's/^set(BUDGET \([0-9]*\))$/\1/p' cmake/check-exe.cmake)"
printf '  limit.exe       %6d bytes (the same platform calls as a silent run, nothing else)\n' \
    "$(stat -c %s "$out/limit.exe")"
printf '  minimal.exe     %6d bytes\n' "$(stat -c %s "$out/minimal.exe")"
printf '  minidialog.exe  %6d bytes\n' "$(stat -c %s "$out/minidialog.exe")"
echo "  setup.exe imports: $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')"

# The prefix is made without the rundll32.exe override: Wine installs a new
# prefix through rundll32.exe and would be left half-made.
export WINEPREFIX=$out/wine32 WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
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
cp "$exe" "$out/minimal.exe" "$out/limit.exe" "$out/minidialog.exe" "$package/"

echo "== Silent run of the example under Wine$emulated ($silentRuns runs each, alternating, median)"
# The driver runs inside Wine and starts the programs itself: the time of
# the wine loader's own start is in none of the figures.
folder="Z:$(echo "$package" | tr / '\\')"
stats() { sort -n "$1" | awk '{ v[NR] = $1 } END { printf "range %.1f..%.1f", v[1], v[NR] }'; }
(cd "$package" && wine "$out/timeruns.exe" end "$silentRuns" "$folder" minimal.exe limit.exe setup.exe \
    >"$out/silent.raw" 2>/dev/null) || true
tr -d '\r' <"$out/silent.raw" >"$out/silent.ms"
for program in minimal.exe limit.exe setup.exe; do
    awk -v p="$program" '$1 == p && $2 != "-" { print $2 }' "$out/silent.ms" >"$out/$program.silent.ms"
done
m=$(median <"$out/minimal.exe.silent.ms")
l=$(median <"$out/limit.exe.silent.ms")
s=$(median <"$out/setup.exe.silent.ms")
printf '  minimal.exe /s  %7.2f ms  (%s)  an empty program\n' "$m" "$(stats "$out/minimal.exe.silent.ms")"
printf '  limit.exe /s    %7.2f ms  (%s)  the same platform calls\n' "$l" "$(stats "$out/limit.exe.silent.ms")"
printf '  setup.exe /s    %7.2f ms  (%s)\n' "$s" "$(stats "$out/setup.exe.silent.ms")"
# Each round runs the three one after the other: the ratio within a round
# is less moved by what else the machine does than the medians are.
paired=$(awk '$2 != "-" { v[$1] = $2 } $1 == "setup.exe" && v["limit.exe"] > 0 { print v["setup.exe"] / v["limit.exe"] }' \
    "$out/silent.ms" | median)
echo "  setup / limit   $(ratio "$s" "$l")  (goal 1.05 or less); within rounds, median $(ratio "$paired" 1);" \
    "fastest tenth $(ratio "$(tenth <"$out/setup.exe.silent.ms")" "$(tenth <"$out/limit.exe.silent.ms")")"
echo "  setup / empty   $(ratio "$s" "$m")"
echo "  limit / empty   $(ratio "$l" "$m")"
name=$(wine reg query "$key" /v DisplayName 2>/dev/null | sed -n 's/.*REG_SZ *//p' | tr -d '\r' || true)
echo "  (the uninstall entry written: \"${name:-nothing}\")"
wine reg delete "$key" /f >/dev/null 2>&1 || true

echo "== Start to dialog shown under Wine$emulated ($runs runs each, alternating, median)"
# The driver runs inside Wine: it starts each program, waits for a visible
# window of that process and closes it, which cancels the launcher's dialog.
# Into a file, not a pipe: Wine's own processes may inherit the output and
# outlive the run.
(cd "$package" && wine "$out/timeruns.exe" window "$runs" "$folder" minidialog.exe setup.exe \
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
    echo "  ratio           $(ratio "$sd" "$md")  (goal 1.05 or less)"
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
