"""Private X servers for the suites that run programs as a person would: Xvfb, and Xorg's dummy
driver for a desktop of two monitors side by side (RandR outputs with their own positions, as a
real desktop reports them). Each returns the server's process and its display name (":N")."""

import os
import re
import shutil
import subprocess

XORG_CONFIG = """
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual %d %d
  EndSubSection
EndSection
"""


class ServerFailed(Exception):
    pass


def _start(command):
    read_end, write_end = os.pipe()
    server = subprocess.Popen(command[:1] + ["-displayfd", str(write_end)] + command[1:], pass_fds=(write_end,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        display = pipe.readline().strip()
    if not display:
        server.kill()
        server.wait(timeout=10)
        raise ServerFailed("%s did not start" % command[0])
    return server, ":" + display


def start_xvfb(*arguments):
    """Xvfb with the given screen arguments, for example "-screen", "0", "1024x768x24"."""
    return _start(["Xvfb", *arguments, "-nolisten", "tcp"])


def start_two_monitors(directory, primary, other):
    """Xorg with two monitors, each (x, y, width, height); the first one primary."""
    (x0, y0, w0, h0), (x1, y1, w1, h1) = primary, other
    config = os.path.join(directory, "xorg.conf")
    with open(config, "w") as out:
        out.write(XORG_CONFIG % (max(x0 + w0, x1 + w1), max(y0 + h0, y1 + h1)))
    server, display = _start(["Xorg", "-config", config, "-logfile", os.path.join(directory, "xorg.log"),
                              "-nolisten", "tcp", "-noreset"])
    env = dict(os.environ, DISPLAY=display)

    def xrandr(*arguments):
        return subprocess.run(["xrandr", *arguments], env=env, capture_output=True, text=True, timeout=20)

    try:
        xrandr("--addmode", "DUMMY1", "%dx%d" % (w1, h1))
        result = xrandr("--output", "DUMMY0", "--mode", "%dx%d" % (w0, h0), "--pos", "%dx%d" % (x0, y0), "--primary",
                        "--output", "DUMMY1", "--mode", "%dx%d" % (w1, h1), "--pos", "%dx%d" % (x1, y1))
        if result.returncode != 0:
            raise ServerFailed("xrandr could not set up two monitors: " + result.stderr.strip())
        # The driver reports an output connected once it has a mode, but only to a query that
        # probes the outputs again, which programs that read the current state do not.
        if len(re.findall(r"^DUMMY[01] connected", xrandr("--query").stdout, re.M)) != 2:
            raise ServerFailed("the two outputs are not connected")
    except (ServerFailed, subprocess.TimeoutExpired):
        server.terminate()
        server.wait(timeout=10)
        raise
    return server, display


def can_start_two_monitors():
    """Xorg runs only as root here, and needs the dummy driver and xrandr."""
    return (os.geteuid() == 0 and os.path.exists("/usr/lib/xorg/modules/drivers/dummy_drv.so")
            and shutil.which("Xorg") is not None and shutil.which("xrandr") is not None)
