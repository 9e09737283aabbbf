"""Varnel with 200 application windows of which 5 hang: it starts, lists them and refreshes,
held up by the hung windows no longer than its bounded waits for their icons. A helper program
starts it and clicks refresh, timing both with the high-resolution clock; the figures stand
beside a minimal Win32 program started the same way in the same run (most of a start-up under
Wine is Wine starting a process), and Varnel's idle CPU time beside that program's."""

import os
import time
from pathlib import Path

import varnel_e2e
from varnel_e2e import GENEROUS, DesktopTestCase, wait_until
from varnel_e2e.marking import run_helper, windows_path

WINDOWS = 200
HUNG = 5
IDLE_SECONDS = 20
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid: int) -> float:
    """User and system CPU time of a Unix process (Wine runs a Windows program in the process
    `wine program.exe` started)."""
    fields = Path(f"/proc/{pid}/stat").read_text().rpartition(")")[2].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


class ScaleTest(DesktopTestCase):
    def start_timed(self, exe: Path) -> dict:
        """Starts a program through the helper; its figures (its window's handle among them)."""
        started = run_helper(self.desktop, "starttimer", "start", windows_path(exe))
        self.assertTrue(started.get("done"), f"starttimer: {started}")
        return started

    def close(self, window: int) -> None:
        self.assertTrue(self.desktop.winstate.close(window))
        self.desktop.wait_until_gone([window], timeout=GENEROUS)

    def test_start_up_and_refresh_with_200_windows_of_which_5_hang(self) -> None:
        self.require_varnel()
        varnel, minimal = self.environment.paths.varnel_exe, self.environment.paths.helper("minimal")
        empty = self.start_timed(varnel)
        self.close(empty["form"])

        targets = self.desktop.start_targets(f"numbered={WINDOWS - HUNG}", f"hung={HUNG}")
        self.assertEqual(len(targets.windows), WINDOWS)
        baseline = self.start_timed(minimal)
        self.close(baseline["form"])
        started = self.start_timed(varnel)
        form = started["form"]
        self.desktop.screenshot("started", settle=form)
        self.desktop.focus_window(form)
        refreshed = run_helper(self.desktop, "starttimer", "refresh", form)
        self.assertTrue(refreshed.get("done"), f"starttimer: {refreshed}")
        self.desktop.screenshot("refreshed", settle=form)

        self.figure(f"start-up to a ready main form, {WINDOWS} windows of which {HUNG} hang",
                    started["ms"], "ms", baseline["ms"],
                    "of a minimal Win32 program started the same way beside the same windows")
        self.figure("start-up to a ready main form, empty desktop", empty["ms"], "ms",
                    baseline["ms"], f"of the minimal program beside {WINDOWS} windows")
        self.figure(f"refresh, {WINDOWS} windows of which {HUNG} hang", refreshed["ms"], "ms")
        if refreshed.get("raised"):
            print("(Wine's stacking kept a target over the refresh button: the form was raised)")
        if refreshed.get("sent_again"):
            print(f"(Wine lost {refreshed['sent_again']} of the button's inputs: sent again)")
        if refreshed.get("wine"):
            # Measured with a helper: the query returns 0 in well under a millisecond, even
            # for a window whose thread hangs, and the window never sees it.
            print("(under Wine a window of another program is never asked for its icon: the"
                  " hung windows cost no wait here; the headless tests and benchmarks count"
                  " the waits)")
        # Still answering: the hung windows held it no longer than their waits.
        self.desktop.settle(form)
        self.close(form)

    def test_idle_cpu_beside_a_minimal_program(self) -> None:
        """Both idle side by side over the same seconds, each with its window shown."""
        form = self.start_main_form()
        minimal = self.desktop.start(self.environment.paths.helper("minimal"))
        window = wait_until(
            lambda: next(iter(self.desktop.winstate.find(class_="E2EMinimal", visible=True)),
                         None), GENEROUS, 0.1, "the minimal program's window")
        for hwnd in (form["hwnd"], window["hwnd"]):
            self.desktop.settle(hwnd)
        processes = {"varnel": self.varnel.popen.pid, "minimal": minimal.popen.pid}
        before = {name: cpu_seconds(pid) for name, pid in processes.items()}
        self.figure("CPU time from the process's start to a shown, idle window",
                    before["varnel"] * 1000, "ms", before["minimal"] * 1000,
                    "of a minimal Win32 program")
        # The measurement itself, not a wait for a state: both left alone for the same while.
        time.sleep(IDLE_SECONDS)
        used = {name: cpu_seconds(pid) - before[name] for name, pid in processes.items()}
        self.assertTrue(self.varnel.is_running() and minimal.is_running())
        self.figure(f"idle CPU time over {IDLE_SECONDS} s", used["varnel"] * 1000, "ms",
                    used["minimal"] * 1000, "of a minimal Win32 program idle beside it")
        self.desktop.settle(form["hwnd"])


if __name__ == "__main__":
    varnel_e2e.main()
