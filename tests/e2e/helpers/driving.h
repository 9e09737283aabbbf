/* Timing, message pumping, input and the lookups shared by the helpers that drive Varnel.

   Wine's input quirks, and what the helpers do about each, live here only:
   - An injected modifier is sometimes lost: Wine re-reads its key state from the X server when
     the keyboard focus moves (as when a sweep hides or shows the active window), and the X
     server never saw the Shift that SendInput injected, so Shift+F2 may arrive as F2 or not at
     all. hot_key_lost() tells when to press once more; the hot keys driven (F2, Shift+F2) leave
     things as they are when pressed twice.
   - A mouse press or release from SendInput is now and then dropped the same way (the button
     state is re-read from the X server): press_until() sends it again, from a place where a
     late original cannot click.
   - Wine's own stacking, which routes SendInput's mouse input, may keep a test window over
     the form even while the window manager shows the form on top: point_at() raises the form
     in Wine's stacking until the button is what lies under the pointer.
   - Wine hands a mouse button to the window holding the capture only when that window's thread
     is the foreground one; otherwise the button goes to the window under the pointer. A form
     hidden while its button holds the mouse loses the foreground as soon as the window manager
     focuses another window (on a loaded machine, at any later moment): foreground_to() gives
     the foreground back to the form's thread before the button is let go.
   (Key presses from the X side reach Wine only while one of its windows has the X focus; the
   helpers press keys with SendInput, which reaches Wine's hot keys whichever window has the
   keyboard, none too. The Python side's quirks are in varnel_e2e/wineinput.py.) */
#ifndef VARNEL_E2E_DRIVING_H
#define VARNEL_E2E_DRIVING_H

#include <windows.h>

#include <string.h>

enum {
    /* A state that has not begun to change this long after its input was sent: the input may
       have been lost (see above). Not a verdict: the input is sent again in a way that is
       harmless if the first one was only late. */
    LostInputMs = 2000,
    /* How long any one state may take on a machine busy with other work. */
    GenerousTimeoutMs = 60000
};

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

/* Pumps the helper's messages for up to a millisecond, waking at once for new ones. */
static inline void pump_a_moment(void) {
    MsgWaitForMultipleObjects(0, NULL, FALSE, 1, QS_ALLINPUT);
    pump();
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

/* A key, or Shift and the key, as one SendInput call, so no other input comes between. */
static inline void press_hot_key(WORD key, BOOL shift) {
    INPUT inputs[4];
    int count = 0;
    memset(inputs, 0, sizeof(inputs));
    if (shift) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count++].ki.wVk = VK_SHIFT;
    }
    inputs[count].type = INPUT_KEYBOARD;
    inputs[count++].ki.wVk = key;
    inputs[count].type = INPUT_KEYBOARD;
    inputs[count].ki.wVk = key;
    inputs[count++].ki.dwFlags = KEYEVENTF_KEYUP;
    if (shift) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count].ki.wVk = VK_SHIFT;
        inputs[count++].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput((UINT)count, inputs, sizeof(INPUT));
}

/* F2, or Shift+F2. */
static inline void press_f2(BOOL shift) {
    press_hot_key(VK_F2, shift);
}

/* Whether a hot key pressed at sentAt whose effect has not begun yet should be pressed once
   more (a lost Shift, see above): once, after LostInputMs. */
static inline BOOL hot_key_lost(BOOL begun, double sentAt, BOOL* pressedAgain) {
    if (begun || *pressedAgain || now_ms() - sentAt < LostInputMs) {
        return FALSE;
    }
    *pressedAgain = TRUE;
    return TRUE;
}

/* The left mouse button pressed or let go where the pointer is. */
static inline void press_left(BOOL down) {
    INPUT input;
    memset(&input, 0, sizeof(input));
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(INPUT));
}

/* Whether a window of the thread holds the mouse capture. */
static inline BOOL captured(DWORD thread) {
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) && info.hwndCapture != NULL;
}

/* Pumps the helper's own messages until the thread's capture is as expected or timeoutMs
   have passed since started. */
static inline BOOL wait_for_capture(DWORD thread, BOOL expected, double started, double timeoutMs) {
    while (captured(thread) != expected) {
        if (now_ms() - started > timeoutMs) {
            return FALSE;
        }
        pump_a_moment();
    }
    return TRUE;
}

/* Presses or lets go of the left button on a button of the thread's, which takes the mouse at
   the press and lets it go at the release, and waits until it did. A press whose capture has
   not come after LostInputMs is let go of away from the button (a release there clicks
   nothing, so an original press that was only late does no harm) and pressed again; a
   release is sent again. *sentAgain counts them; *sentAt is when the input that was taken
   was sent. */
static inline BOOL press_until(DWORD thread, BOOL down, POINT at, int* sentAgain, double* sentAt) {
    *sentAt = now_ms();
    press_left(down);
    if (wait_for_capture(thread, down, *sentAt, LostInputMs)) {
        return TRUE;
    }
    ++*sentAgain;
    if (down) {
        SetCursorPos(at.x, at.y - 200);
        press_left(FALSE);
        wait_for_capture(thread, FALSE, now_ms(), GenerousTimeoutMs);
        SetCursorPos(at.x, at.y);
    }
    *sentAt = now_ms();
    press_left(down);
    return wait_for_capture(thread, down, *sentAt, GenerousTimeoutMs);
}

/* Makes the thread of `window` (which may be hidden) the foreground one again, see above; TRUE
   when it had lost it. Waits until Wine took the request. */
static inline BOOL foreground_to(HWND window) {
    const DWORD thread = GetWindowThreadProcessId(window, NULL);
    if (GetWindowThreadProcessId(GetForegroundWindow(), NULL) == thread) {
        return FALSE;
    }
    const double started = now_ms();
    while (GetWindowThreadProcessId(GetForegroundWindow(), NULL) != thread &&
           now_ms() - started < GenerousTimeoutMs) {
        SetForegroundWindow(window);
        pump_a_moment();
    }
    return TRUE;
}

/* The middle of a window on the screen. */
static inline POINT middle_of(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    POINT middle = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return middle;
}

/* Puts the pointer on the middle of a button of the form; FALSE when another window still
   lies over it there. When Wine's stacking keeps another window over it (see above), the form
   is raised in Wine's stacking too, and *raised set. */
static inline BOOL point_at(HWND form, HWND button, BOOL* raised) {
    const POINT middle = middle_of(button);
    SetCursorPos(middle.x, middle.y);
    *raised = WindowFromPoint(middle) != button;
    if (*raised) {
        const double started = now_ms();
        while (WindowFromPoint(middle) != button && now_ms() - started < GenerousTimeoutMs) {
            SetWindowPos(form, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            pump();
            Sleep(10);
        }
    }
    return WindowFromPoint(middle) == button;
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
