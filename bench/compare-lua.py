#!/usr/bin/env python3
"""Times the script speed programs against their Lua twins under luajit -joff and lua5.4.

Each round runs every command once, in turn (interleaved, so a busy machine slows all alike);
the figure is the median CPU time (user + system, from wait4) of RUNS rounds (default 11).

    bench/compare-lua.py build/tools/duelmark-script fib loop strcat bubble record ai

The five shared programs are looked for in ../shared/bench beside the repository, or where
SHARED_BENCH points.
"""
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SHARED = os.environ.get("SHARED_BENCH", os.path.join(HERE, "..", "..", "shared", "bench"))


def cpu_ms(command):
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if status != 0:
        sys.exit("failed: " + " ".join(command))
    return (usage.ru_utime + usage.ru_stime) * 1000


def sources(program):
    # The sixth program lives here; the five shared ones beside the repository.
    base = HERE if program == "ai" else SHARED
    return os.path.join(base, "script", program + ".pas"), os.path.join(base, "lua", program + ".lua")


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    tool, runs = sys.argv[1], int(os.environ.get("RUNS", "11"))
    print("| program | duelmark-script | luajit -joff | lua5.4 | ours / luajit | ours / lua |")
    print("|---|---|---|---|---|---|")
    for program in sys.argv[2:]:
        pas, lua = sources(program)
        commands = [[tool, "--run", pas], ["luajit", "-joff", lua], ["lua5.4", lua]]
        for command in commands:
            cpu_ms(command)  # warm-up
        times = [[] for _ in commands]
        for _ in range(runs):
            for i, command in enumerate(commands):
                times[i].append(cpu_ms(command))
        ours, jit, lua54 = (statistics.median(t) for t in times)
        print(f"| {program} | {ours:.1f} ms | {jit:.1f} ms | {lua54:.1f} ms | {ours / jit:.2f} | {ours / lua54:.2f} |")


if __name__ == "__main__":
    main()
