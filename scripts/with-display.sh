#!/usr/bin/env bash
# Runs a command with a virtual display: the one in DISPLAY if it answers,
# else an Xvfb started for the command and stopped after it. Fails, saying
# why, when no display answers: the command would skip what it can't show.
set -euo pipefail

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$@"
fi
for tool in Xvfb xdpyinfo; do
    if ! command -v $tool >/dev/null; then
        echo "with-display.sh: no display: $tool is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done
# Xvfb picks a free display itself and writes its number once it listens.
log=$(mktemp)
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >"$log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; wait $xvfb 2>/dev/null || true; rm -f "$log" "$number"' EXIT
for _ in $(seq 50); do
    n=$(cat "$number")
    [ -n "$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1 && break
    kill -0 $xvfb 2>/dev/null || break
    sleep 0.1
done
if [ -z "$n" ] || ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
    echo "with-display.sh: the virtual display${n:+ :$n} did not answer within 5 s; Xvfb said:" >&2
    if [ -s "$log" ]; then sed 's/^/    /' "$log" >&2; else echo "    nothing" >&2; fi
    exit 1
fi
DISPLAY=":$n" "$@"
