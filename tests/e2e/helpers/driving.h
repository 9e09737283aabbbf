/* Timing, message pumping and hot-key presses shared by the helpers that drive Varnel. */
#ifndef VARNEL_E2E_DRIVING_H
#define VARNEL_E2E_DRIVING_H

#include <windows.h>

#include <string.h>

/* The high-resolution clock in milliseconds. */
static inline double now_ms(void) {
    static LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    if (frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&frequency);
    }
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

/* Keeps the helper's own windows answering. */
static inline void pump(void) {
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

/* A plain window class of the helper's own, in the window colour. */
static inline void register_window_class(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

/* F2, or Shift+F2, as one SendInput call, so no other input comes between its keys. */
static inline void press_f2(BOOL shift) {
    INPUT inputs[4];
    int count = 0;
    memset(inputs, 0, sizeof(inputs));
    if (shift) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count++].ki.wVk = VK_SHIFT;
    }
    inputs[count].type = INPUT_KEYBOARD;
    inputs[count++].ki.wVk = VK_F2;
    inputs[count].type = INPUT_KEYBOARD;
    inputs[count].ki.wVk = VK_F2;
    inputs[count++].ki.dwFlags = KEYEVENTF_KEYUP;
    if (shift) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count].ki.wVk = VK_SHIFT;
        inputs[count++].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput((UINT)count, inputs, sizeof(INPUT));
}

/* The left mouse button pressed or let go where the pointer is. */
static inline void press_left(BOOL down) {
    INPUT input;
    memset(&input, 0, sizeof(input));
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(INPUT));
}

typedef struct ButtonSearch {
    const wchar_t* caption;
    HWND button;
} ButtonSearch;

static BOOL CALLBACK find_button_by_caption(HWND window, LPARAM parameter) {
    ButtonSearch* search = (ButtonSearch*)parameter;
    wchar_t caption[64] = L"";
    InternalGetWindowText(window, caption, 64);
    if (wcscmp(caption, search->caption) == 0) {
        search->button = window;
        return FALSE;
    }
    return TRUE;
}

/* Varnel's refresh button (다시보기) on its main form; NULL when there is none. */
static inline HWND find_refresh_button(HWND form) {
    ButtonSearch search = {L"\uB2E4\uC2DC\uBCF4\uAE30", NULL};
    EnumChildWindows(form, find_button_by_caption, (LPARAM)&search);
    return search.button;
}

#endif
