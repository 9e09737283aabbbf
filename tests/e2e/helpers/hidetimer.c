/* hidetimer: presses F2 (or Shift+F2) and measures how long until the given windows are all
   hidden (or all shown), polling them with the high-resolution clock.

   hidetimer hide|show [-key VK] HWND...     VK: another key than F2 (with Shift to show)

   Prints one JSON line: {"ms": elapsed milliseconds, "done": true when every window reached
   the state, "pressed_again": true when the press was lost (driving.h) and made again}.
   Numbers may be decimal or 0x-prefixed hexadecimal. */
#include "driving.h"
#include "jsonout.h"

#include <stdlib.h>

enum { MaxWindows = 256, TimeoutMs = GenerousTimeoutMs };

int main(int argc, char** argv) {
    if (argc < 3 || (strcmp(argv[1], "hide") != 0 && strcmp(argv[1], "show") != 0)) {
        json_error("usage: hidetimer hide|show [-key VK] HWND...");
        return 2;
    }
    const BOOL hide = strcmp(argv[1], "hide") == 0;
    int first = 2;
    WORD key = VK_F2;
    if (argc > 4 && strcmp(argv[2], "-key") == 0) {
        key = (WORD)strtoul(argv[3], NULL, 0);
        first = 4;
    }
    HWND windows[MaxWindows];
    int count = 0;
    for (int i = first; i < argc && count < MaxWindows; ++i)
        windows[count++] = (HWND)(ULONG_PTR)strtoull(argv[i], NULL, 0);

    double started = now_ms();
    press_hot_key(key, !hide);
    BOOL done = FALSE;
    BOOL pressedAgain = FALSE;
    double elapsed = 0;
    while (!done && elapsed < TimeoutMs) {
        int reached = 0;
        for (int i = 0; i < count; ++i)
            if ((IsWindowVisible(windows[i]) != 0) != hide)
                ++reached;
        done = reached == count;
        if (!done && hot_key_lost(reached > 0, started, &pressedAgain)) {
            /* The time is that of the press that was taken. */
            started = now_ms();
            press_hot_key(key, !hide);
        }
        elapsed = now_ms() - started;
        if (!done)
            Sleep(0);
    }
    JsonLine line;
    json_begin(&line);
    json_key(&line, "ms");
    json_rawf(&line, "%.2f", elapsed);
    json_bool(&line, "done", done);
    json_bool(&line, "pressed_again", pressedAgain);
    json_end(&line);
    return done ? 0 : 1;
}
