#!/usr/bin/env bash
# Counts how often the program opens its settings file from start until the
# window stands (strace over the first seconds of a run, offscreen), with a
# fresh settings folder and again with the file that first run left behind.
#
# Usage: bench/startup_settings_reads.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=${1:-build}
seconds=${2:-4}
program=$(realpath "$build/src/dupliora")
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home"/{config,cache,data,runtime}
chmod 700 "$home/runtime"

count_opens() {
  local log="$home/strace.log"
  HOME=$home XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
    XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime QT_QPA_PLATFORM=offscreen \
    timeout -s INT "$seconds" strace -f -qq -e trace=openat -o "$log" "$program" >/dev/null 2>&1 || true
  local reads writes
  reads=$(grep -c 'Dupliora\.ini", O_RDONLY' "$log" || true)
  writes=$(grep -cE 'Dupliora\.ini\.[A-Za-z0-9]+", O_RDWR|O_WRONLY' "$log" || true)
  echo "$1: $reads opens for reading, $writes temporary files written"
}

count_opens "first start"
count_opens "second start"
