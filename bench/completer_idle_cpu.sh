#!/usr/bin/env bash
# Idle CPU of the window after a path was typed: the path names a folder of
# 2,000 entries (1,000 folders, 1,000 files) that changes ten times a second; the program then sits
# untouched for 30 s while its CPU time is read from /proc.
#
# Usage: bench/completer_idle_cpu.sh [BUILD_DIR] [DISPLAY] [SECONDS]
# Needs Xvfb and xdotool. The window is started on its own 1600x1000 X
# server; the script triple-clicks the path field at FIELD_XY ("x,y", where
# the field lies on that screen) and types there. Check the screenshot
# SHOT=file.png (taken after typing): without the click the keys may reach
# no field and the figure means nothing.
set -euo pipefail
build=${1:-build}
display=${2:-:11}
seconds=${3:-30}
program=$(realpath "$build/src/dupliora")
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work"/{config/Dupliora,cache,data,runtime} "$work/busy"
chmod 700 "$work/runtime"
for n in $(seq 1 1000); do
  : >"$work/busy/file_$n.jpg"
  mkdir "$work/busy/dir_$n"
done
printf '[Start]\r\nMax=1\r\n' >"$work/config/Dupliora/Dupliora.ini"

Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
export DISPLAY=$display HOME=$work XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache \
  XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
"$program" >/dev/null 2>&1 &
app=$!
pids+=($app)
sleep 4
field=${FIELD_XY:-300,406}
xdotool mousemove "${field%,*}" "${field#*,}" click --repeat 3 1
sleep 0.3
xdotool type --delay 40 "$work/busy/dir_1"
sleep 1
[[ -n "${SHOT:-}" ]] && import -display "$display" -window root "$SHOT"

# The folder keeps changing: one file comes and one goes every 100 ms.
(
  n=0
  while true; do
    : >"$work/busy/new_$n.jpg"
    rm -f "$work/busy/new_$((n - 5)).jpg"
    n=$((n + 1))
    sleep 0.1
  done
) &
pids+=($!)
sleep 2

ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "idle CPU over %d s: %.2f %% of one core (%d ticks)\n", s, 100 * t / hz / s, t }'
