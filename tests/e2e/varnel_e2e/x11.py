"""The X side of the desktop: xdotool input, X window geometry, screenshots."""

import re
import subprocess
from dataclasses import dataclass
from pathlib import Path
from typing import Optional

# xwininfo -root -tree lines: id "name": ("res" "class")  WxH+relX+relY  +absX+absY
_TREE_LINE = re.compile(
    r'^\s*(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): \(.*\)\s+(\d+)x(\d+)[+-]-?\d+[+-]-?\d+'
    r'\s+\+(-?\d+)\+(-?\d+)\s*$')


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

    def type_text(self, text: str) -> None:
        self._run("xdotool", "type", "--clearmodifiers", text)

    def move_mouse(self, x: int, y: int) -> None:
        self._run("xdotool", "mousemove", "--sync", str(x), str(y))

    def click(self, x: int, y: int, button: int = 1) -> None:
        """Moves the pointer to screen (x, y) and clicks there."""
        self._run("xdotool", "mousemove", "--sync", str(x), str(y), "click", str(button))

    def windows(self) -> list[XWindow]:
        """Every X window on the screen, parsed from xwininfo."""
        found = []
        for line in self._run("xwininfo", "-root", "-tree").splitlines():
            match = _TREE_LINE.match(line)
            if match:
                xid, name, w, h, x, y = match.groups()
                found.append(XWindow(int(xid, 16), name, int(x), int(y), int(w), int(h)))
        return found

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

    def move(self, xid: int, x: int, y: int) -> None:
        self._run("xdotool", "windowmove", str(xid), str(x), str(y))

    def resize(self, xid: int, width: int, height: int) -> None:
        self._run("xdotool", "windowsize", str(xid), str(width), str(height))

    def screenshot(self, path: Path) -> Path:
        """The whole screen as a PNG."""
        path.parent.mkdir(parents=True, exist_ok=True)
        self._run("import", "-display", self._environment.display, "-window", "root", str(path))
        return path
