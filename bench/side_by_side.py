#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs one benchmark program of two builds in turn (base, new, base, new ...) and prints, per
benchmark, the median time of each build and the new/base ratio: median and spread over the
runs, each ratio taken within one pair so that the machine's load of the moment cancels out.

  bench/side_by_side.py BASE_BUILD NEW_BUILD bench_app [--runs 5] [-- benchmark args]
"""
import argparse
import json
import os
import statistics
import subprocess

parser = argparse.ArgumentParser()
parser.add_argument("base")
parser.add_argument("new")
parser.add_argument("bench")
parser.add_argument("--runs", type=int, default=5)
parser.add_argument("args", nargs="*")
# Arguments for the benchmark program start with "-" too: whatever argparse does not know is theirs.
a, extra = parser.parse_known_args()
a.args += [x for x in extra if x != "--"]

env = dict(os.environ, SDL_AUDIODRIVER="dummy", QT_QPA_PLATFORM="offscreen")


def run(build):
    area = a.bench.removeprefix("bench_")
    exe = os.path.join(build, "bench", area, a.bench)
    out = subprocess.run([exe, "--benchmark_format=json", *a.args], env=env, check=True,
                         capture_output=True, text=True).stdout
    times = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") == "aggregate":
            continue
        times.setdefault(b["run_name"], []).append(b["real_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1, "s": 1e3}[b["time_unit"]])
    return {name: statistics.median(t) for name, t in times.items()}


pairs = []
for _ in range(a.runs):
    pairs.append((run(a.base), run(a.new)))
print(f"load average {os.getloadavg()[0]:.2f}, {a.runs} pairs of runs")
for name in pairs[0][0]:
    base = [p[0][name] for p in pairs]
    new = [p[1][name] for p in pairs]
    ratios = sorted(n / b for b, n in zip(base, new))
    print(f"{name}: base {statistics.median(base):.4f} ms, new {statistics.median(new):.4f} ms, "
          f"new/base median {statistics.median(ratios):.3f} (min {ratios[0]:.3f}, max {ratios[-1]:.3f})")
