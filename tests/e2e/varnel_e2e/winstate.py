"""Reads window state through winstate.exe, which runs inside the Wine desktop.

Windows are dicts with the keys winstate prints: hwnd, owner, hwndparent, pid (Windows process
id), tid, visible, iconic, zoomed, enabled, rect and client ([left, top, right, bottom]),
client_origin ([x, y] on the screen), style, exstyle, class, caption."""

import json
from typing import Optional

from .processes import run_wine_command

WM_NULL = 0x0000
WS_EX_TOOLWINDOW = 0x00000080
WS_EX_APPWINDOW = 0x00040000


class WinStateError(RuntimeError):
    """winstate.exe refused a command."""


def width(rect: list[int]) -> int:
    return rect[2] - rect[0]


def height(rect: list[int]) -> int:
    return rect[3] - rect[1]


class WinState:
    """Runs winstate.exe commands against the desktop of one environment."""

    def __init__(self, environment):
        self._environment = environment
        self._exe = environment.paths.helper("winstate")

    def run(self, *args) -> list[dict]:
        """One winstate command; its JSON lines, parsed."""
        code, out, err = run_wine_command(["wine", str(self._exe), *map(str, args)],
                                          self._environment.wine_env(), timeout=60)
        if code != 0:
            raise WinStateError(f"winstate {args} exited {code}: {err!r}")
        return [json.loads(line) for line in out.decode("utf-8").splitlines()
                if line.startswith("{")]

    def _single(self, *args) -> dict:
        answer = self.run(*args)
        if len(answer) != 1 or "error" in answer[0]:
            raise WinStateError(f"winstate {args}: {answer}")
        return answer[0]

    def windows(self) -> list[dict]:
        """Every top-level window, in z-order (topmost first)."""
        return self.run("list")

    def window(self, hwnd: int) -> Optional[dict]:
        """One window, or None once it no longer exists."""
        answer = self.run("window", hwnd)
        return None if not answer or "error" in answer[0] else answer[0]

    def children(self, hwnd: int) -> list[dict]:
        return self.run("children", hwnd)

    def focus(self) -> dict:
        """foreground, active, focus and capture windows (0 when none)."""
        return self._single("focus")

    def find(self, **criteria) -> list[dict]:
        """Top-level windows whose keys equal every criterion, e.g. find(class_="TfVarnel")."""
        wanted = {key.rstrip("_"): value for key, value in criteria.items()}
        return [w for w in self.windows() if all(w.get(k) == v for k, v in wanted.items())]

    def close(self, hwnd: int) -> bool:
        """Posts WM_CLOSE, as the taskbar's Close does."""
        return bool(self._single("close", hwnd)["posted"])

    def send(self, hwnd: int, message: int, wparam: int = 0, lparam: int = 0,
             repeat: int = 1) -> int:
        """SendMessage with a time-out, `repeat` times in a row from one winstate process; the
        last result. Raises WinStateError when the window does not answer."""
        return self._single("send", hwnd, message, wparam, lparam, repeat)["result"]
