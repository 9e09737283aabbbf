"""The harness itself: targets.exe's windows as winstate sees them, input through X, recovery."""

import varnel_e2e
from varnel_e2e import (GENEROUS, WM_NULL, WS_EX_APPWINDOW, WS_EX_TOOLWINDOW, DesktopTestCase,
                        Environment, WinState)
import unittest

from varnel_e2e.processes import end_process
from varnel_e2e.winstate import WinStateError
from varnel_e2e.x11 import X11

KOREAN_CAPTION = "한글 창 제목"


class TargetWindowsTest(DesktopTestCase):
    """Every kind of target window is listed with the flags and caption it was made with."""

    def setUp(self) -> None:
        super().setUp()
        self.targets = self.desktop.start_targets("all")
        listed = self.desktop.winstate.windows()
        self.by_hwnd = {window["hwnd"]: window for window in listed}

    def listed(self, kind: str) -> dict:
        hwnd = self.targets.hwnd(kind)
        self.assertIn(hwnd, self.by_hwnd, f"{kind} window {hwnd:#x} is not listed")
        return self.by_hwnd[hwnd]

    def test_captions_arrive_intact(self) -> None:
        self.desktop.screenshot("all-targets")
        for kind, made in self.targets.windows.items():
            with self.subTest(kind=kind):
                window = self.listed(kind)
                self.assertEqual(window["caption"], made["caption"])
                self.assertEqual(window["class"], "E2ETarget")
                self.assertEqual(window["pid"], self.targets.windows_pid)
        self.assertEqual(self.listed("korean")["caption"], KOREAN_CAPTION)
        self.assertEqual(len(self.listed("long")["caption"]), 300)
        self.assertEqual(self.listed("blank")["caption"], "")
        self.assertEqual(self.listed("spaces")["caption"], "     ")

    def test_owners(self) -> None:
        normal = self.targets.hwnd("normal")
        for kind in ("owned", "appwindow"):
            with self.subTest(kind=kind):
                self.assertEqual(self.listed(kind)["owner"], normal)
                self.assertEqual(self.listed(kind)["hwndparent"], normal)
        for kind in ("normal", "hidden", "minimized", "tool", "korean", "hung"):
            with self.subTest(kind=kind):
                self.assertEqual(self.listed(kind)["owner"], 0)

    def test_visibility_and_minimised_state(self) -> None:
        expected = {"normal": (True, False), "hidden": (False, False),
                    "minimized": (True, True), "hung": (True, False)}
        for kind, (visible, iconic) in expected.items():
            with self.subTest(kind=kind):
                window = self.listed(kind)
                self.assertEqual((window["visible"], window["iconic"]), (visible, iconic))

    def test_extended_styles(self) -> None:
        def has(kind: str, flag: int) -> bool:
            return bool(self.listed(kind)["exstyle"] & flag)

        self.assertTrue(has("tool", WS_EX_TOOLWINDOW))
        self.assertFalse(has("tool", WS_EX_APPWINDOW))
        self.assertTrue(has("appwindow", WS_EX_APPWINDOW))
        self.assertFalse(has("appwindow", WS_EX_TOOLWINDOW))
        self.assertFalse(has("normal", WS_EX_TOOLWINDOW | WS_EX_APPWINDOW))

    def test_hung_window_lives_on_its_own_thread_and_does_not_answer(self) -> None:
        hung = self.listed("hung")
        self.assertNotEqual(hung["tid"], self.listed("normal")["tid"])
        self.assertEqual(self.desktop.winstate.send(self.targets.hwnd("normal"), WM_NULL), 0)
        with self.assertRaises(WinStateError):
            self.desktop.winstate.send(hung["hwnd"], WM_NULL)

    def test_children_are_listed_with_their_parent(self) -> None:
        normal = self.listed("normal")
        children = self.desktop.winstate.children(normal["hwnd"])
        self.assertEqual([(c["class"], c["caption"], c["id"]) for c in children],
                         [("Button", "Child button", 100)])
        button = children[0]
        self.assertEqual(button["parent"], normal["hwnd"])
        left, top, right, bottom = normal["rect"]
        bl, bt, br, bb = button["rect"]
        self.assertTrue(left <= bl < br <= right and top <= bt < bb <= bottom, button["rect"])


class InputTest(DesktopTestCase):
    """xdotool input reaches Wine windows, and Wine reports the result."""

    def setUp(self) -> None:
        super().setUp()
        self.targets = self.desktop.start_targets("normal", "korean")

    def test_focus_follows_window_manager_activation(self) -> None:
        for kind in ("normal", "korean", "normal"):
            self.desktop.focus_window(self.targets.hwnd(kind))
            self.assertEqual(self.desktop.winstate.focus()["foreground"], self.targets.hwnd(kind))

    def test_click_activates_the_clicked_window(self) -> None:
        normal, korean = self.targets.hwnd("normal"), self.targets.hwnd("korean")
        self.desktop.move_window(korean, 500, 400)
        self.desktop.focus_window(normal)
        self.desktop.click_in_client(korean, 50, 50)
        varnel_e2e.wait_until(lambda: self.desktop.winstate.focus()["foreground"] == korean,
                              what="the clicked window to come to the front")
        self.desktop.screenshot("korean-clicked")

    def test_move_and_resize(self) -> None:
        hwnd = self.targets.hwnd("korean")
        moved = self.desktop.move_window(hwnd, 400, 300)
        self.assertEqual(moved["client_origin"], [400, 300])
        resized = self.desktop.resize_window(hwnd, 420, 260)
        self.assertEqual(resized["client"], [0, 0, 420, 260])
        self.assertEqual(resized["client_origin"], [400, 300])

    def test_alt_f4_closes_and_last_window_ends_program(self) -> None:
        for kind in ("korean", "normal"):
            self.desktop.focus_window(self.targets.hwnd(kind))
            self.desktop.press("alt+F4")
            self.desktop.wait_until_gone([self.targets.hwnd(kind)])
        self.assertEqual(self.targets.process.wait(GENEROUS), 0)

    def test_wm_close_destroys_the_window(self) -> None:
        korean = self.targets.hwnd("korean")
        self.assertTrue(self.desktop.winstate.close(korean))
        self.desktop.wait_until_gone([korean])
        self.assertIsNotNone(self.desktop.winstate.window(self.targets.hwnd("normal")))
        self.assertTrue(self.targets.process.is_running())


class EnvironmentTest(DesktopTestCase):
    """The recorded desktop is reused while it answers and replaced once part of it died."""

    def test_running_desktop_is_reused(self) -> None:
        again = Environment().ensure()
        self.assertEqual(again.state, self.environment.state)

    def test_stale_desktop_is_replaced(self) -> None:
        end_process(self.environment.state.openbox_pid)
        self.assertFalse(Environment().is_running())
        replaced = Environment().ensure()
        self.assertTrue(replaced.is_running())
        self.assertNotEqual(replaced.state.openbox_pid, self.environment.state.openbox_pid)
        self.assertIsInstance(WinState(replaced).focus()["foreground"], int)
        type(self).environment = replaced


class WindowTreeTest(unittest.TestCase):
    """The walk of the X window tree, with xwininfo replaced by a script of its answers."""

    TREE = '     0x400001 "Varnel": ("a" "b")  10x20+0+0  +5+6\n'

    def walk(self, answers: list) -> tuple[list, int]:
        x = X11(None)
        calls = []

        def run(*args: str) -> str:
            calls.append(args)
            answer = answers[min(len(calls), len(answers)) - 1]
            if isinstance(answer, Exception):
                raise answer
            return answer

        x._run = run
        return x.windows(), len(calls)

    def test_a_window_destroyed_during_the_walk_makes_it_walk_again(self) -> None:
        gone = RuntimeError("xwininfo -root -tree failed: X Error: 3: Bad Window: 0x22368e")
        drawable = RuntimeError("xwininfo -root -tree failed: X Error: 9: Bad Drawable: 0x1")
        windows, calls = self.walk([gone, drawable, self.TREE])
        self.assertEqual(calls, 3)
        self.assertEqual([(w.name, w.x, w.y, w.width, w.height) for w in windows],
                         [("Varnel", 5, 6, 10, 20)])

    def test_other_failures_and_a_tree_that_never_holds_still_are_reported(self) -> None:
        with self.assertRaises(RuntimeError):
            self.walk([RuntimeError("xwininfo: unable to open display")])
        with self.assertRaises(RuntimeError):
            self.walk([RuntimeError("X Error: 3: Bad Window: 0x1")])


if __name__ == "__main__":
    varnel_e2e.main()
