"""Command line: python3 -m varnel_e2e {setup,teardown,status,run} (with tests/e2e on PYTHONPATH).

setup     start (or reuse) the private desktop, build the helper programs and start a new
          figures report (build/e2e/figures.json)
teardown  stop the private desktop
status    print the recorded desktop and whether it still answers
run       run Varnel.exe: on $DISPLAY if set, else on the private desktop with a screenshot"""

import argparse
import json
import os
import signal
import sys
import time
from typing import NoReturn

from .desktop import Desktop
from .environment import Environment, log
from .figures import Figures
from .polling import WaitTimeout, wait_until

# Programs every Wine installation carries, started beside Varnel on the private desktop.
WINE_PROGRAMS = ("notepad", "winemine")


def setup(environment: Environment) -> int:
    started = time.monotonic()
    environment.ensure()
    Figures(environment.paths).start_report()
    log(f"desktop {environment.display} usable after {time.monotonic() - started:.1f} s")
    return 0


def teardown(environment: Environment) -> int:
    environment.stop()
    return 0


def status(environment: Environment) -> int:
    recorded = environment.paths.state_file
    print(recorded.read_text() if recorded.exists() else "{}")
    print(json.dumps({"running": environment.is_running()}))
    return 0


def run_on_display(environment: Environment, display: str) -> NoReturn:
    """Becomes Varnel on the user's display, so the script's exit code is Varnel's."""
    if environment.is_running():
        log("stopping the private test desktop: one Wine server cannot serve two displays")
        environment.stop()
    environment.prepare_prefix(display)
    exe = environment.paths.varnel_exe
    os.execvpe("wine", ["wine", str(exe)], environment.wine_env(display))


def _interrupt(signum, frame) -> None:
    raise KeyboardInterrupt


def wait_for_interrupt(process) -> int:
    """Waits until Varnel ends (its exit code) or the user stops the script (0)."""
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, _interrupt)
    try:
        return process.popen.wait()
    except KeyboardInterrupt:
        return 0


def run_headless(environment: Environment, interactive: bool) -> int:
    """Runs Varnel on the private desktop, saves build/run-screenshot.png, then stops or waits."""
    environment.ensure()
    desktop = Desktop(environment, "run")
    try:
        # The private desktop has no windows of its own: two of Wine's programs give the list
        # something to mark and hide.
        for program in WINE_PROGRAMS:
            desktop.start_wine_program(program)
        wait_until(lambda: len([w for w in desktop.winstate.find(visible=True) if w["caption"]])
                   >= len(WINE_PROGRAMS), 60, 0.2, "Wine's programs to show their windows")
        process = desktop.start_varnel()
        form = desktop.wait_for_main_form()
        desktop.settle(form["hwnd"])
        shot = desktop.x.screenshot(environment.paths.build / "run-screenshot.png")
        log(f"main form {form['hwnd']:#x} \"{form['caption']}\" is up; screenshot: {shot}")
        if interactive:
            log(f"Varnel runs on display {environment.display}; Ctrl+C stops it")
            return wait_for_interrupt(process)
        desktop.winstate.close(form["hwnd"])
        try:
            return process.wait(10)
        except WaitTimeout:
            log("Varnel did not end within 10 s of WM_CLOSE; killing it")
            return 1
    finally:
        desktop.stop_all()
        environment.stop()


def main() -> int:
    parser = argparse.ArgumentParser(prog="varnel_e2e", description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("command", choices=["setup", "teardown", "status", "run"])
    command = parser.parse_args().command
    environment = Environment()
    if command == "run":
        if not environment.paths.varnel_exe.exists():
            log(f"{environment.paths.varnel_exe} is missing: build it first")
            return 1
        display = os.environ.get("DISPLAY")
        if display:
            run_on_display(environment, display)
        return run_headless(environment, sys.stdin.isatty())
    return {"setup": setup, "teardown": teardown, "status": status}[command](environment)


if __name__ == "__main__":
    sys.exit(main())
