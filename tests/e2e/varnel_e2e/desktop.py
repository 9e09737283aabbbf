"""What a test does on the desktop: start programs, find and watch windows, type, click, look."""

import subprocess
from pathlib import Path
from typing import Callable, Iterable, Optional

from .environment import SCREEN, Environment
from .mainform import MAIN_FORM_CLASS
from .polling import GENEROUS, wait_until
from .winstate import WM_NULL, WinState
from . import wineinput
from .wineprocess import WineProcess
from .x11 import X11, Capture


class Targets:
    """A running targets.exe and the windows it made, by kind."""

    def __init__(self, process: WineProcess, lines: list[dict]):
        self.process = process
        self.windows = {line["kind"]: line for line in lines if "kind" in line}
        self.windows_pid = next(line["pid"] for line in lines if line.get("ready"))

    def hwnd(self, kind: str) -> int:
        return self.windows[kind]["hwnd"]


class Desktop:
    """The API tests use; one per test, on a shared running Environment."""

    def __init__(self, environment: Environment, artifact_prefix: str = "run"):
        self.environment = environment
        self.paths = environment.paths
        self.winstate = WinState(environment)
        self.x = X11(environment)
        self.artifact_prefix = artifact_prefix
        self._started: list[WineProcess] = []

    # Programs

    def start(self, exe: Path, *args: str, capture_stdout: bool = False) -> WineProcess:
        """Starts a Windows program under Wine; its output goes to build/e2e/logs."""
        if not exe.exists():
            raise FileNotFoundError(f"{exe} does not exist: build it first")
        return self._spawn(["wine", str(exe), *args], exe.stem, exe.name, capture_stdout)

    def start_wine_program(self, name: str) -> WineProcess:
        """Starts one of Wine's own programs (notepad, winemine, ...) by name."""
        return self._spawn(["wine", name], name, name, False)

    def _spawn(self, command: list[str], log_name: str, process_name: str,
               capture_stdout: bool) -> WineProcess:
        log = self.paths.logs / f"{self.artifact_prefix}-{log_name}.log"
        log.parent.mkdir(parents=True, exist_ok=True)
        with open(log, "ab") as output:
            popen = subprocess.Popen(
                command, env=self.environment.wine_env(), stdin=subprocess.DEVNULL,
                stdout=subprocess.PIPE if capture_stdout else output, stderr=output,
                start_new_session=True)
        process = WineProcess(popen, process_name, log)
        self._started.append(process)
        return process

    def start_varnel(self) -> WineProcess:
        return self.start(self.paths.varnel_exe)

    def start_targets(self, *kinds: str) -> Targets:
        """Starts targets.exe making the given kinds of window; returns once they exist."""
        process = self.start(self.paths.helper("targets"), *kinds, capture_stdout=True)
        lines = process.read_json_until(lambda line: "ready" in line or "error" in line)
        if "error" in lines[-1]:
            raise RuntimeError(f"targets.exe {kinds}: {lines[-1]}")
        return Targets(process, lines)

    def stop_all(self) -> None:
        """Kills what this desktop started and anything else a test left in the prefix."""
        for process in self._started:
            process.kill()
        self._started.clear()
        self.environment.kill_leftovers()

    # Windows

    def wait_for_main_form(self, timeout: float = GENEROUS) -> dict:
        """The first visible main form, once there is one (Wine may take a while to start)."""
        return wait_until(
            lambda: next(iter(self.winstate.find(class_=MAIN_FORM_CLASS, visible=True)), None),
            timeout, 0.1, "a visible main form")

    def child_of_class(self, parent: int, class_name: str) -> dict:
        """The one child window (any level) of the given class."""
        found = [c for c in self.winstate.children(parent) if c["class"] == class_name]
        if len(found) != 1:
            raise AssertionError(f"{len(found)} children of class {class_name} in {parent:#x}")
        return found[0]

    def wait_for_state(self, hwnd: int, condition: Callable[[Optional[dict]], bool],
                       timeout: float = GENEROUS, what: str = "window state") -> Optional[dict]:
        """Waits until condition(window) holds; window is None once it is destroyed."""
        def probe():
            window = self.winstate.window(hwnd)
            return (True, window) if condition(window) else None

        return wait_until(probe, timeout, 0.1, f"{what} of {hwnd:#x}")[1]

    def wait_until_gone(self, hwnds: Iterable[int], timeout: float = GENEROUS) -> None:
        remaining = set(hwnds)
        wait_until(lambda: not any(self.winstate.window(h) for h in remaining), timeout, 0.1,
                   f"windows {sorted(remaining)} to be destroyed")

    # Input

    def focus_window(self, hwnd: int, timeout: float = GENEROUS) -> None:
        """Activates the window through the window manager and waits until Wine agrees."""
        xwindow = wait_until(lambda: self._x_window(hwnd), timeout, 0.1, f"X window of {hwnd:#x}")
        self.x.activate(xwindow.xid)
        wait_until(lambda: self.winstate.focus()["foreground"] == hwnd, timeout, 0.1,
                   f"{hwnd:#x} to become the foreground window")

    def press(self, *keys: str) -> None:
        """Key presses (xdotool names) to whatever window has the keyboard focus."""
        self.x.key(*keys)

    def press_hot_key(self, keys: str, done: Callable, what: str, keyboard: int):
        """A global hot key pressed from the Wine window `keyboard`, and its effect awaited
        (see wineinput for why both)."""
        return wineinput.press_hot_key(self, keys, done, what, keyboard)

    def click(self, x: int, y: int, button: int = 1) -> None:
        self.x.click(x, y, button)

    def click_in_client(self, hwnd: int, x: int, y: int, button: int = 1) -> None:
        """Clicks at a point given in the window's client coordinates."""
        left, top = self.winstate.window(hwnd)["client_origin"]
        self.x.click(left + x, top + y, button)

    def minimize_window(self, hwnd: int) -> None:
        """Minimises the window with the window manager's title-bar button."""
        self.x.minimize(self._require_x_window(hwnd).xid)

    def move_window(self, hwnd: int, x: int, y: int, timeout: float = GENEROUS) -> dict:
        """Moves the client area's top-left corner to screen (x, y) as a user would."""
        self.x.move(self._require_x_window(hwnd).xid, x, y)
        return self.wait_for_state(hwnd, lambda w: w and w["client_origin"] == [x, y], timeout,
                                   f"client origin ({x}, {y})")

    def resize_window(self, hwnd: int, width: int, height: int, timeout: float = GENEROUS) -> dict:
        """Resizes the client area to width x height as a user would."""
        self.x.resize(self._require_x_window(hwnd).xid, width, height)
        return self.wait_for_state(hwnd, lambda w: w and w["client"][2:] == [width, height],
                                   timeout, f"client size {width}x{height}")

    def _x_window(self, hwnd: int):
        window = self.winstate.window(hwnd)
        return self.x.window_for(window) if window else None

    def _require_x_window(self, hwnd: int):
        xwindow = self._x_window(hwnd)
        if xwindow is None:
            raise RuntimeError(f"window {hwnd:#x} has no X window (hidden or minimised?)")
        return xwindow

    # Looking

    def settle(self, hwnd: int, rounds: int = 3) -> None:
        """Round trips to the window's thread: each one lets it handle what was queued before,
        painting included, so what it drew is on the screen afterwards."""
        self.winstate.send(hwnd, WM_NULL, repeat=rounds)

    def capture_child(self, parent: int, class_name: str) -> Capture:
        """The pixels of parent's one child of the given class, after settling parent."""
        self.settle(parent)
        return self.x.capture(self.child_of_class(parent, class_name)["rect"])

    def screen_size(self) -> tuple[int, int]:
        """Width and height of the private desktop's screen."""
        w, h, _depth = SCREEN.split("x")
        return int(w), int(h)

    def screenshot(self, step: str, settle: Optional[int] = None) -> Path:
        """The screen as build/e2e/<test>-<step>.png, after settling window `settle` if given."""
        if settle:
            self.settle(settle)
        return self.x.screenshot(self.paths.work / f"{self.artifact_prefix}-{step}.png")
