#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Dupliora developers
"""Load phase with two threads against one, both in one script so that they
run on the same machine state, each from a cold page cache (the set's files
are evicted with posix_fadvise: no root needed, every other file of the
machine stays cached). Runs go in the order 1 2 2 1 ... so a load that drifts
weighs on both alike.

On a shared machine the wall time mostly measures the other users, so each
run also reports the loader threads' own time: from /proc/PID/task/TID/
schedstat, a thread's life minus the time it was ready to run but waited for
a core taken by another process. What remains is time on a core plus time
blocked (reading, waiting on a lock), which is what a quiet machine would
see; a lock or an I/O pattern that held the threads back would show there.

  bench/load_scaling.py [CLI] [SET] [ROUNDS]
"""
import json
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CLI = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else f"{HERE}/../build/src/dupliora-cli")
DATA = os.environ.get("BENCH_DATA", f"{HERE}/data")
TICKS = os.sysconf("SC_CLK_TCK")
SET = sys.argv[2] if len(sys.argv) > 2 else f"{DATA}/set"
ROUNDS = int(sys.argv[3]) if len(sys.argv) > 3 else 2


def evict(folder):
    for root, _, names in os.walk(folder):
        for name in names:
            fd = os.open(os.path.join(root, name), os.O_RDONLY)
            os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
            os.close(fd)


def read_threads(pid):
    """{tid: (comm, started, on_cpu_ns, waiting_ns)} of the process's threads
    now; started in seconds since boot."""
    found = {}
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return found
    for tid in tids:
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                on_cpu, waiting, _ = (int(v) for v in f.read().split())
            with open(f"/proc/{pid}/task/{tid}/stat") as f:
                stat = f.read()
        except (OSError, ValueError):
            continue
        comm = stat[stat.index("(") + 1:stat.rindex(")")]
        started = int(stat[stat.rindex(")") + 2:].split()[19]) / TICKS
        found[int(tid)] = (comm, started, on_cpu, waiting)
    return found


def run(threads):
    evict(SET)
    load_average = os.getloadavg()[0]
    start = time.monotonic()
    # --no-cache: remembered pictures would leave nothing to load after the first run.
    child = subprocess.Popen([CLI, "--json", "--no-cache", f"--threads={threads}", SET],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    seen = {}  # tid -> [comm, started, last seen, on_cpu, waiting]
    order = []
    output = []
    os.set_blocking(child.stdout.fileno(), False)
    while child.poll() is None:
        now = time.clock_gettime(time.CLOCK_BOOTTIME)
        for tid, (comm, started, on_cpu, waiting) in read_threads(child.pid).items():
            if tid not in seen:
                seen[tid] = [comm, started, now, on_cpu, waiting]
                order.append(tid)
            seen[tid][2:] = [now, on_cpu, waiting]
        chunk = child.stdout.read()
        if chunk:
            output.append(chunk)
        time.sleep(0.05)
    wall = time.monotonic() - start
    output.append(child.stdout.read() or b"")
    summary = json.loads(b"".join(output))["summary"]
    # The loader threads are the first ones the tool itself starts (Qt's
    # own threads carry other names).
    main_comm = seen[child.pid][0] if child.pid in seen else ""
    workers = [t for t in order if t != child.pid and seen[t][0] == main_comm][:threads]
    own = max((seen[t][2] - seen[t][1]) - seen[t][4] / 1e9 for t in workers)
    on_cpu = sum(seen[t][3] for t in workers) / 1e9
    waited = max(seen[t][4] for t in workers) / 1e9
    print(f"threads {threads}: {summary['loaded']} pictures, load {summary['load_ms'] / 1000:7.2f} s "
          f"(whole run {wall:6.2f} s), loader threads: {on_cpu:6.1f} s on a core, "
          f"{waited:6.1f} s waiting for one, own time {own:6.2f} s; "
          f"load average before {load_average:.2f}", flush=True)
    return summary["load_ms"] / 1000, own


def main():
    totals = {1: [0.0, 0.0], 2: [0.0, 0.0]}
    for round_number in range(ROUNDS):
        for threads in ((1, 2) if round_number % 2 == 0 else (2, 1)):
            load, own = run(threads)
            totals[threads][0] += load
            totals[threads][1] += own
    print(f"2 threads against 1, summed over {ROUNDS} rounds: load phase "
          f"{totals[1][0] / totals[2][0]:.2f}x ({totals[1][0]:.1f} s / {totals[2][0]:.1f} s), "
          f"loader threads' own time {totals[1][1] / totals[2][1]:.2f}x "
          f"({totals[1][1]:.1f} s / {totals[2][1]:.1f} s)")


if __name__ == "__main__":
    main()
