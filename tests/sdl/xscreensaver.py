"""The real XScreenSaver daemon on the suite's X server, with one hack in its list: a copy of the
program under test, or the installed one, which lumenwaltz-xscreensaver-enable puts into the
list. XScreenSaver launches no hacks as root, so when the suite runs as root the daemon runs as a
user made for the occasion and removed afterwards; otherwise as the caller, with a home of its
own so that the caller's ~/.xscreensaver stays untouched."""

import os
import pwd
import re
import shutil
import signal
import subprocess
import tempfile
import time

# Fading would stretch every change of state over seconds; the timeout keeps the daemon from
# blanking on its own while the test is not looking.
SETTINGS = """\
mode: one
selected: 0
timeout: 1:00:00
lock: False
splash: False
fade: False
unfade: False
programs: %s
"""


INSTALLED = "/usr/libexec/xscreensaver/lumenwaltz"


class Daemon:
    def __init__(self, display, work_dir, program=None):
        """program: the one to copy in and run as the hack; None for the installed one."""
        self.display = display
        self.user = None
        if os.geteuid() == 0:
            self.user = "lw-xss-%d" % os.getpid()
            subprocess.run(["useradd", "--create-home", "--user-group", "--shell", "/bin/sh", self.user],
                           check=True, capture_output=True, timeout=30)
            self.home = pwd.getpwnam(self.user).pw_dir
        else:
            self.home = tempfile.mkdtemp(prefix="home-", dir=work_dir)
        bin_dir = os.path.join(self.home, "bin")
        os.makedirs(bin_dir, exist_ok=True)
        self.program = INSTALLED
        hack_line = ""
        if program is not None:
            # By its full path: XScreenSaver puts its own folder of hacks first on the PATH, where
            # an installed lumenwaltz would win over the one under test.
            self.program = os.path.join(bin_dir, "lumenwaltz")
            shutil.copy(program, self.program)
            hack_line = self.program + " -root"
        with open(os.path.join(self.home, ".xscreensaver"), "w") as settings:
            settings.write(SETTINGS % hack_line)
        if self.user is not None:
            subprocess.run(["chown", "-R", "%s:%s" % (self.user, self.user), self.home], check=True, timeout=30)
        self.path = "%s:/usr/bin:/bin" % bin_dir
        self.log = open(os.path.join(work_dir, "xscreensaver.log"), "w+")
        self.process = None

    def enable(self):
        """Runs lumenwaltz-xscreensaver-enable as the daemon's user; its output and the list
        the daemon will read."""
        result = subprocess.run(self.as_user("lumenwaltz-xscreensaver-enable"), capture_output=True, text=True,
                                timeout=30)
        with open(os.path.join(self.home, ".xscreensaver")) as settings:
            return result.returncode, result.stdout + result.stderr, settings.read()

    def as_user(self, *command):
        """The command as the daemon's user, in a clean environment."""
        env = ["env", "-i", "DISPLAY=" + self.display, "HOME=" + self.home, "PATH=" + self.path]
        prefix = ["runuser", "-u", self.user, "--"] if self.user is not None else []
        return prefix + env + list(command)

    def start(self):
        # A session of its own, so that everything it starts can be ended by the group's id.
        self.process = subprocess.Popen(self.as_user("xscreensaver", "-no-splash", "-verbose"), stdout=self.log,
                                        stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, start_new_session=True)

    def command(self, what, seconds=10):
        """xscreensaver-command WHAT, tried again until the daemon answers; whether it did."""
        deadline = time.monotonic() + seconds
        while True:
            result = subprocess.run(self.as_user("xscreensaver-command", what), capture_output=True, timeout=10)
            if result.returncode == 0 or time.monotonic() > deadline:
                return result.returncode == 0
            time.sleep(0.2)

    def hack_pid(self, seconds):
        """The pid of the lumenwaltz the daemon says it started, or None."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            match = re.search(r'forked "(?:[^" ]*/)?lumenwaltz[^"]*" in pid (\d+)', self.log_text())
            if match:
                return int(match.group(1))
            time.sleep(0.1)
        return None

    def log_text(self):
        self.log.seek(0)
        return self.log.read()

    def stop(self):
        if self.process is not None:
            if self.process.poll() is None:
                self.command("-exit", seconds=2)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                pass
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.process.wait(timeout=5)
        self.log.close()
        if self.user is not None:
            subprocess.run(["userdel", "--force", "--remove", self.user], capture_output=True, timeout=30)


def ended(pid):
    """Whether the process is gone; one that has ended but that nobody reaped counts as gone."""
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] == "Z"
    except FileNotFoundError:
        return True
