# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""What the stability scripts share: the built plinkbox under its own Xvfb (started as
bench/startup/measure_startup.py starts it), the pointer moved with xdotool, the process's memory
and open descriptors, and the opens of files in a directory seen through inotify."""
import ctypes
import os
import signal
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "startup"))
from measure_startup import LIST_FILE, memory, start_xvfb, xdotool  # noqa: E402

SETTINGS_FILE = "Plinkbox.ini"
TIMEOUT = 60.0


def write_config(config, paths, settings):
    """The list file with one path (bytes) per line, and the settings text."""
    os.makedirs(config, exist_ok=True)
    with open(os.path.join(config, LIST_FILE), "wb") as f:
        f.write(b"".join(p + b"\n" for p in paths))
    with open(os.path.join(config, SETTINGS_FILE), "w", encoding="utf-8") as f:
        f.write(settings)


def read_list(config):
    with open(os.path.join(config, LIST_FILE), "rb") as f:
        return [line for line in f.read().split(b"\n") if line]


def read_settings(config):
    """{section: {key: value}} of the settings file; a line that is no section, no key=value
    and not blank means the file is not whole."""
    sections, current = {}, None
    with open(os.path.join(config, SETTINGS_FILE), encoding="utf-8") as f:
        for number, line in enumerate(f.read().splitlines(), 1):
            line = line.strip()
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif "=" in line and current is not None:
                key, _, value = line.partition("=")
                current[key] = value
            else:
                raise RuntimeError(f"settings line {number} is broken: {line!r}")
    return sections


def open_fds(pid):
    return len(os.listdir(f"/proc/{pid}/fd"))


class Session:
    """Xvfb, and plinkbox started on it with a config directory; the pointer starts off the
    window, so hover-play plays nothing until the script moves it."""

    def __init__(self, plinkbox, config, display=97, log_path=os.devnull):
        self.xvfb, self.display, self.watcher = start_xvfb(display)
        xdotool(self.display, "mousemove", "1279", "799")
        env = dict(os.environ, DISPLAY=f":{self.display}", QT_QPA_PLATFORM="xcb",
                   SDL_AUDIODRIVER="dummy", XDG_RUNTIME_DIR=os.path.dirname(config))
        env.pop("WAYLAND_DISPLAY", None)
        self.watcher.drain()
        self.log = open(log_path, "ab")
        self.proc = subprocess.Popen([plinkbox, "--config-dir", config], env=env,
                                     stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
        _, self.window = self.watcher.wait_map(self.proc, time.monotonic() + TIMEOUT)

    @property
    def pid(self):
        return self.proc.pid

    def x(self, *args):
        return xdotool(self.display, *args)

    def window_origin(self, window=None):
        """Top-left corner of a window on the screen."""
        out = self.x("getwindowgeometry", "--shell", str(window or self.window))
        values = dict(line.split("=", 1) for line in out.splitlines())
        return int(values["X"]), int(values["Y"])

    def move(self, x, y):
        self.x("mousemove", str(x), str(y))

    def terminate(self):
        """SIGTERM, then the exit status; None when it did not end within TIMEOUT."""
        self.proc.send_signal(signal.SIGTERM)
        try:
            return self.proc.wait(TIMEOUT)
        except subprocess.TimeoutExpired:
            return None

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.xvfb.terminate()
        self.xvfb.wait()
        self.log.close()


IN_OPEN = 0x20
IN_NONBLOCK = 0o4000
IN_CLOEXEC = 0o2000000


class OpenWatch:
    """The names of files opened in one directory, in order, by any process."""

    def __init__(self, directory):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.fd = self.libc.inotify_init1(IN_NONBLOCK | IN_CLOEXEC)
        if self.fd < 0 or self.libc.inotify_add_watch(self.fd, directory.encode(), IN_OPEN) < 0:
            raise OSError(ctypes.get_errno(), "inotify")

    def read(self):
        names = []
        while True:
            try:
                data = os.read(self.fd, 65536)
            except BlockingIOError:
                return names
            at = 0
            while at < len(data):
                _, _, _, length = struct.unpack_from("iIII", data, at)
                names.append(data[at + 16:at + 16 + length].rstrip(b"\0"))
                at += 16 + length

    def wait_for(self, name, timeout):
        """True once name is opened within timeout (earlier opens of other files are dropped)."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if name in self.read():
                return True
            time.sleep(0.0005)
        return False

    def close(self):
        os.close(self.fd)


__all__ = ["LIST_FILE", "SETTINGS_FILE", "Session", "OpenWatch", "memory", "open_fds",
           "read_list", "read_settings", "write_config"]
