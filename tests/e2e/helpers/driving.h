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

#endif
