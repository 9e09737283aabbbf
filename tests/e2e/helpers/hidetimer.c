/* hidetimer: presses F2 (or Shift+F2) and measures how long until the given windows are all
   hidden (or all shown), polling them with the high-resolution clock.

   hidetimer hide|show HWND...

   Prints one JSON line: {"ms": elapsed milliseconds, "done": true when every window reached
   the state within 10 s}. Numbers may be decimal or 0x-prefixed hexadecimal. */
#include "driving.h"
#include "jsonout.h"

#include <stdlib.h>

enum { MaxWindows = 256, TimeoutMs = 10000 };

int main(int argc, char** argv) {
    if (argc < 3 || (strcmp(argv[1], "hide") != 0 && strcmp(argv[1], "show") != 0)) {
        json_error("usage: hidetimer hide|show HWND...");
        return 2;
    }
    const BOOL hide = strcmp(argv[1], "hide") == 0;
    HWND windows[MaxWindows];
    int count = 0;
    for (int i = 2; i < argc && count < MaxWindows; ++i)
        windows[count++] = (HWND)(ULONG_PTR)strtoull(argv[i], NULL, 0);

    const double started = now_ms();
    press_f2(!hide);
    BOOL done = FALSE;
    double elapsed = 0;
    while (!done && elapsed < TimeoutMs) {
        done = TRUE;
        for (int i = 0; i < count && done; ++i)
            if ((IsWindowVisible(windows[i]) != 0) == hide)
                done = FALSE;
        elapsed = now_ms() - started;
        if (!done)
            Sleep(0);
    }
    JsonLine line;
    json_begin(&line);
    json_key(&line, "ms");
    json_rawf(&line, "%.2f", elapsed);
    json_bool(&line, "done", done);
    json_end(&line);
    return done ? 0 : 1;
}
