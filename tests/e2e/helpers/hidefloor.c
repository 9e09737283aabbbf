/* hidefloor: the least a program can do to hide windows at a global hot key, as the floor that
   Varnel's F2 is measured against. It holds F2 and Shift+F2 itself and, at F2, hides the given
   windows (at Shift+F2 shows them without activating), asking each window's thread without
   waiting for it, as Varnel does.

   hidefloor HWND...

   Prints {"ready": true} once both keys are held ({"error"} when another program holds one),
   then pumps messages until it is killed. Numbers may be decimal or 0x-prefixed hexadecimal. */
#include "driving.h"
#include "jsonout.h"

#include <stdlib.h>

enum { MaxWindows = 256, HideKey = 1, ShowKey = 2 };

int main(int argc, char** argv) {
    HWND windows[MaxWindows];
    int count = 0;
    for (int i = 1; i < argc && count < MaxWindows; ++i)
        windows[count++] = (HWND)(ULONG_PTR)strtoull(argv[i], NULL, 0);
    register_window_class(L"E2EHideFloor", DefWindowProcW);
    HWND own = CreateWindowExW(0, L"E2EHideFloor", L"hidefloor", WS_OVERLAPPED, 0, 0, 10, 10,
                               NULL, NULL, GetModuleHandleW(NULL), NULL);
    if (!own || !RegisterHotKey(own, HideKey, 0, VK_F2) ||
        !RegisterHotKey(own, ShowKey, MOD_SHIFT, VK_F2)) {
        json_error("cannot hold F2 and Shift+F2");
        return 1;
    }
    JsonLine line;
    json_begin(&line);
    json_bool(&line, "ready", TRUE);
    json_end(&line);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        if (message.message == WM_HOTKEY) {
            const int command = message.wParam == HideKey ? SW_HIDE : SW_SHOWNA;
            for (int i = 0; i < count; ++i)
                ShowWindowAsync(windows[i], command);
            continue;
        }
        DispatchMessageW(&message);
    }
    return 0;
}
