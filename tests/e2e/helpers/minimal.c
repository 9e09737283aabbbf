/* minimal: the smallest Win32 program with a main window, the baseline the end-to-end figures
   compare Varnel with: started the same way, timed to its window answering, idle beside it.

   minimal      shows one 350x300 window (class E2EMinimal) and pumps messages until it is
                closed or killed. */
#include "driving.h"

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int main(void) {
    register_window_class(L"E2EMinimal", procedure);
    HWND window =
        CreateWindowExW(0, L"E2EMinimal", L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 350, 300, NULL, NULL, GetModuleHandleW(NULL), NULL);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
