"""A Windows program started under Wine by the harness."""

import json
import os
import select
import signal
import subprocess
import time
from pathlib import Path
from typing import Optional

from .polling import GENEROUS, WaitTimeout


class WineProcess:
    """Wraps the Popen of `wine program.exe`; Wine runs the program in that very process."""

    def __init__(self, popen: subprocess.Popen, name: str, log: Optional[Path] = None):
        self.popen = popen
        self.name = name
        self.log = log
        self._pending = b""

    def is_running(self) -> bool:
        return self.popen.poll() is None

    def wait(self, timeout: float) -> int:
        """Its exit code; raises WaitTimeout when it still runs after timeout seconds."""
        try:
            return self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            raise WaitTimeout(f"{self.name} still runs after {timeout:g} s") from None

    def kill(self) -> None:
        if self.is_running():
            try:
                os.killpg(self.popen.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.popen.wait(10)
        for stream in (self.popen.stdout, self.popen.stderr):
            if stream:
                stream.close()

    def read_json_until(self, done, timeout: float = GENEROUS) -> list[dict]:
        """Reads JSON lines from its stdout until done(line) holds; returns every line read."""
        deadline = time.monotonic() + timeout
        lines: list[dict] = []
        while not lines or not done(lines[-1]):
            line = self._read_line(deadline)
            if line is None:
                raise WaitTimeout(f"{self.name} printed {lines} and then nothing matching")
            if line.strip():
                lines.append(json.loads(line))
        return lines

    def _read_line(self, deadline: float) -> Optional[str]:
        stream = self.popen.stdout
        while b"\n" not in self._pending:
            remaining = deadline - time.monotonic()
            ready, _, _ = select.select([stream], [], [], max(0.0, remaining))
            chunk = os.read(stream.fileno(), 65536) if ready else b""
            if not chunk:
                return None
            self._pending += chunk
        line, _, self._pending = self._pending.partition(b"\n")
        return line.decode("utf-8")
