"""Starting, finding and ending the Unix processes the harness owns."""

import os
import signal
import subprocess
import tempfile
from pathlib import Path
from typing import Iterator, Optional

from .polling import WaitTimeout, wait_until


def command_line(pid: int) -> list[str]:
    """The process's arguments, or [] when it is gone or a zombie."""
    try:
        raw = Path(f"/proc/{pid}/cmdline").read_bytes()
    except OSError:
        return []
    return [part.decode(errors="replace") for part in raw.split(b"\0") if part]


def exists(pid: int) -> bool:
    """True while the process runs (a zombie has ended)."""
    try:
        stat = Path(f"/proc/{pid}/stat").read_text()
    except OSError:
        return False
    return stat.rpartition(")")[2].split()[0] not in ("Z", "X")


def is_alive(pid: Optional[int], name: str) -> bool:
    """True when pid runs a program whose command line mentions name (guards against reuse)."""
    return bool(pid) and exists(pid) and any(name in part for part in command_line(pid))


def spawn_daemon(args: list[str], env: dict, log: Path, keep_fds: tuple[int, ...] = ()) -> int:
    """Starts a background service in its own session, so a test's end does not take it along,
    and returns its pid. Not a Popen: the service is meant to outlive this Python process."""
    log.parent.mkdir(parents=True, exist_ok=True)
    for fd in keep_fds:
        os.set_inheritable(fd, True)
    actions = [(os.POSIX_SPAWN_OPEN, 0, os.devnull, os.O_RDONLY, 0),
               (os.POSIX_SPAWN_OPEN, 1, str(log), os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644),
               (os.POSIX_SPAWN_DUP2, 1, 2)]
    return os.posix_spawnp(args[0], args, env, file_actions=actions, setsid=True)


def run_wine_command(args: list[str], env: dict, timeout: float) -> tuple[int, bytes, bytes]:
    """Runs a Wine command to its end; returns (exit code, stdout, stderr).

    Output goes through files, not pipes: Wine services the command may start inherit its
    output handles and would hold a pipe open long after the command ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(args, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                              timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        return code, out.read(), err.read()


def end_process(pid: int, grace: float = 3.0) -> None:
    """SIGTERM, then SIGKILL if the process is still there after grace seconds."""
    for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, 5.0)):
        try:
            os.kill(pid, sig)
        except ProcessLookupError:
            return
        try:
            wait_until(lambda: not exists(pid), wait, 0.05, f"pid {pid} to end")
            return
        except WaitTimeout:
            continue


def _environment_of(pid: int) -> dict[str, str]:
    try:
        raw = Path(f"/proc/{pid}/environ").read_bytes()
    except OSError:
        return {}
    pairs = (item.decode(errors="replace").partition("=") for item in raw.split(b"\0") if item)
    return {key: value for key, _, value in pairs}


def wine_processes(prefix: Path) -> Iterator[tuple[int, list[str]]]:
    """Every live process started with WINEPREFIX=prefix, with its command line."""
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        pid = int(entry.name)
        if _environment_of(pid).get("WINEPREFIX") == str(prefix):
            args = command_line(pid)
            if args:
                yield pid, args


def is_wine_system_process(args: list[str]) -> bool:
    """wineserver and the programs Wine runs from C:\\windows (services, explorer, ...)."""
    program = args[0].replace("/", "\\").lower()
    return "wineserver" in program or program.startswith("c:\\windows\\")
