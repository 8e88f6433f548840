"""A headless sway for the suite: the pixman renderer, no input devices, no Xwayland, a private
runtime folder. sway refuses to run as root, so when the suite runs as root sway runs as a user
made for the occasion and removed afterwards. Screenshots come from grim, keys from wtype."""

import glob
import os
import pwd
import re
import shutil
import signal
import subprocess
import tempfile
import time

CONFIG = "xwayland disable\noutput HEADLESS-1 mode 1920x1080 position 0 0 scale %s\n"


class SwayFailed(Exception):
    pass


class Picture:
    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def samples(self, box, step=4):
        x0, y0, w, h = box
        return [self.at(x, y) for y in range(y0, y0 + h, step) for x in range(x0, x0 + w, step)]


class Sway:
    def __init__(self, work_dir, scale="1"):
        self.user = None
        self.runtime = tempfile.mkdtemp(prefix="run-", dir=work_dir)
        os.chmod(work_dir, 0o755)
        if os.geteuid() == 0:
            self.user = "lw-wl-%d-%d" % (os.getpid(), int(time.monotonic() * 1000) % 100000)
            subprocess.run(["useradd", "--create-home", "--user-group", "--shell", "/bin/sh", self.user],
                           check=True, capture_output=True, timeout=30)
            self.home = pwd.getpwnam(self.user).pw_dir
            shutil.chown(self.runtime, self.user, self.user)
        else:
            self.home = os.environ.get("HOME", self.runtime)
        os.chmod(self.runtime, 0o700)
        self.config = os.path.join(work_dir, "sway-%s.conf" % os.path.basename(self.runtime))
        with open(self.config, "w") as out:
            out.write(CONFIG % scale)
        os.chmod(self.config, 0o644)
        self.log = open(os.path.join(work_dir, "sway-%s.log" % os.path.basename(self.runtime)), "w")
        self.process = None
        self.display = None
        self.socket = None
        self.helpers = []  # processes started as the user, each in a session of its own

    def as_user(self, *command):
        env = ["env", "-i", "HOME=" + self.home, "PATH=/usr/bin:/bin", "XDG_RUNTIME_DIR=" + self.runtime]
        if self.display is not None:
            env += ["WAYLAND_DISPLAY=" + self.display, "SWAYSOCK=" + self.socket]
        prefix = ["runuser", "-u", self.user, "--"] if self.user is not None else []
        return prefix + env + list(command)

    def start(self, keyboard=True):
        env = ["WLR_BACKENDS=headless", "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1"]
        # A session of its own, so that it and everything it started can be ended by the group's id.
        self.process = subprocess.Popen(self.as_user(*env, "sway", "-c", self.config), stdout=self.log,
                                        stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, start_new_session=True)
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline and self.process.poll() is None:
            sockets = [p for p in glob.glob(os.path.join(self.runtime, "wayland-*")) if not p.endswith(".lock")]
            ipc = glob.glob(os.path.join(self.runtime, "sway-ipc.*.sock"))
            if sockets and ipc:
                self.display, self.socket = os.path.basename(sockets[0]), ipc[0]
                # A keyboard held by a wtype that stays: the seat keeps a keyboard for the whole run.
                if keyboard:
                    self.start_helper("wtype", "-M", "shift", "-s", "100000000")
                return
            time.sleep(0.1)
        raise SwayFailed("sway did not start (see %s)" % self.log.name)

    def client_env(self):
        """For a program of ours run by the suite: it speaks to this sway, and there is no X."""
        env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, WAYLAND_DISPLAY=self.display)
        for name in ("DISPLAY", "XSCREENSAVER_WINDOW", "LW_DISPLAY", "SDL_VIDEODRIVER"):
            env.pop(name, None)
        return env

    def tool(self, *command, timeout=20):
        return subprocess.run(self.as_user(*command), capture_output=True, timeout=timeout)

    def msg(self, *arguments):
        result = self.tool("swaymsg", *arguments)
        if result.returncode != 0:
            raise SwayFailed("swaymsg %s: %s" % (" ".join(arguments), result.stdout.decode()[-200:]))

    def screenshot(self, output=None):
        result = self.tool("grim", *(["-o", output] if output else []), "-t", "ppm", "-")
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", result.stdout)
        if not header:
            raise SwayFailed("grim took no picture: " + result.stderr.decode()[-200:])
        return Picture(int(header.group(1)), int(header.group(2)), result.stdout[header.end():])

    def start_helper(self, *command):
        process = subprocess.Popen(self.as_user(*command), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   stdin=subprocess.DEVNULL, start_new_session=True)
        self.helpers.append(process)
        return process

    def wtype(self, *arguments):
        return self.start_helper("wtype", *arguments)

    def kill(self):
        """Ends sway at once, as a crash would."""
        try:
            os.killpg(self.process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.process.wait(timeout=10)

    def stop(self):
        # Each helper's session holds what it started (swayidle's program too).
        for helper in self.helpers:
            try:
                os.killpg(helper.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            helper.wait(timeout=10)
        if self.process is not None:
            self.kill()
        self.log.close()
        if self.user is not None:
            subprocess.run(["userdel", "--force", "--remove", self.user], capture_output=True, timeout=30)
