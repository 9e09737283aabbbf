"""Varnel with 200 application windows of which 5 hang: start-up and a refresh end within the
bounded waits for the hung windows' icons. A helper program starts Varnel and clicks refresh,
and times both with the high-resolution clock; start-up on an empty desktop, measured in the
same run, is the baseline (most of it is Wine starting a process)."""

import varnel_e2e
from varnel_e2e import DesktopTestCase
from varnel_e2e.marking import run_helper, windows_path

WINDOWS = 200
HUNG = 5
# How long Varnel waits for a window's small icon (TWindowList::kSmallIconWaitMs).
ICON_WAIT_MS = 100
# Generous room for the 195 windows that answer, on a busy machine.
SLACK_MS = 3000


class ScaleTest(DesktopTestCase):
    def start_timed(self) -> dict:
        """Starts Varnel through the helper; its figures (the form's handle among them)."""
        self.require_varnel()
        started = run_helper(self.desktop, "starttimer", "start",
                             windows_path(self.environment.paths.varnel_exe))
        self.assertGreater(started.get("ms", -1), 0, f"starttimer: {started}")
        return started

    def close(self, form: int) -> None:
        self.assertTrue(self.desktop.winstate.close(form))
        self.desktop.wait_until_gone([form], timeout=30)

    def test_start_up_and_refresh_with_200_windows_of_which_5_hang(self) -> None:
        baseline = self.start_timed()
        self.close(baseline["form"])

        targets = self.desktop.start_targets(f"numbered={WINDOWS - HUNG}", f"hung={HUNG}")
        self.assertEqual(len(targets.windows), WINDOWS)
        started = self.start_timed()
        form = started["form"]
        self.desktop.screenshot("started", settle=form)
        # The refresh button must not lie under a target window.
        self.desktop.focus_window(form)
        refreshed = run_helper(self.desktop, "starttimer", "refresh", form)
        self.assertGreater(refreshed.get("ms", -1), 0, f"starttimer: {refreshed}")
        self.desktop.screenshot("refreshed", settle=form)

        bound = HUNG * ICON_WAIT_MS + SLACK_MS
        print(f"\nstart-up, empty desktop (baseline):      {baseline['ms']:8.1f} ms"
              f"\nstart-up, {WINDOWS} windows of which {HUNG} hang:  {started['ms']:8.1f} ms"
              f" ({started['ms'] / baseline['ms']:.2f}x the baseline,"
              f" {started['ms'] - baseline['ms']:+.1f} ms)"
              f"\nrefresh, the same windows:               {refreshed['ms']:8.1f} ms")
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
        self.assertLess(started["ms"] - baseline["ms"], bound)
        self.assertLess(refreshed["ms"], bound)
        # Still answering: the hung windows held it no longer than their waits.
        self.desktop.settle(form)
        self.close(form)


if __name__ == "__main__":
    varnel_e2e.main()
