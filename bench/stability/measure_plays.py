#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Memory and descriptors over many hover plays: starts the built plinkbox under Xvfb with a
list of mixed short files (PCM WAV, MIDI of format 0 and 1, MP3 copied from the
test data, as no MP3 encoder is needed then, IMA ADPCM WAV, FLAC, Ogg Vorbis, Ogg Opus and
AIFF made by sndfile-convert from sndfile-programs, a RIFF-wrapped MIDI, and three broken files:
empty, garbage named .mp3, an MP3 damaged in its middle), sweeps the pointer up and down the rows with
xdotool, one row per move, and samples VmRSS and the open descriptors (/proc/PID/fd) every
--every plays. At the end it counts what the program wrote to stdout and stderr (nothing is
expected).

Sound goes to SDL's dummy driver (SDL_AUDIODRIVER=dummy): the files are decoded and mixed, but
nothing is heard. A play counts only when inotify sees the program open the hovered row's file
after the pointer moved onto that row (every play request opens its file, broken ones
included); a move without that open within --wait seconds is counted as missed.

  bench/stability/measure_plays.py BUILD/src/plinkbox [--plays 10000] [--every 1000]
"""
import argparse
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session import (OpenWatch, Session, memory, open_fds, read_list,  # noqa: E402
                     read_settings, write_config)

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
TEST_MP3 = os.path.join(ROOT, "tests", "sound", "data", "tone.mp3")
SETTINGS = ("[播放]\n仅播放一次=真\n选择时发音=真\n移过时发音=真\n[导入]\n启动时载入上次列表=真\n"
            "[主窗口尺寸]\n位置=0\n左边=20\n顶边=20\n宽度=835\n高度=740\n")
EMPTY_Y = 700  # below the rows inside the list: hovering there plays nothing


def write_wave(path, rate, channels, width, seconds):
    frames = int(rate * seconds)
    amplitude = 100 if width == 1 else 8000
    with open(path, "wb") as f, wave.open(f, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(width)
        w.setframerate(rate)
        data = bytearray()
        for i in range(frames):
            value = amplitude if (i // 50) % 2 else -amplitude
            sample = bytes([128 + value]) if width == 1 else struct.pack("<h", value)
            data += sample * channels
        w.writeframes(bytes(data))


def midi_track(notes, program):
    events = bytes([0x00, 0xC0, program])
    for note in notes:
        events += bytes([0x00, 0x90, note, 100, 0x30, 0x80, note, 0])
    events += bytes([0x00, 0xFF, 0x2F, 0x00])
    return b"MTrk" + struct.pack(">I", len(events)) + events


def write_midi(path, tracks):
    header = b"MThd" + struct.pack(">IHHH", 6, 1 if len(tracks) > 1 else 0, len(tracks), 96)
    with open(path, "wb") as f:
        f.write(header + b"".join(tracks))


def make_files(directory):
    """The files in list order, as bytes of their names: 14, as many rows as the list shows."""
    os.makedirs(directory)
    names = []

    def add(name):
        names.append(name.encode() if isinstance(name, str) else name)
        return os.path.join(directory.encode(), names[-1])

    source = os.path.join(directory, "source-48k-stereo.wav")  # not in the list
    write_wave(source, 48000, 2, 2, 0.25)
    write_wave(add("tone-16bit-mono.wav"), 22050, 1, 2, 0.3)
    write_midi(add("scale.mid"), [midi_track([60, 62, 64, 65], 0)])
    shutil.copyfile(TEST_MP3, add("tone.mp3"))
    with open(add("empty.wav"), "wb"):
        pass
    write_midi(add("两轨.mid"), [midi_track([48, 55], 33), midi_track([72, 76, 79], 73)])
    for name, encoding in (("adpcm.wav", "-ima-adpcm"), ("tone.flac", "-pcm16"),
                           ("tone.ogg", "-vorbis"), ("tone.opus", "-opus"),
                           ("tone.aif", "-pcm16")):
        subprocess.run(["sndfile-convert", encoding, source, add(name)], check=True,
                       stdout=subprocess.DEVNULL)
    with open(add("garbage.mp3"), "wb") as f:
        f.write(random.Random(7).randbytes(4096))
    shutil.copyfile(TEST_MP3, add(b"\xb9\xc4.mp3"))  # a GBK name
    smf = b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + midi_track([60, 64, 67], 19)
    with open(add("riff.rmi"), "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 12 + len(smf)) + b"RMIDdata" + struct.pack("<I", len(smf))
                + smf)
    mp3 = bytearray(open(TEST_MP3, "rb").read())
    mp3[len(mp3) // 3:len(mp3) // 2] = random.Random(8).randbytes(len(mp3) // 2 - len(mp3) // 3)
    with open(add("damaged.mp3"), "wb") as f:
        f.write(mp3)
    return names


class Rows:
    """Where the rows are on the screen, found by hovering: each probe comes from the empty
    area below the rows, so the row under the probe always changes and its file is opened."""

    def __init__(self, s, watch, names, wait):
        self.s, self.watch, self.names, self.wait = s, watch, names, wait
        ox, oy = s.window_origin()
        self.x = ox + 100
        self.empty = oy + EMPTY_Y
        self.oy = oy
        probe = oy + 180
        row = self.row_at(probe)
        if row is None or row == 0:
            raise RuntimeError(f"no row past the first at y={probe} (found {row})")
        top = self.boundary(probe - 60, probe, row)       # first y of row
        below = self.boundary(probe, probe + 60, row + 1)  # first y of the next row
        self.pitch = below - top
        self.first = top - row * self.pitch
        last = len(names) - 1
        if self.row_at(self.y(last)) != last or self.row_at(self.y(0)) != 0:
            raise RuntimeError("rows not where their height puts them")

    def row_at(self, y):
        self.s.move(self.x, self.empty)
        time.sleep(0.05)
        self.watch.read()
        self.s.move(self.x, y)
        deadline = time.monotonic() + self.wait
        while time.monotonic() < deadline:
            for name in self.watch.read():
                if name in self.names:
                    return self.names.index(name)
            time.sleep(0.001)
        return None

    def boundary(self, lo, hi, row):
        """The first y in (lo, hi] that is over row or a later one; lo must be above row."""
        while hi - lo > 1:
            mid = (lo + hi) // 2
            found = self.row_at(mid)
            if found is not None and found >= row:
                hi = mid
            else:
                lo = mid
        return hi

    def y(self, row):
        return self.first + row * self.pitch + self.pitch // 2


def sample(pid, plays, missed, start):
    return {"plays": plays, "missed": missed, "rss": memory(pid)["VmRSS"], "fds": open_fds(pid),
            "t": time.monotonic() - start}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("plinkbox")
    parser.add_argument("--plays", type=int, default=10000)
    parser.add_argument("--every", type=int, default=1000)
    parser.add_argument("--wait", type=float, default=5.0, help="seconds a play may take to open")
    parser.add_argument("--display", type=int, default=97)
    a = parser.parse_args()

    work = tempfile.mkdtemp(prefix="plinkbox-plays-")
    sounds = os.path.join(work, "sounds")
    config = os.path.join(work, "config")
    session = None
    try:
        names = make_files(sounds)
        paths = [os.path.join(sounds.encode(), n) for n in names]
        write_config(config, paths, SETTINGS)
        watch = OpenWatch(sounds)
        session = Session(os.path.abspath(a.plinkbox), config, a.display,
                          os.path.join(work, "plinkbox.log"))
        time.sleep(0.5)
        rows = Rows(session, watch, names, a.wait)
        print(f"{len(names)} rows, {rows.pitch} px apart; load average "
              "{:.2f} {:.2f} {:.2f}".format(*os.getloadavg()), flush=True)

        order = list(range(len(names))) + list(range(len(names) - 2, 0, -1))
        session.move(rows.x, rows.empty)
        time.sleep(0.2)
        watch.read()
        start = time.monotonic()
        samples = [sample(session.pid, 0, 0, start)]
        plays = missed = 0
        for move in range(1, a.plays + 1):
            row = order[(move - 1) % len(order)]
            session.move(rows.x, rows.y(row))
            if watch.wait_for(names[row], a.wait):
                plays += 1
            else:
                missed += 1
            if move % a.every == 0:
                samples.append(sample(session.pid, plays, missed, start))
                r = samples[-1]
                print(f"{move:6d} moves: {r['plays']} plays, {r['missed']} missed, "
                      f"VmRSS {r['rss'] / 2**20:.2f} MiB, {r['fds']} fds, {r['t']:.0f} s",
                      flush=True)
        print("load average at end: {:.2f} {:.2f} {:.2f}".format(*os.getloadavg()))
        session.log.flush()
        print(f"written to stdout and stderr: {os.path.getsize(os.path.join(work, 'plinkbox.log'))} "
              "bytes")
        report(samples)

        status = session.terminate()
        listed = read_list(config)
        settings = read_settings(config)
        whole = listed == paths and settings.get("播放", {}).get("移过时发音") == "真"
        print(f"SIGTERM: exit status {status}; list file {len(listed)} of {len(paths)} rows, "
              f"settings {len(settings)} sections: {'whole' if whole else 'NOT WHOLE'}")
        if status != 0 or not whole or missed:
            sys.exit(1)
    finally:
        if session:
            session.close()
        shutil.rmtree(work, ignore_errors=True)


def report(samples):
    first, second, before_last, last = samples[0], samples[1], samples[-2], samples[-1]

    def growth(a, b):
        return (f"VmRSS {(b['rss'] - a['rss']) / 1024:+.0f} KiB, fds {b['fds'] - a['fds']:+d} "
                f"({b['plays'] - a['plays']} plays in {b['t'] - a['t']:.0f} s)")

    steps = [(b["rss"] - a["rss"]) / 1024 for a, b in zip(samples[1:], samples[2:])]
    print(f"first {first['plays']}..{second['plays']}:  {growth(first, second)}")
    print(f"last  {before_last['plays']}..{last['plays']}: {growth(before_last, last)}")
    print(f"after the first sample to the end: {growth(second, last)}")
    if len(steps) > 1:
        steps.sort()
        print(f"VmRSS change per {second['plays']} plays after the first: median "
              f"{steps[len(steps) // 2]:+.0f} KiB (min {steps[0]:+.0f}, max {steps[-1]:+.0f})")


if __name__ == "__main__":
    main()
