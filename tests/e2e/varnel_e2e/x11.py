"""The X side of the desktop: xdotool input, X window geometry, screenshots."""

import ctypes
import ctypes.util
import re
import subprocess
from dataclasses import dataclass
from pathlib import Path
from typing import Optional

# xwininfo -root -tree lines: id "name": ("res" "class")  WxH+relX+relY  +absX+absY
_TREE_LINE = re.compile(
    r'^\s*(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): \(.*\)\s+(\d+)x(\d+)[+-]-?\d+[+-]-?\d+'
    r'\s+\+(-?\d+)\+(-?\d+)\s*$')


# Walks of the window tree taken before a window destroyed during the walk is an error.
_TREE_ATTEMPTS = 20


@dataclass(frozen=True)
class XWindow:
    """An X window with its size and absolute position."""

    xid: int
    name: Optional[str]
    x: int
    y: int
    width: int
    height: int


class X11:
    """X clients aimed at one display."""

    def __init__(self, environment):
        self._environment = environment

    def _run(self, *args: str) -> str:
        result = subprocess.run(args, env=self._environment.x_env(), capture_output=True,
                                text=True, timeout=30)
        if result.returncode != 0:
            raise RuntimeError(f"{' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout

    def key(self, *keys: str) -> None:
        """Presses keys (xdotool names: F2, shift+F2, alt+F4) in the focused window."""
        self._run("xdotool", "key", "--clearmodifiers", *keys)

    def click(self, x: int, y: int, button: int = 1) -> None:
        """Moves the pointer to screen (x, y) and clicks there."""
        # mousemove --sync waits for the pointer to move: with the pointer already there it
        # would wait for its own time-out (15 s).
        move = [] if self.pointer() == (x, y) else ["mousemove", "--sync", str(x), str(y)]
        self._run("xdotool", *move, "click", str(button))

    def move_pointer(self, x: int, y: int) -> None:
        """Moves the pointer to screen (x, y) and waits until it is there."""
        if self.pointer() != (x, y):
            self._run("xdotool", "mousemove", "--sync", str(x), str(y))

    def click_button(self, button: int) -> None:
        """Clicks a button where the pointer is (buttons 4 and 5: the wheel up and down)."""
        self._run("xdotool", "click", str(button))

    def button_down(self, button: int = 1) -> None:
        self._run("xdotool", "mousedown", str(button))

    def button_up(self, button: int = 1) -> None:
        self._run("xdotool", "mouseup", str(button))

    def cursor(self) -> "CursorImage":
        """The pointer's current shape, as the X server shows it (XFixes)."""
        return CursorImage.read(self._environment.display)

    def pointer(self) -> tuple[int, int]:
        """Where the pointer is on the screen."""
        shell = self._run("xdotool", "getmouselocation", "--shell")
        fields = dict(line.split("=", 1) for line in shell.splitlines() if "=" in line)
        return int(fields["X"]), int(fields["Y"])

    def windows(self) -> list[XWindow]:
        """Every X window on the screen, parsed from xwininfo."""
        found = []
        for line in self._window_tree().splitlines():
            match = _TREE_LINE.match(line)
            if match:
                xid, name, w, h, x, y = match.groups()
                found.append(XWindow(int(xid, 16), name, int(x), int(y), int(w), int(h)))
        return found

    def _window_tree(self) -> str:
        # xwininfo walks the tree one request at a time, and fails when a window it listed is
        # destroyed before it asks about it (programs of the tests come and go meanwhile); the
        # walk is then taken again.
        for _ in range(_TREE_ATTEMPTS - 1):
            try:
                return self._run("xwininfo", "-root", "-tree")
            except RuntimeError as error:
                if "Bad Window" not in str(error) and "Bad Drawable" not in str(error):
                    raise
        return self._run("xwininfo", "-root", "-tree")

    def window_for(self, window: dict) -> Optional[XWindow]:
        """The X window showing a Wine window's client area (Wine keeps no handle in X).

        Matched by caption and client geometry, which a Wine window's X window mirrors."""
        left, top = window["client_origin"]
        size = (window["client"][2], window["client"][3])
        candidates = [x for x in self.windows()
                      if (x.x, x.y) == (left, top) and (x.width, x.height) == size]
        named = [x for x in candidates if (x.name or "") == window["caption"]]
        return (named or candidates or [None])[0]

    def activate(self, xid: int) -> None:
        """Asks the window manager to activate the window, as a click on it would."""
        self._run("xdotool", "windowactivate", "--sync", str(xid))

    def minimize(self, xid: int) -> None:
        """Asks the window manager to minimise the window, as its title-bar button does."""
        self._run("xdotool", "windowminimize", "--sync", str(xid))

    def move(self, xid: int, x: int, y: int) -> None:
        self._run("xdotool", "windowmove", str(xid), str(x), str(y))

    def resize(self, xid: int, width: int, height: int) -> None:
        self._run("xdotool", "windowsize", str(xid), str(width), str(height))

    def capture(self, rect: list[int]) -> "Capture":
        """The pixels of a screen rectangle [left, top, right, bottom], read back as RGB."""
        left, top, right, bottom = rect
        raw = subprocess.run(
            ["import", "-display", self._environment.display, "-window", "root",
             "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage", "-depth", "8",
             "ppm:-"],
            env=self._environment.x_env(), capture_output=True, timeout=30, check=True).stdout
        return Capture.from_ppm(raw)

    def screenshot(self, path: Path) -> Path:
        """The whole screen as a PNG."""
        path.parent.mkdir(parents=True, exist_ok=True)
        self._run("import", "-display", self._environment.display, "-window", "root", str(path))
        return path


class _XFixesCursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


@dataclass(frozen=True)
class CursorImage:
    """A cursor's size, hot spot and ARGB pixels (row by row)."""

    width: int
    height: int
    hotspot: tuple[int, int]
    argb: tuple[int, ...]

    @classmethod
    def read(cls, display: str) -> "CursorImage":
        x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x11.XFree.argtypes = [ctypes.c_void_p]
        xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_XFixesCursorImage)
        xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
        connection = x11.XOpenDisplay(display.encode())
        if not connection:
            raise RuntimeError(f"cannot open display {display}")
        try:
            image = xfixes.XFixesGetCursorImage(connection)
            if not image:
                raise RuntimeError("XFixes reports no cursor image")
            try:
                c = image.contents
                pixels = tuple(c.pixels[i] & 0xFFFFFFFF for i in range(c.width * c.height))
                return cls(c.width, c.height, (c.xhot, c.yhot), pixels)
            finally:
                x11.XFree(image)
        finally:
            x11.XCloseDisplay(connection)

    def opaque(self) -> set[tuple[int, int]]:
        """Positions of the pixels that show, relative to the hot spot."""
        hx, hy = self.hotspot
        return {(i % self.width - hx, i // self.width - hy)
                for i, pixel in enumerate(self.argb) if pixel >> 24}


class Capture:
    """RGB pixels of a screen rectangle, row by row."""

    def __init__(self, width: int, height: int, rgb: bytes):
        self.width, self.height, self._rgb = width, height, rgb

    @classmethod
    def from_ppm(cls, data: bytes) -> "Capture":
        fields: list[bytes] = []
        position = 0
        while len(fields) < 4:  # magic, width, height, maximum value
            while data[position:position + 1].isspace():
                position += 1
            start = position
            while not data[position:position + 1].isspace():
                position += 1
            fields.append(data[start:position])
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError("not a binary PPM of 8-bit samples")
        width, height = int(fields[1]), int(fields[2])
        return cls(width, height, data[position + 1:position + 1 + 3 * width * height])

    def pixel(self, x: int, y: int) -> tuple[int, int, int]:
        i = 3 * (y * self.width + x)
        return self._rgb[i], self._rgb[i + 1], self._rgb[i + 2]

    def rows_with_ink(self, row_height: int, darker_than: int = 128, top: int = 0,
                      left: int = 0, inset: int = 0) -> list[int]:
        """Indexes of the row_height-high bands from `top` that hold a dark pixel (text) at or
        right of `left`, looking `inset` pixels inside each band's edges (where a focus frame
        runs)."""
        return sorted({(y - top) // row_height for y in range(top, self.height)
                       if inset <= (y - top) % row_height < row_height - inset
                       for x in range(left, self.width - inset)
                       if min(self.pixel(x, y)) < darker_than})
