"""The private desktop the tests run on: Xvfb, openbox, a Wine prefix and a warm wineserver.

It is started once and reused by later tests and runs; its display number and process ids are
kept in build/e2e/environment.json, and a recorded desktop that no longer answers is replaced."""

import fcntl
import glob
import hashlib
import json
import os
import select
import shutil
import subprocess
import sys
import time
from contextlib import contextmanager
from dataclasses import asdict, dataclass
from pathlib import Path
from typing import Iterator, Optional

from . import fonts
from .helpers import build_helpers
from .paths import Paths
from .polling import wait_until
from .processes import (end_process, exists, is_alive, is_wine_system_process, run_wine_command,
                        spawn_daemon, wine_processes)

SCREEN = "1024x768x24"
PREFIX_READY_MARKER = ".e2e-ready"


@dataclass
class DesktopState:
    """What runs the private desktop."""

    display: int
    xvfb_pid: int
    openbox_pid: int
    wineserver_pid: int


def log(message: str) -> None:
    print(f"e2e: {message}", file=sys.stderr, flush=True)


class Environment:
    """Creates, checks, reuses and stops the private desktop."""

    def __init__(self, paths: Optional[Paths] = None):
        self.paths = paths or Paths.from_environment()
        self.state: Optional[DesktopState] = None

    @property
    def display(self) -> str:
        assert self.state, "environment not started: call ensure()"
        return f":{self.state.display}"

    def x_env(self, display: Optional[str] = None) -> dict:
        """Environment for X clients (xdotool, import, openbox); our display unless told."""
        display = display or (self.display if self.state else None)
        return {**os.environ, "DISPLAY": display} if display else dict(os.environ)

    def wine_env(self, display: Optional[str] = None) -> dict:
        """Environment for every Wine command: our prefix, 32-bit, quiet, no mono/gecko
        prompts, and no menu entries or file associations written to the user's home."""
        return {
            **self.x_env(display),
            "WINEPREFIX": str(self.paths.wine_prefix),
            "WINEARCH": "win32",
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        }

    def ensure(self) -> "Environment":
        """Reuses the recorded desktop when it still answers, else starts a new one."""
        with self._locked():
            build_helpers(self.paths)
            state = self._load_state()
            if state and self._is_healthy(state):
                self.state = state
                return self
            if state:
                log("recorded desktop is stale; starting a new one")
            self._discard(state)
            self.state = self._start()
            self.paths.state_file.write_text(json.dumps(asdict(self.state)))
        return self

    def stop(self) -> None:
        """Ends every process of the desktop and forgets it."""
        with self._locked():
            self._discard(self._load_state())
            self.state = None

    def is_running(self) -> bool:
        state = self._load_state()
        return bool(state and self._is_healthy(state))

    def kill_leftovers(self) -> list[int]:
        """Ends the programs a test started in the prefix (not Wine's own); returns their pids."""
        pids = [pid for pid, args in wine_processes(self.paths.wine_prefix)
                if not is_wine_system_process(args)]
        for pid in pids:
            end_process(pid, grace=0.0)
        return pids

    def prepare_prefix(self, display: str) -> None:
        """Makes the prefix ready for running a program on another display."""
        with self._locked():
            self._ensure_prefix(display)

    def _ensure_prefix(self, display: str) -> None:
        """Creates the 32-bit prefix once; a prefix left half-made, or made with other font
        settings or another Wine, is made anew."""
        prefix = self.paths.wine_prefix
        marker = prefix / PREFIX_READY_MARKER
        if marker.exists() and marker.read_text() == self._prefix_stamp():
            return
        started = time.monotonic()
        if prefix.exists():
            shutil.rmtree(prefix)
        env = self.wine_env(display)
        self._run_logged(["wineboot", "--init"], env, "wineboot")
        registry = fonts.write_registry_file(self.paths.work / "fonts.reg")
        self._run_logged(["wine", "regedit", "/S", str(registry)], env, "regedit")
        # Waiting for the server to exit makes sure the registry is on disk.
        self._run_logged(["wineserver", "-w"], env, "wineserver-wait")
        marker.write_text(self._prefix_stamp())
        log(f"created Wine prefix {prefix} in {time.monotonic() - started:.1f} s")

    def _prefix_stamp(self) -> str:
        """What the prefix was made with: the Wine version and the font settings."""
        settings = hashlib.sha256(fonts.registry_text().encode("utf-8")).hexdigest()[:16]
        return f"{self._wine_version()}\nfonts {settings}"

    @contextmanager
    def _locked(self) -> Iterator[None]:
        self.paths.work.mkdir(parents=True, exist_ok=True)
        with open(self.paths.lock_file, "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            yield

    def _load_state(self) -> Optional[DesktopState]:
        try:
            return DesktopState(**json.loads(self.paths.state_file.read_text()))
        except (OSError, ValueError, TypeError):
            return None

    def _is_healthy(self, state: DesktopState) -> bool:
        return (is_alive(state.xvfb_pid, "Xvfb") and is_alive(state.openbox_pid, "openbox")
                and is_alive(state.wineserver_pid, "wineserver")
                and (self.paths.wine_prefix / PREFIX_READY_MARKER).exists()
                and self._window_manager_runs(f":{state.display}"))

    def _discard(self, state: Optional[DesktopState]) -> None:
        self.kill_leftovers()
        self._end_wine()
        if state:
            for pid, name in ((state.wineserver_pid, "wineserver"),
                              (state.openbox_pid, "openbox"), (state.xvfb_pid, "Xvfb")):
                if is_alive(pid, name):
                    end_process(pid)
        self.paths.state_file.unlink(missing_ok=True)

    def _end_wine(self) -> None:
        """Ends the prefix's server and every Wine process, so none can start a new server."""
        if self.paths.wine_prefix.exists():
            subprocess.run(["wineserver", "-k"], env=self.wine_env(),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for pid, _ in wine_processes(self.paths.wine_prefix):
            end_process(pid, grace=2.0)

    def _start(self) -> DesktopState:
        started = time.monotonic()
        daemons: list[int] = []
        try:
            state = self._start_daemons(daemons)
        except BaseException:
            self.state = None
            for pid in reversed(daemons):
                end_process(pid)
            raise
        log(f"desktop {self.display} ready in {time.monotonic() - started:.1f} s")
        return state

    def _start_daemons(self, daemons: list) -> DesktopState:
        """Starts Xvfb, openbox and wineserver, appending each pid to daemons as it starts."""
        xvfb, display = self._start_xvfb()
        daemons.append(xvfb)
        daemons.append(spawn_daemon(["openbox", "--sm-disable"], self.x_env(display),
                                    self.paths.logs / "openbox.log"))
        wait_until(lambda: self._window_manager_runs(display), 15, 0.05, "openbox to manage")
        self._ensure_prefix(display)
        daemons.append(self._start_wineserver(display))
        self.state = DesktopState(int(display[1:]), *daemons)
        self._warm_up()
        return self.state

    def _start_xvfb(self) -> tuple[int, str]:
        """Xvfb picks a free display itself (-displayfd) and tells us its number."""
        reader, writer = os.pipe()
        args = ["Xvfb", "-displayfd", str(writer), "-screen", "0", SCREEN,
                "-nolisten", "tcp", "-noreset"]
        xvfb = spawn_daemon(args, dict(os.environ), self.paths.logs / "xvfb.log", (writer,))
        os.close(writer)
        try:
            number = self._read_display_number(reader)
        finally:
            os.close(reader)
        if not number.isdigit():
            raise RuntimeError(f"Xvfb did not start; see {self.paths.logs / 'xvfb.log'}")
        return xvfb, f":{number}"

    @staticmethod
    def _read_display_number(reader: int) -> str:
        """Reads up to the newline: Xvfb dies if the pipe closes before it wrote all."""
        text = b""
        deadline = time.monotonic() + 30
        while not text.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([reader], [], [], max(0.0, deadline - time.monotonic()))
            chunk = os.read(reader, 32) if ready else b""
            if not chunk:
                break
            text += chunk
        return text.decode().strip()

    def _window_manager_runs(self, display: str) -> bool:
        result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                env=self.x_env(display), capture_output=True, text=True,
                                timeout=10)
        return result.returncode == 0 and "window id" in result.stdout

    def _server_sockets(self) -> list[Path]:
        """The prefix's server socket: upstream Wine uses /tmp/.wine-UID, Debian's a mkdtemp dir."""
        info = os.stat(self.paths.wine_prefix)
        server_dir = f"server-{info.st_dev:x}-{info.st_ino:x}"
        return [Path(p) for pattern in (f".wine-{os.getuid()}", "wine-*")
                for p in glob.glob(f"/tmp/{pattern}/{server_dir}/socket")]

    def _start_wineserver(self, display: str) -> int:
        """A persistent server spares every Wine command the server's start-up."""
        # No server runs for the prefix now, so a socket left by a killed one is stale.
        for socket in self._server_sockets():
            socket.unlink(missing_ok=True)
        server = spawn_daemon(["wineserver", "--foreground", "--persistent"],
                              self.wine_env(display), self.paths.logs / "wineserver.log")
        wait_until(lambda: not exists(server) or self._server_sockets(), 30, 0.05,
                   "wineserver to listen")
        if not exists(server):
            raise RuntimeError(f"wineserver exited; see {self.paths.logs / 'wineserver.log'}")
        return server

    def _warm_up(self) -> None:
        """The first Wine program starts Wine's services and desktop; let that happen here."""
        code, _, err = run_wine_command(["wine", str(self.paths.helper("winstate")), "focus"],
                                        self.wine_env(), timeout=120)
        if code != 0:
            raise RuntimeError(f"first Wine program failed ({code}): {err!r}")

    def _run_logged(self, args: list[str], env: dict, name: str) -> None:
        log_path = self.paths.logs / f"{name}.log"
        log_path.parent.mkdir(parents=True, exist_ok=True)
        with open(log_path, "wb") as output:
            result = subprocess.run(args, env=env, stdin=subprocess.DEVNULL, stdout=output,
                                    stderr=subprocess.STDOUT, timeout=900)
        if result.returncode != 0:
            raise RuntimeError(f"{' '.join(args)} failed ({result.returncode}); see {log_path}")

    @staticmethod
    def _wine_version() -> str:
        return subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout
