/* hotkeyhider: the baseline for F2 - a program that hides and shows the given windows itself
   at its own global hot keys, as directly as the system allows.

   hotkeyhider HWND...    registers F3 (hide) and Shift+F3 (show), prints {"ready"}, and on
                          each key asks every window to hide or show, without waiting for
                          their programs, until it is killed.
   Numbers may be decimal or 0x-prefixed hexadecimal. */
#include "driving.h"
#include "jsonout.h"

#include <stdlib.h>

enum { MaxWindows = 256, HideKey = 1, ShowKey = 2 };

int main(int argc, char** argv) {
    HWND windows[MaxWindows];
    int count = 0;
    for (int i = 1; i < argc && count < MaxWindows; ++i) {
        windows[count++] = (HWND)(ULONG_PTR)strtoull(argv[i], NULL, 0);
    }
    if (!RegisterHotKey(NULL, HideKey, 0, VK_F3) ||
        !RegisterHotKey(NULL, ShowKey, MOD_SHIFT, VK_F3)) {
        json_error("RegisterHotKey failed");
        return 2;
    }
    JsonLine line;
    json_begin(&line);
    json_bool(&line, "ready", TRUE);
    json_end(&line);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        if (message.message == WM_HOTKEY) {
            const int command = message.wParam == HideKey ? SW_HIDE : SW_SHOWNA;
            for (int i = 0; i < count; ++i) {
                ShowWindowAsync(windows[i], command);
            }
        }
        DispatchMessageW(&message);
    }
    return 0;
}
