"""The virtual display as a user sees it: windows found by title, real mouse and key input through
xdotool, and screenshots of screen rectangles."""

import re
import subprocess
import time

WINDOW_DEADLINE = 30.0
POLL = 0.05


class Deadline(AssertionError):
    """A condition did not come true in time."""


def wait_until(condition, timeout, what):
    """Polls condition() until it returns a true value, which is returned; fails after timeout."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= end:
            raise Deadline("waited %.0f s for %s" % (timeout, what))
        time.sleep(POLL)


def _xdotool(*args, check=True):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    if check and result.returncode != 0 and result.stderr.strip():
        raise RuntimeError("xdotool %s: %s" % (" ".join(map(str, args)), result.stderr.strip()))
    return result.stdout


class Image:
    """An RGB picture: width, height and 3 bytes per pixel, rows top to bottom."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    @staticmethod
    def from_ppm(data):
        fields = []
        position = 0
        while len(fields) < 4:  # magic, width, height, maximum value; '#' comments allowed
            match = re.compile(rb"\s*(#[^\n]*\n\s*)*(\S+)").match(data, position)
            fields.append(match.group(2))
            position = match.end()
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError("not an 8-bit binary PPM")
        width, height = int(fields[1]), int(fields[2])
        start = position + 1  # one whitespace byte ends the header
        return Image(width, height, data[start:start + width * height * 3])

    @staticmethod
    def load(path):
        data = subprocess.run(["convert", path, "-alpha", "off", "ppm:-"], capture_output=True,
                              check=True).stdout
        return Image.from_ppm(data)

    def save(self, path):
        header = b"P6\n%d %d\n255\n" % (self.width, self.height)
        subprocess.run(["convert", "ppm:-", path], input=header + self.pixels, check=True)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def differing_fraction(self, other, channel_tolerance=40):
        """Share of pixels where any channel differs by more than channel_tolerance."""
        if (self.width, self.height) != (other.width, other.height):
            return 1.0
        a, b = self.pixels, other.pixels
        differing = 0
        for i in range(0, len(a), 3):
            if (abs(a[i] - b[i]) > channel_tolerance or abs(a[i + 1] - b[i + 1]) > channel_tolerance
                    or abs(a[i + 2] - b[i + 2]) > channel_tolerance):
                differing += 1
        return differing / (self.width * self.height)


class Desktop:
    """The X display named by $DISPLAY."""

    def windows(self, title):
        """Visible windows whose whole title is `title`."""
        out = _xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(title),
                       check=False)
        return [int(w) for w in out.split()]

    def wait_window(self, title, timeout=WINDOW_DEADLINE):
        return wait_until(lambda: (self.windows(title) or [None])[0], timeout,
                          "a window titled %r" % title)

    def wait_no_window(self, title, timeout=WINDOW_DEADLINE):
        wait_until(lambda: not self.windows(title), timeout, "no window titled %r" % title)

    def viewable(self, window):
        result = subprocess.run(["xwininfo", "-id", str(window)], capture_output=True, text=True)
        return result.returncode == 0 and "IsViewable" in result.stdout

    def wait_gone(self, window, timeout=WINDOW_DEADLINE):
        wait_until(lambda: not self.viewable(window), timeout, "window %d to close" % window)

    def geometry(self, window):
        """(left, top, width, height) of the window on the screen."""
        out = _xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def all_visible_windows(self):
        out = _xdotool("search", "--onlyvisible", "--name", "", check=False)
        return [int(w) for w in out.split()]

    def wait_shadow(self, window, timeout=WINDOW_DEADLINE):
        """Waits for the drop shadow of a window: another window around it on every side."""
        left, top, width, height = self.geometry(window)

        def shadow():
            for other in self.all_visible_windows():
                if other == window:
                    continue
                try:
                    x, y, w, h = self.geometry(other)
                except RuntimeError:  # gone meanwhile
                    continue
                if (x < left and y < top and x + w > left + width and y + h > top + height
                        and w < width + 100):
                    return other
            return None
        return wait_until(shadow, timeout, "the shadow of window %d" % window)

    def raise_window(self, window):
        """Puts the window on top, as a window manager does when it is clicked. Needed because
        Wine never stacks an unmanaged window below a given sibling (only on top): a shadow
        window shown after its form ends up above it on an X display without window manager,
        although Windows keeps it below."""
        _xdotool("windowraise", window)

    def click(self, window, x, y):
        """A left click at (x, y) of the window's client area."""
        self.raise_window(window)
        _xdotool("mousemove", "--window", window, x, y)
        _xdotool("click", "1")

    def move_pointer_away(self):
        """Puts the pointer in the screen's bottom-right corner, so that no hover shows."""
        _xdotool("mousemove", "1279", "799")

    def key(self, window, *keys):
        _xdotool("key", "--window", window, *keys)

    def drag(self, window, x, y, dx, dy):
        self.raise_window(window)
        _xdotool("mousemove", "--window", window, x, y)
        _xdotool("mousedown", "1")
        for _ in range(4):
            _xdotool("mousemove_relative", "--", dx // 4, dy // 4)
        _xdotool("mouseup", "1")

    def screenshot(self, left, top, width, height):
        xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, check=True).stdout
        ppm = subprocess.run(["convert", "xwd:-", "-crop",
                              "%dx%d+%d+%d" % (width, height, left, top), "+repage", "ppm:-"],
                             input=xwd, capture_output=True, check=True).stdout
        return Image.from_ppm(ppm)

    def window_shot(self, window):
        return self.screenshot(*self.geometry(window))
