"""A private X server and Wine prefix for the suites that run Windows programs as a person would
(tests/wine/run, tests/package/run), with the checks they share. The server and the prefix are
made for one run and removed after it, so runs side by side do not meet."""

import os
import re
import shutil
import subprocess
import tempfile
import time

import x_servers

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCREEN = (1024, 768)
MAIN_TITLE = "^Lumenwaltz$"
BACKGROUND = (0xA0, 0x8C, 0xF0)


class CaseFailed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise CaseFailed(message)


class Wine:
    """A private X server and Wine prefix for one run of a suite, removed afterwards; the
    screensaver under test, if given, is copied in."""

    def __init__(self, scr=None):
        self.dir = tempfile.mkdtemp(prefix="lw-wine-")
        self.xserver = None
        self.started = []
        self.scr = None
        if scr is not None:
            self.scr = os.path.join(self.dir, "Lumenwaltz.scr")
            shutil.copy(scr, self.scr)
        self.env = dict(os.environ, WINEPREFIX=os.path.join(self.dir, "prefix"), WINEARCH="win64",
                        WINEDLLOVERRIDES="mscoree,mshtml=", WINEDEBUG="-all")

    def start(self):
        self.start_x()
        os.makedirs(self.env["WINEPREFIX"])
        # A server that outlives each program keeps the start of every case short.
        subprocess.run(["wineserver", "-p"], env=self.env, timeout=30, check=False)
        subprocess.run(["wineboot", "-i"], env=self.env, timeout=300, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # There is no window manager on this X server. Wine would still treat full-screen windows
        # as managed and wait 2 s for a manager to withdraw each one it destroys.
        subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f"],
                       env=self.env, timeout=60, check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start_x(self, start_server=None):
        try:
            self.xserver, self.env["DISPLAY"] = (start_server or one_monitor)()
        except x_servers.ServerFailed as error:
            raise CaseFailed(str(error))

    def switch_x(self, start_server=None):
        """Wine again on another X server (by default the suite's own, of one monitor): Wine's
        server ends with the old one, and the next program finds the new server's monitors."""
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30, check=False)
        self.stop_x()
        self.start_x(start_server)
        subprocess.run(["wineserver", "-p"], env=self.env, timeout=30, check=False)

    def stop_x(self):
        if self.xserver is not None:
            self.xserver.terminate()
            self.xserver.wait(timeout=10)
            self.xserver = None

    def build_test_host(self):
        target = os.path.join(self.dir, "test_host.exe")
        compiler = shutil.which("x86_64-w64-mingw32-g++-posix") or "x86_64-w64-mingw32-g++"
        subprocess.run([compiler, "-std=c++20", "-O2", "-Wall", "-Wextra", "-municode", "-static", "-o", target,
                        os.path.join(ROOT, "tests", "wine", "test_host.cpp"), "-lgdi32", "-luser32"],
                       check=True, timeout=120)
        return target

    def stop(self):
        for process in self.started:
            if process.poll() is None:
                process.kill()
                process.wait(timeout=10)
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30, check=False)
        self.stop_x()
        shutil.rmtree(self.dir, ignore_errors=True)

    # --- programs -------------------------------------------------------------------------
    def run(self, program, *args):
        log = open(os.path.join(self.dir, "scr.log"), "w")
        process = subprocess.Popen(["wine", program, *args], env=self.env, stdout=log, stderr=log)
        self.started.append(process)
        return process

    def reg_add(self, key, name, data):
        subprocess.run(["wine", "reg", "add", key, "/v", name, "/d", data, "/f"], env=self.env, timeout=60, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def run_scr(self, *args):
        return self.run(self.scr, *args)

    def windows_path(self, path):
        result = subprocess.run(["winepath", "-w", path], env=self.env, capture_output=True, text=True, timeout=30)
        return result.stdout.strip()

    def test_host_run(self, *args, debug="-all", timeout=90):
        env = dict(self.env, WINEDEBUG=debug)
        return subprocess.run(["wine", self.test_host, *args], env=env, capture_output=True, text=True,
                              errors="replace", timeout=timeout)

    # --- X ----------------------------------------------------------------------------------
    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=20)

    def find_windows(self, title):
        return self.xdotool("search", "--onlyvisible", "--name", title).stdout.split()

    def wait_window(self, title, seconds, process=None):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            found = self.find_windows(title)
            if found:
                return found[0]
            if process is not None and process.poll() is not None:
                return None
            time.sleep(0.2)
        return None

    def geometry(self, window):
        text = self.xdotool("getwindowgeometry", window).stdout
        position = re.search(r"Position: (-?\d+),(-?\d+)", text)
        size = re.search(r"Geometry: (\d+)x(\d+)", text)
        check(position and size, "no geometry for window %s" % window)
        return tuple(int(v) for v in position.groups() + size.groups())

    def press(self, window, *keys):
        self.xdotool("windowfocus", window)
        for key in keys:
            self.xdotool("key", key)

    def screenshot(self):
        """The screen as rows of (r, g, b)."""
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                             capture_output=True, timeout=30).stdout
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        check(header, "no screenshot")
        width, height = int(header.group(1)), int(header.group(2))
        data = ppm[header.end():]
        return [[tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)] for y in range(height)]


def one_monitor():
    return x_servers.start_xvfb("-screen", "0", "%dx%dx24" % SCREEN)


def wait_exit(process, seconds):
    try:
        return process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        return None


def expect_exit_zero(process, seconds, what):
    code = wait_exit(process, seconds)
    check(code is not None, "still running %d s after %s" % (seconds, what))
    check(code == 0, "exit code %d after %s" % (code, what))


def open_full_mode(wine, *args, program=None):
    process = wine.run(program or wine.scr, *args)
    window = wine.wait_window(MAIN_TITLE, 60, process)
    check(window is not None, "no full-screen window appeared (exit code %s)" % process.poll())
    x, y, w, h = wine.geometry(window)
    check((x, y, w, h) == (0, 0) + SCREEN, "window at %d,%d size %dx%d, not the whole screen" % (x, y, w, h))
    return process, window


def background_share(shot, box, step=4):
    """The share of the box's sampled pixels that are the scene's background colour."""
    x0, y0, w, h = box
    samples = [shot[y][x] for y in range(y0, y0 + h, step) for x in range(x0, x0 + w, step)]
    return sum(pixel == BACKGROUND for pixel in samples) / len(samples)
