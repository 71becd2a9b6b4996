"""A private desktop for driving the real program: an X server of its own,
a session bus with the accessibility bus on it, and the German keyboard.

Every process started here runs in a process group of its own, dies with
this script, and is ended by stop(), also when the run failed half-way.
"""

import os
import select
import shutil
import signal
import subprocess
import time

SCREEN = (1400, 900)

class DesktopError(RuntimeError):
    pass


def wait_until(condition, timeout, interval=0.05, what="condition"):
    """Polls condition() until it returns something true; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise DesktopError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


class Desktop:
    def __init__(self, log):
        self.log = log
        self.display = None
        self.bus_address = None
        self._processes = []   # (name, Popen), ended in reverse order
        self._env = None

    # ------------------------------------------------------------ start/stop

    def start(self):
        for tool in ("Xvfb", "xdotool", "setxkbmap", "dbus-daemon", "dbus-send", "import"):
            if not shutil.which(tool):
                raise DesktopError("%s is not installed (scripts/install-deps.sh installs it)" % tool)
        for tool in ("/usr/libexec/at-spi-bus-launcher", "/usr/libexec/at-spi2-registryd"):
            if not os.access(tool, os.X_OK):
                raise DesktopError("%s is missing (package at-spi2-core)" % tool)

        self._start_xserver()
        env = self._base_env()
        env["DISPLAY"] = self.display
        self._env = env

        # The session bus prints its address once it listens.
        bus = self._spawn("dbus-daemon", ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.bus_address = self._read_line(bus.stdout, 10, "the session bus address").strip()
        env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address
        self.log("session bus at %s" % self.bus_address)

        # The accessibility bus with its registry: how the program's widgets
        # become visible to a screen reader.
        self._spawn("at-spi-bus-launcher", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                    stderr=subprocess.DEVNULL)
        self._wait_for_bus_name("org.a11y.Bus", 15)
        self._spawn("at-spi2-registryd", ["/usr/libexec/at-spi2-registryd"], stderr=subprocess.DEVNULL)
        self._wait_for_accessibility_registry(15)

        # Umlauts are typed through the German layout's own keys.
        subprocess.run(["setxkbmap", "de"], env=env, check=True, timeout=20)
        self.log("keyboard layout de set")

    def stop(self):
        for name, process in reversed(self._processes):
            self._end_group(name, process)
        self._processes = []

    def env(self, **extra):
        """Environment for a child that lives on this desktop."""
        env = dict(self._env)
        env.update(extra)
        return env

    def spawn(self, name, argv, cwd=None, env=None, **kwargs):
        """Starts a process on this desktop; stop() ends it if it still runs."""
        return self._spawn(name, argv, cwd=cwd, env=env or self.env(), **kwargs)

    def forget(self, process):
        """A process that ended by itself needs no ending."""
        self._processes = [(n, p) for n, p in self._processes if p is not process]

    # -------------------------------------------------------------- actions

    def run_tool(self, argv, timeout=20):
        result = subprocess.run(argv, env=self._env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                text=True, timeout=timeout)
        if result.returncode != 0:
            raise DesktopError("%s failed: %s" % (" ".join(argv), result.stderr.strip()))
        return result.stdout

    def click(self, x, y):
        self.run_tool(["xdotool", "mousemove", "--sync", str(int(x)), str(int(y))])
        self.run_tool(["xdotool", "click", "1"])

    def key(self, *keys):
        self.run_tool(["xdotool", "key", "--delay", "30"] + list(keys))

    def type_text(self, text):
        self.run_tool(["xdotool", "type", "--delay", "25", "--", text], timeout=60)

    def screenshot(self, path):
        self.run_tool(["import", "-window", "root", path], timeout=30)
        return path

    def snapshot(self):
        """What the screen shows right now, as pixels."""
        result = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self._env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
        width, height = SCREEN
        if result.returncode != 0 or len(result.stdout) != width * height * 3:
            raise DesktopError("no screenshot (%d bytes): %s" % (len(result.stdout), result.stderr.strip()))
        return Picture(width, height, result.stdout)

    # ------------------------------------------------------------- internals

    def _base_env(self):
        env = dict(os.environ)
        # Nothing of the caller's desktop may leak into the private one.
        for name in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY",
                     "XAUTHORITY", "SESSION_MANAGER", "QT_QPA_PLATFORM", "QT_IM_MODULE", "XMODIFIERS",
                     "GTK_MODULES", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                     "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI",
                     "QT_STYLE_OVERRIDE", "QT_QPA_PLATFORMTHEME"):
            env.pop(name, None)
        return env

    def _start_xserver(self):
        # The server picks a free display itself and tells its number.
        read_end, write_end = os.pipe()
        try:
            argv = ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                    "%dx%dx24" % SCREEN, "-nolisten", "tcp", "-noreset"]
            self._spawn("Xvfb", argv, pass_fds=(write_end,), env=self._base_env(), stderr=subprocess.DEVNULL)
            os.close(write_end)
            write_end = None
            with os.fdopen(read_end, "r") as stream:
                read_end = None
                number = self._read_line(stream, 20, "the X server")
        finally:
            if write_end is not None:
                os.close(write_end)
            if read_end is not None:
                os.close(read_end)
        self.display = ":" + number.strip()
        self.log("X server on display %s" % self.display)

    def _spawn(self, name, argv, **kwargs):
        kwargs.setdefault("stdin", subprocess.DEVNULL)
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("env", self._env)
        if kwargs["stdout"] is subprocess.PIPE:
            kwargs.setdefault("text", True)
        # Should this script be killed, the child goes too instead of
        # lingering on a display nobody watches.
        if shutil.which("setpriv"):
            argv = ["setpriv", "--pdeathsig", "KILL", "--"] + list(argv)
        process = subprocess.Popen(argv, start_new_session=True, **kwargs)
        self._processes.append((name, process))
        return process

    def _read_line(self, stream, timeout, what):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            ready, _, _ = select.select([stream], [], [], 0.1)
            if ready:
                line = stream.readline()
                if line.strip():
                    return line
                raise DesktopError("%s ended before it was ready" % what)
            for name, process in self._processes:
                if process.poll() is not None:
                    raise DesktopError("%s exited early with code %s" % (name, process.returncode))
        raise DesktopError("timed out waiting for %s" % what)

    def _dbus_send(self, bus_option, *arguments):
        result = subprocess.run(["dbus-send", bus_option, "--print-reply=literal"] + list(arguments),
                                env=self._env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                timeout=10)
        return result.stdout

    def _wait_for_bus_name(self, name, timeout):
        wait_until(lambda: name in self._dbus_send("--session", "--dest=org.freedesktop.DBus",
                                                   "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"),
                   timeout, 0.1, "%s on the session bus" % name)

    def _wait_for_accessibility_registry(self, timeout):
        def registry_up():
            address = self._dbus_send("--session", "--dest=org.a11y.Bus", "/org/a11y/bus",
                                      "org.a11y.Bus.GetAddress").strip()
            if not address:
                return False
            names = self._dbus_send("--bus=" + address, "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                                    "org.freedesktop.DBus.ListNames")
            return "org.a11y.atspi.Registry" in names
        wait_until(registry_up, timeout, 0.1, "the accessibility registry")

    def _end_group(self, name, process):
        # The group id is the id of the process started here; helpers it
        # started itself (the accessibility bus) go with it.
        group = process.pid
        if process.poll() is None:
            try:
                os.killpg(group, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(group, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                process.wait(timeout=5)
        else:
            try:
                os.killpg(group, signal.SIGKILL)
            except (ProcessLookupError, PermissionError):
                pass
        for stream in (process.stdout, process.stderr):
            if stream:
                stream.close()


class Picture:
    """A screenshot as raw RGB rows."""

    def __init__(self, width, height, raw):
        self.width = width
        self.height = height
        self.raw = raw

    def rgb(self, x, y):
        offset = (int(y) * self.width + int(x)) * 3
        return tuple(self.raw[offset:offset + 3])

    def _unlike(self, x, y, colours, tolerance):
        pixel = self.rgb(x, y)
        return all(max(abs(pixel[i] - c[i]) for i in range(3)) > tolerance for c in colours)

    def _points(self, rect):
        x0, y0, w, h = (int(v) for v in rect)
        for y in range(max(0, y0), min(self.height, y0 + h)):
            for x in range(max(0, x0), min(self.width, x0 + w)):
                yield x, y

    def share_unlike(self, rect, colours, tolerance=12):
        """The share of pixels in rect (x, y, w, h) that differ from all given colours."""
        total = 0
        differing = 0
        for x, y in self._points(rect):
            total += 1
            if self._unlike(x, y, colours, tolerance):
                differing += 1
        return differing / total if total else 0.0

    def pixels_changed(self, other, rect, tolerance=12):
        """How many pixels in rect differ between two screenshots."""
        changed = 0
        for x, y in self._points(rect):
            a, b = self.rgb(x, y), other.rgb(x, y)
            if max(abs(a[i] - b[i]) for i in range(3)) > tolerance:
                changed += 1
        return changed

    def solid_point(self, rect, colours, tolerance=12):
        """The point nearest the middle of rect whose 5x5 neighbourhood differs
        from all given colours: a place where a picture really has paint, not a
        transparent gap that a click would fall through."""
        x0, y0, w, h = (int(v) for v in rect)
        cx, cy = x0 + w / 2.0, y0 + h / 2.0
        best = None
        for y in range(y0 + 2, y0 + h - 2):
            for x in range(x0 + 2, x0 + w - 2):
                distance = (x - cx) ** 2 + (y - cy) ** 2
                if best is not None and distance >= best[0]:
                    continue
                if all(self._unlike(x + dx, y + dy, colours, tolerance)
                       for dx in range(-2, 3) for dy in range(-2, 3)):
                    best = (distance, x, y)
        return (best[1], best[2]) if best else None
