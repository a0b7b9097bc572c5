#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up and memory of the whole program, as a user meets them: starts the built plinkbox
under one Xvfb with a generated list file of N rows, and with an empty one, in turn run by run,
and measures per run

  exec -> mapped   from the exec to the MapNotify of its main window (no window manager runs,
                   so the map is the moment the window becomes viewable). The list file is
                   loaded in the main window's constructor, before show(): the map comes after
                   the file is read, every file is looked up and the rows are in the model;
  exec -> idle     from the exec to the moment the main thread went to sleep after the map
                   (first layout and paint of the shown list included);
  VmRSS, VmHWM     of the process once idle;
  close            from SIGTERM (closes the window as its close box does, saving the list
                   file) to the process's exit, with the last VmHWM seen during the close.

Then, paired run by run with the empty list: the load time ratio and the bytes per row of
VmHWM growth. The start-up load drops rows whose files are missing, so the files are created
(empty); the close's save of the list file is checked to hold every row.

  bench/startup/measure_startup.py BUILD/src/plinkbox [--runs 5] [--sizes 0,100000,1000000]
                                   [--files-dir DIR] [--warmup 1] [--display 97]
                                   [--anchor OTHER/src/plinkbox]

--anchor runs a second build beside the first, run by run in turn (each going first in every
other round), and adds the paired ratios of the two: a change measured against its parent on a machine whose load
comes and goes.

--files-dir keeps the generated files for the next measurement (a million take a while to
create and to remove); without it they go in a temporary directory removed at the end.
Needs Xvfb and xdotool.
"""
import argparse
import os
import select
import shutil
import signal
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import time

DIRECTORIES = 100
LIST_FILE = "Plinkbox·音频列表.ini"
# Loading the list at start is the default; written out so the runs do not rest on it.
SETTINGS = "[导入]\n启动时载入上次列表=真\n"
POLL = 0.002
# The main thread is idle once it ran or waited to run at most SETTLE_BUSY in SETTLE_WINDOW.
SETTLE_WINDOW = 0.3
SETTLE_BUSY = 0.003
TIMEOUT = 120.0

LOAD_TARGET = {1_000_000: 2.5}          # exec -> mapped, seconds
RATIO_TARGET = {100_000: 4.0}           # exec -> mapped over the empty list's
BYTES_PER_ROW_TARGET = 200
# The save's memory that does not grow with the rows: its 16 KiB write block (with room for one
# more line) and the save file's own working memory, about 24 KiB more.
SAVE_BLOCK = 48 * 1024


def file_name(index):
    name = f"snd{index:07d}_voice.wav"
    assert len(name) == 20
    return name


def make_files(root, per_directory):
    ready = os.path.join(root, "ready")
    try:
        with open(ready) as f:
            if int(f.read()) >= per_directory:
                return
    except (OSError, ValueError):
        pass
    print(f"creating {per_directory * DIRECTORIES} files in {root} ...", flush=True)
    for d in range(DIRECTORIES):
        directory = os.path.join(root, f"d{d:02d}")
        os.makedirs(directory, exist_ok=True)
        for i in range(per_directory):
            os.close(os.open(os.path.join(directory, file_name(i)), os.O_CREAT | os.O_WRONLY, 0o644))
    with open(ready, "w") as f:
        f.write(str(per_directory))


def list_bytes(root, rows):
    # Directory by directory, as a scan or a saved list has them.
    per = rows // DIRECTORIES
    lines = [os.path.join(root, f"d{d:02d}", file_name(i))
             for d in range(DIRECTORIES) for i in range(per)]
    return "".join(line + "\n" for line in lines).encode()


class MapWatcher:
    """A bare X11 client that hears top-level windows being mapped on the root window; listening
    beats polling with xdotool, which would cost a process per poll and round the time up."""

    def __init__(self, display):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(f"/tmp/.X11-unix/X{display}")
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = self._read(8)
        if head[0] != 1:
            raise RuntimeError("X server refused the connection")
        body = self._read(struct.unpack_from("<H", head, 6)[0] * 4)
        vendor = struct.unpack_from("<H", body, 16)[0]
        formats = body[21]
        root = struct.unpack_from("<I", body, 32 + (vendor + 3) // 4 * 4 + 8 * formats)[0]
        # ChangeWindowAttributes(root, event-mask = SubstructureNotify)
        self.sock.sendall(struct.pack("<BxHIII", 2, 4, root, 1 << 11, 1 << 19))

    def _read(self, size):
        data = b""
        while len(data) < size:
            chunk = self.sock.recv(size - len(data))
            if not chunk:
                raise RuntimeError("X server closed the connection")
            data += chunk
        return data

    def drain(self):
        while select.select([self.sock], [], [], 0)[0]:
            self._read(32)

    def wait_map(self, proc, deadline):
        """(time, window) of the next map of a top-level window that is not a popup."""
        while time.monotonic() < deadline:
            if select.select([self.sock], [], [], 0.05)[0]:
                event = self._read(32)
                now = time.monotonic()
                if event[0] == 0:
                    raise RuntimeError(f"X error {event[1]}")
                if event[0] & 0x7F == 19 and not event[12]:  # MapNotify
                    return now, struct.unpack_from("<I", event, 8)[0]
            elif proc.poll() is not None:
                raise RuntimeError(f"plinkbox exited ({proc.returncode}) before mapping a window")
        raise RuntimeError("no window mapped in time")


def memory(pid):
    """VmRSS and VmHWM in bytes; None once the process has let its memory go."""
    values = {}
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                key, _, rest = line.partition(":")
                if key in ("VmRSS", "VmHWM"):
                    values[key] = int(rest.split()[0]) * 1024
    except OSError:
        return None
    return values if len(values) == 2 else None


def main_thread_busy(pid):
    """Seconds the main thread has run or waited to run: on a loaded machine, waiting for a CPU
    is still work the user waits for."""
    with open(f"/proc/{pid}/schedstat") as f:
        run, wait, _ = f.read().split()
    return (int(run) + int(wait)) / 1e9


def wait_idle(pid, since):
    samples = [(since, main_thread_busy(pid))]
    while True:
        time.sleep(POLL)
        now = time.monotonic()
        samples.append((now, main_thread_busy(pid)))
        if now - since > TIMEOUT:
            raise RuntimeError("the main thread did not go idle")
        if now - since < SETTLE_WINDOW:
            continue
        window_start = next(s for s in samples if s[0] >= now - SETTLE_WINDOW)
        if samples[-1][1] - window_start[1] <= SETTLE_BUSY:
            break
    last = samples[-1][1]
    return next(t for t, busy in samples if last - busy <= SETTLE_BUSY)


def xdotool(display, *args):
    return subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=f":{display}"),
                          capture_output=True, text=True, check=True).stdout.strip()


def run_once(a, plinkbox, config, text, rows, env, watcher, log_path):
    with open(os.path.join(config, LIST_FILE), "wb") as f:
        f.write(text)
    with open(os.path.join(config, "Plinkbox.ini"), "w", encoding="utf-8") as f:
        f.write(SETTINGS)
    watcher.drain()
    with open(log_path, "ab") as log:
        start = time.monotonic()
        proc = subprocess.Popen([plinkbox, "--config-dir", config], env=env,
                                stdin=subprocess.DEVNULL, stdout=log, stderr=log)
    try:
        mapped, window = watcher.wait_map(proc, start + TIMEOUT)
        idle = wait_idle(proc.pid, mapped)
        loaded = memory(proc.pid)
        # Off the clock: the window mapped is this process's main window.
        if xdotool(a.display, "getwindowpid", str(window)) != str(proc.pid):
            raise RuntimeError("the mapped window is not plinkbox's")
        if not xdotool(a.display, "getwindowname", str(window)).startswith("Plinkbox"):
            raise RuntimeError("the first window mapped is not the main window")

        close_peak = loaded["VmHWM"]
        close_start = time.monotonic()
        proc.send_signal(signal.SIGTERM)
        while proc.poll() is None:
            seen = memory(proc.pid)
            if seen:
                close_peak = max(close_peak, seen["VmHWM"])
            if time.monotonic() - close_start > TIMEOUT:
                raise RuntimeError("plinkbox did not exit after SIGTERM")
            time.sleep(POLL)
        closed = time.monotonic()
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
    if proc.returncode != 0:
        raise RuntimeError(f"plinkbox exited with {proc.returncode} after SIGTERM")
    with open(os.path.join(config, LIST_FILE), "rb") as f:
        saved = f.read().count(b"\n")
    if saved != rows:
        raise RuntimeError(f"{rows} rows written, {saved} loaded and saved at close")
    return {"mapped": mapped - start, "idle": idle - start, "close": closed - close_start,
            "rss": loaded["VmRSS"], "hwm": loaded["VmHWM"], "close_hwm": close_peak}


def start_xvfb(display):
    while os.path.exists(f"/tmp/.X{display}-lock"):
        display += 1
    proc = subprocess.Popen(["Xvfb", f":{display}", "-screen", "0", "1280x800x24",
                             "-nolisten", "tcp", "-ac"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 15
    while True:
        try:
            return proc, display, MapWatcher(display)
        except OSError:
            if proc.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("Xvfb did not start")
            time.sleep(0.05)


def spread(values, scale, unit, digits):
    v = [x / scale for x in values]
    dev = statistics.stdev(v) if len(v) > 1 else 0.0
    return (f"{statistics.median(v):.{digits}f} {unit} "
            f"(min {min(v):.{digits}f}, max {max(v):.{digits}f}, stdev {dev:.{digits}f})")


def verdict(holds):
    return "holds" if holds else "FAILS"


def report(runs, sizes):
    print()
    for n in sizes:
        r = runs[n]
        print(f"{n:,} rows, {len(r)} runs:")
        print(f"  exec -> mapped      {spread([x['mapped'] for x in r], 1, 's', 3)}")
        print(f"  exec -> idle        {spread([x['idle'] for x in r], 1, 's', 3)}")
        print(f"  close (SIGTERM->exit) {spread([x['close'] for x in r], 1, 's', 3)}")
        print(f"  VmRSS when idle     {spread([x['rss'] for x in r], 2**20, 'MiB', 1)}")
        print(f"  VmHWM when idle     {spread([x['hwm'] for x in r], 2**20, 'MiB', 1)}")
        print(f"  VmHWM during close  {spread([x['close_hwm'] for x in r], 2**20, 'MiB', 1)}")

    print()
    for n in sizes:
        if n in LOAD_TARGET:
            times = [x["mapped"] for x in runs[n]]
            print(f"load {n:,} rows, exec -> mapped: {spread(times, 1, 's', 3)}; target at most "
                  f"{LOAD_TARGET[n]} s: {verdict(statistics.median(times) <= LOAD_TARGET[n])} "
                  f"(exec -> idle {statistics.median(x['idle'] for x in runs[n]):.3f} s)")
    if 0 not in runs:
        return
    for n in sizes:
        if n == 0:
            continue
        pairs = list(zip(runs[0], runs[n]))
        ratios = [full["mapped"] / empty["mapped"] for empty, full in pairs]
        line = f"load {n:,} / empty list, paired: {spread(ratios, 1, 'x', 2)}"
        if n in RATIO_TARGET:
            line += (f"; target at most {RATIO_TARGET[n]}: "
                     f"{verdict(statistics.median(ratios) <= RATIO_TARGET[n])}")
        print(line)
        idle_ratios = [full["idle"] / empty["idle"] for empty, full in pairs]
        print(f"  the same to idle: {spread(idle_ratios, 1, 'x', 2)}")
        per_row = [(full["hwm"] - empty["hwm"]) / n for empty, full in pairs]
        print(f"bytes per row, {n:,} rows (VmHWM over the empty list's, paired): "
              f"{spread(per_row, 1, 'B', 1)}; target at most {BYTES_PER_ROW_TARGET}: "
              f"{verdict(statistics.median(per_row) <= BYTES_PER_ROW_TARGET)}")
        with_close = [(full["close_hwm"] - empty["hwm"]) / n for empty, full in pairs]
        print(f"  the same with the close's peak: {spread(with_close, 1, 'B', 1)}")
        # The close of an empty list has a peak of its own (the window going, the settings
        # written): what the list file's save adds is the growth beyond it, paired.
        save_peak = [(full["close_hwm"] - full["hwm"]) - (empty["close_hwm"] - empty["hwm"])
                     for empty, full in pairs]
        worst = max(save_peak)
        print(f"  peak added by the close's save (beyond the empty list's close): "
              f"{spread(save_peak, 2**20, 'MiB', 2)}, {worst / n:.2f} B per row at worst: "
              f"{verdict(worst <= SAVE_BLOCK)} (no peak above the load's beyond the save's "
              f"fixed {SAVE_BLOCK // 1024} KiB)")


def report_pairs(anchor, runs, sizes):
    print()
    for n in sizes:
        pairs = list(zip(anchor[n], runs[n]))
        for key in ("mapped", "idle"):
            ratios = [mine[key] / theirs[key] for theirs, mine in pairs]
            print(f"{n:,} rows, exec -> {key} over the anchor's, paired: "
                  f"{spread(ratios, 1, 'x', 2)}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("plinkbox")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--sizes", default="0,100000,1000000")
    parser.add_argument("--files-dir")
    parser.add_argument("--warmup", type=int, default=1, help="unrecorded empty-list runs first")
    parser.add_argument("--display", type=int, default=97)
    parser.add_argument("--anchor", help="a second build, run in turn with the first")
    a = parser.parse_args()
    builds = [os.path.abspath(p) for p in ([a.anchor] if a.anchor else []) + [a.plinkbox]]
    sizes = [int(s) for s in a.sizes.split(",")]
    if any(n % DIRECTORIES for n in sizes):
        sys.exit(f"list sizes must be multiples of {DIRECTORIES}")

    work = tempfile.mkdtemp(prefix="plinkbox-startup-")
    files = os.path.abspath(a.files_dir) if a.files_dir else os.path.join(work, "files")
    xvfb = None
    try:
        make_files(files, max(sizes) // DIRECTORIES)
        texts = {n: list_bytes(files, n) for n in sizes}
        configs = {}
        for n in sizes:
            configs[n] = os.path.join(work, f"config-{n}")
            os.makedirs(configs[n])
        xvfb, display, watcher = start_xvfb(a.display)
        a.display = display
        # The pointer off the window: hover-play would otherwise play the row under it.
        xdotool(display, "mousemove", "1279", "799")
        env = dict(os.environ, DISPLAY=f":{display}", QT_QPA_PLATFORM="xcb",
                   SDL_AUDIODRIVER="dummy", XDG_RUNTIME_DIR=work)
        env.pop("WAYLAND_DISPLAY", None)
        log = os.path.join(work, "plinkbox.log")

        print(f"{', '.join(builds)}, Xvfb :{display}, files in {files}")
        print("load average at start: {:.2f} {:.2f} {:.2f}".format(*os.getloadavg()), flush=True)
        for plinkbox in builds:
            for _ in range(a.warmup):
                run_once(a, plinkbox, configs[sizes[0]], list_bytes(files, 0), 0, env, watcher, log)
        runs = [{n: [] for n in sizes} for _ in builds]
        for round_ in range(a.runs):
            # Each build goes first in every other round: neither gains from coming second.
            order = list(enumerate(builds))[::-1 if round_ % 2 else 1]
            for n in sizes:
                for b, plinkbox in order:
                    r = run_once(a, plinkbox, configs[n], texts[n], n, env, watcher, log)
                    runs[b][n].append(r)
                    name = "anchor " if a.anchor and b == 0 else ""
                    print(f"run {round_ + 1} {name}{n:>9,} rows: mapped {r['mapped']:.3f} s, "
                          f"idle {r['idle']:.3f} s, close {r['close']:.3f} s, "
                          f"VmRSS {r['rss'] / 2**20:.1f} MiB, VmHWM {r['hwm'] / 2**20:.1f} MiB, "
                          f"during close {r['close_hwm'] / 2**20:.1f} MiB", flush=True)
        print("load average at end:   {:.2f} {:.2f} {:.2f}".format(*os.getloadavg()))
        for b, plinkbox in enumerate(builds):
            if a.anchor:
                print(f"\n{'anchor' if b == 0 else 'measured'}: {plinkbox}")
            report(runs[b], sizes)
        if a.anchor:
            report_pairs(runs[0], runs[-1], sizes)
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
