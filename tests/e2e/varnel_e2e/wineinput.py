"""Wine's input quirks as the harness meets them on the X side, in one place (the helper
programs' are in helpers/driving.h), each with what is done about it:

- Key presses reach Wine, and with them its global hot keys (F2, Shift+F2), only while one of
  its windows has the X focus; hiding the focused window (F2 hides Varnel) leaves none. A hot
  key is therefore pressed after giving the X focus to a Wine window that is shown.
- An injected modifier is sometimes lost: Wine re-reads its key state from the X server when
  the focus moves, and Shift+F2 may arrive as F2, or not at all. A hot key whose effect has not
  come after a while is pressed once more; the hot keys pressed this way must leave things as
  they are when pressed twice (F2 while hidden, Shift+F2 while shown).
- Wine's own stacking may keep a test window over the form even when the window manager shows
  the form on top; X-side clicks go by the window manager's stacking, so the harness clicks
  through X (xdotool). The helpers' SendInput goes by Wine's and deals with it in driving.h."""

from typing import Callable, TypeVar

from .polling import WaitTimeout, wait_until

T = TypeVar("T")

# How long a hot key's effect may take before the press counts as lost and is pressed again.
LOST_PRESS_SECONDS = 3.0
# How long any state may take on a machine busy with other work.
GENEROUS_SECONDS = 60.0


def press_hot_key(desktop, keys: str, done: Callable[[], T], what: str, keyboard: int) -> T:
    """Gives the X focus to the Wine window `keyboard` (shown), presses keys (xdotool names)
    and waits until done() holds; returns what done() returned."""
    desktop.focus_window(keyboard)
    desktop.press(keys)
    try:
        return wait_until(done, LOST_PRESS_SECONDS, 0.1, what)
    except WaitTimeout:
        desktop.focus_window(keyboard)
        desktop.press(keys)
        return wait_until(done, GENEROUS_SECONDS, 0.1, f"{what} ({keys} pressed again)")
