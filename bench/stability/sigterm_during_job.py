#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""SIGTERM during a long job: starts the built plinkbox under Xvfb with a short list, opens the
search-directory window (Ctrl+J) set up by the settings file to scan a generated tree of
--files empty *.wav files into the list, clicks 执行, and sends SIGTERM once the window's caption
shows the scan walking. Checks per run that the process exits with status 0 within 60 s, that
the list file holds the rows it started with followed only by scanned files (fewer than all:
the scan was stopped), and that the settings file parses with the scan's directory entry in it.
Prints the time from SIGTERM to the exit.

  bench/stability/sigterm_during_job.py BUILD/src/plinkbox [--runs 5] [--files 40000]
"""
import argparse
import os
import shutil
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session import Session, read_list, read_settings, write_config  # noqa: E402

RUN_BUTTON = (133, 318)  # the middle of 执行 in the search-directory window
CAPTION = "检索目录"


def settings_text(tree):
    return ("[导入]\n启动时载入上次列表=真\n"
            f"[目录列表]\n数据={tree}【==】真【==】0\n遍历子目录=真\n"
            "[过滤]\n通配过滤=真\n数据=*.wav|*.mid\n[归类]\n归类路径=假\n"
            "[余下]\n载入文件列表=真\n清空已有列表=假\n不提示执行过程=假\n")


def make_tree(tree, files):
    per = 400
    for d in range((files + per - 1) // per):
        directory = os.path.join(tree, f"d{d:03d}")
        os.makedirs(directory)
        for i in range(min(per, files - d * per)):
            os.close(os.open(os.path.join(directory, f"s{i:04d}.wav"), os.O_CREAT | os.O_WRONLY))


def wait_until(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.005)
    raise RuntimeError(f"timed out waiting for {what}")


def run_once(a, work, tree, start_rows, run):
    config = os.path.join(work, f"config-{run}")
    write_config(config, start_rows, settings_text(tree))
    s = Session(a.plinkbox, config, a.display, os.path.join(work, "plinkbox.log"))
    try:
        s.x("windowfocus", "--sync", str(s.window))
        s.x("key", "ctrl+j")
        _, search = s.watcher.wait_map(s.proc, time.monotonic() + 30)
        if s.x("getwindowname", str(search)) != CAPTION:
            raise RuntimeError("Ctrl+J did not open the search-directory window")
        sx, sy = s.window_origin(search)
        s.move(sx + RUN_BUTTON[0], sy + RUN_BUTTON[1])
        s.x("click", "1")
        wait_until(lambda: s.x("getwindowname", str(search)) != CAPTION, 30, "the scan to walk")
        sent = time.monotonic()
        status = s.terminate()
        took = time.monotonic() - sent
        if status is None:
            shown = [s.x("getwindowname", w) for w in
                     s.x("search", "--onlyvisible", "--pid", str(s.pid), "").split()]
            raise RuntimeError(f"plinkbox did not end within 60 s of SIGTERM; showing {shown}")
    finally:
        s.close()
    rows = read_list(config)
    scanned = rows[len(start_rows):]
    whole = (rows[:len(start_rows)] == start_rows and 0 < len(scanned) < a.files
             and all(r.startswith(tree.encode() + b"/") and os.path.exists(r) for r in scanned))
    settings = read_settings(config)
    whole = whole and tree in settings.get("目录列表", {}).get("数据", "")
    print(f"run {run}: exit status {status} {took:.3f} s after SIGTERM; list file "
          f"{len(start_rows)} + {len(scanned)} scanned rows; settings {len(settings)} sections: "
          f"{'whole' if whole else 'NOT WHOLE'}", flush=True)
    return status == 0 and whole, took


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("plinkbox")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--files", type=int, default=40000)
    parser.add_argument("--display", type=int, default=97)
    a = parser.parse_args()
    a.plinkbox = os.path.abspath(a.plinkbox)
    work = tempfile.mkdtemp(prefix="plinkbox-sigterm-")
    try:
        tree = os.path.join(work, "tree")
        make_tree(tree, a.files)
        start_rows = []
        for name in ("a.wav", "声音.mid", "c.mp3"):
            path = os.path.join(work, name)
            open(path, "wb").close()
            start_rows.append(path.encode())
        print("load average at start: {:.2f} {:.2f} {:.2f}".format(*os.getloadavg()), flush=True)
        results = [run_once(a, work, tree, start_rows, run + 1) for run in range(a.runs)]
        print("load average at end:   {:.2f} {:.2f} {:.2f}".format(*os.getloadavg()))
        times = [t for _, t in results]
        print(f"SIGTERM -> exit: median {statistics.median(times):.3f} s "
              f"(min {min(times):.3f}, max {max(times):.3f})")
        if not all(ok for ok, _ in results):
            sys.exit(1)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
