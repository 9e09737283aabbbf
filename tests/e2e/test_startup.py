"""Varnel starts with its main form owned by the zero-size application window, and closes."""

import varnel_e2e
from varnel_e2e import GENEROUS, MAIN_FORM_CLASS, DesktopTestCase, height, width


class StartupTest(DesktopTestCase):
    """One Varnel per test, its main form up before the test body runs."""

    def setUp(self) -> None:
        super().setUp()
        self.form = self.start_main_form()

    def test_main_form_is_owned_by_the_application_window(self) -> None:
        self.desktop.screenshot("main-form", settle=self.form["hwnd"])
        self.assertEqual(self.form["class"], MAIN_FORM_CLASS)
        self.assertTrue(self.form["visible"])
        self.assertFalse(self.form["iconic"])
        self.assertNotEqual(self.form["caption"].strip(), "", "the main form has no caption")
        self.assertGreater(width(self.form["rect"]), 0)
        self.assertGreater(height(self.form["rect"]), 0)

        application = self.desktop.winstate.window(self.form["owner"])
        self.assertIsNotNone(application, f"main form's owner {self.form['owner']:#x} missing")
        self.assertTrue(application["visible"])
        self.assertEqual((width(application["rect"]), height(application["rect"])), (0, 0))
        self.assertEqual(application["owner"], 0)
        self.assertEqual(application["pid"], self.form["pid"])

    def test_one_main_form_per_process(self) -> None:
        forms = self.desktop.winstate.find(class_=MAIN_FORM_CLASS, pid=self.form["pid"])
        self.assertEqual([form["hwnd"] for form in forms], [self.form["hwnd"]])

    def test_wm_close_on_the_main_form_ends_the_program(self) -> None:
        self.assertTrue(self.desktop.winstate.close(self.form["hwnd"]))
        self.assertEqual(self.varnel.wait(GENEROUS), 0)
        self.assertIsNone(self.desktop.winstate.window(self.form["hwnd"]))
        self.assertEqual(self.desktop.winstate.find(pid=self.form["pid"]), [])

    def test_alt_f4_ends_the_program(self) -> None:
        self.desktop.focus_window(self.form["hwnd"])
        self.desktop.press("alt+F4")
        self.assertEqual(self.varnel.wait(GENEROUS), 0)


if __name__ == "__main__":
    varnel_e2e.main()
