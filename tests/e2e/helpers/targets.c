/* targets: creates the kinds of top-level window the window list must cope with.

   targets KIND...    with KIND one of: normal owned hidden minimized tool appwindow blank spaces
                      long korean hung, or "all" for every kind, or "numbered=N" for N plain
                      windows captioned "Numbered 01" ... (kinds "numbered-01" ...), or
                      "hung=N" for N windows "Hung 01" ... each on a thread of its own that stops
                      pumping messages (kinds "hung-01" ...).

   Prints one JSON line per created window ({"kind", "hwnd", "caption"}) and then {"ready"},
   then pumps messages. WM_CLOSE destroys that window; the program ends when its last window
   that still pumps messages is gone, or when it is killed. "owned" and "appwindow" are owned by
   the "normal" window, which is then created too. "hung" lives on a thread that stops pumping
   messages right after showing it. The "normal" window holds one child, a button with id 100. */
#include "jsonout.h"

#include <stdlib.h>

typedef enum Ownership { Unowned, OwnedByNormal } Ownership;

typedef struct TargetKind {
    const char* name;
    const wchar_t* caption; /* NULL: built at run time */
    DWORD exStyle;
    int showCommand; /* -1: never shown */
    Ownership ownership;
    BOOL ownThreadThatHangs;
} TargetKind;

enum { LongCaptionLength = 300, ChildButtonId = 100 };

static const TargetKind kinds[] = {
    {"normal", L"Target normal", 0, SW_SHOWNOACTIVATE, Unowned, FALSE},
    {"owned", L"Target owned", 0, SW_SHOWNOACTIVATE, OwnedByNormal, FALSE},
    {"hidden", L"Target hidden", 0, -1, Unowned, FALSE},
    {"minimized", L"Target minimized", 0, SW_SHOWMINNOACTIVE, Unowned, FALSE},
    {"tool", L"Target tool", WS_EX_TOOLWINDOW, SW_SHOWNOACTIVATE, Unowned, FALSE},
    {"appwindow", L"Target appwindow", WS_EX_APPWINDOW, SW_SHOWNOACTIVATE, OwnedByNormal, FALSE},
    {"blank", L"", 0, SW_SHOWNOACTIVATE, Unowned, FALSE},
    {"spaces", L"     ", 0, SW_SHOWNOACTIVATE, Unowned, FALSE},
    {"long", NULL, 0, SW_SHOWNOACTIVATE, Unowned, FALSE},
    {"korean", L"\uD55C\uAE00 \uCC3D \uC81C\uBAA9", 0, SW_SHOWNOACTIVATE, Unowned, FALSE},
    {"hung", L"Target hung", 0, SW_SHOWNOACTIVATE, Unowned, TRUE},
};

enum { KindCount = sizeof(kinds) / sizeof(kinds[0]) };

static const wchar_t TargetClassName[] = L"E2ETarget";

typedef struct Targets {
    HWND windows[KindCount];
    int pumpedWindowCount;
    wchar_t longCaption[LongCaptionLength + 1];
} Targets;

/* The window procedure has no other way to reach the program's state. */
static Targets* targets;

static void print_window(const char* kind, HWND window, const wchar_t* caption) {
    JsonLine line;
    json_begin(&line);
    json_text(&line, "kind", kind);
    json_handle(&line, "hwnd", window);
    json_wide(&line, "caption", caption);
    json_end(&line);
}

/* Shows the caption inside the window too, so a screenshot tells the windows apart. */
static void paint_caption(HWND window) {
    PAINTSTRUCT paint;
    HDC device = BeginPaint(window, &paint);
    wchar_t caption[LongCaptionLength + 1] = L"";
    InternalGetWindowText(window, caption, LongCaptionLength + 1);
    RECT client;
    GetClientRect(window, &client);
    InflateRect(&client, -8, -8);
    HGDIOBJ previousFont = SelectObject(device, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(device, TRANSPARENT);
    DrawTextW(device, caption, -1, &client, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(device, previousFont);
    EndPaint(window, &paint);
}

static LRESULT CALLBACK target_procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        paint_caption(window);
        return 0;
    }
    if (message == WM_DESTROY && GetWindowThreadProcessId(window, NULL) == GetCurrentThreadId() &&
        --targets->pumpedWindowCount == 0) {
        PostQuitMessage(0);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static const wchar_t* caption_of(const TargetKind* kind) {
    return kind->caption ? kind->caption : targets->longCaption;
}

static HWND create_target(int index, HWND owner) {
    const TargetKind* kind = &kinds[index];
    int offset = 24 * index;
    HWND window = CreateWindowExW(kind->exStyle, TargetClassName, caption_of(kind),
                                  WS_OVERLAPPEDWINDOW, 60 + offset, 60 + offset, 320, 160, owner,
                                  NULL, GetModuleHandleW(NULL), NULL);
    if (window && kind->showCommand >= 0) {
        ShowWindow(window, kind->showCommand);
        UpdateWindow(window);
    }
    return window;
}

typedef struct HangingThreadStart {
    int index;
    HWND window;
    HANDLE created;
} HangingThreadStart;

static DWORD WINAPI create_and_hang(void* parameter) {
    HangingThreadStart* start = parameter;
    start->window = create_target(start->index, NULL);
    SetEvent(start->created);
    Sleep(INFINITE);
    return 0;
}

static HWND create_hanging_target(int index) {
    HangingThreadStart start = {index, NULL, CreateEventW(NULL, TRUE, FALSE, NULL)};
    HANDLE thread = CreateThread(NULL, 0, create_and_hang, &start, 0, NULL);
    if (thread) {
        WaitForSingleObject(start.created, INFINITE);
        CloseHandle(thread);
    }
    CloseHandle(start.created);
    return start.window;
}

static int kind_index(const char* name) {
    for (int i = 0; i < KindCount; ++i) {
        if (strcmp(kinds[i].name, name) == 0) {
            return i;
        }
    }
    return -1;
}

static HWND create_kind(int index) {
    if (targets->windows[index]) {
        return targets->windows[index];
    }
    const TargetKind* kind = &kinds[index];
    HWND owner = kind->ownership == OwnedByNormal ? create_kind(kind_index("normal")) : NULL;
    HWND window =
        kind->ownThreadThatHangs ? create_hanging_target(index) : create_target(index, owner);
    if (!window) {
        json_error("CreateWindowExW failed");
        ExitProcess(2);
    }
    targets->windows[index] = window;
    if (strcmp(kind->name, "normal") == 0) {
        CreateWindowExW(0, L"BUTTON", L"Child button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10,
                        90, 120, 28, window, (HMENU)ChildButtonId, GetModuleHandleW(NULL), NULL);
    }
    if (!kind->ownThreadThatHangs) {
        ++targets->pumpedWindowCount;
    }
    print_window(kind->name, window, caption_of(kind));
    return window;
}

/* Plain windows "Numbered 01" .. "Numbered N", small and stacked, none activated. */
static void create_numbered(int count) {
    for (int i = 1; i <= count; ++i) {
        wchar_t caption[32];
        char kind[32];
        wsprintfW(caption, L"Numbered %02d", i);
        wsprintfA(kind, "numbered-%02d", i);
        HWND window =
            CreateWindowExW(0, TargetClassName, caption, WS_OVERLAPPEDWINDOW, 40 + i * 4,
                            40 + i * 4, 200, 80, NULL, NULL, GetModuleHandleW(NULL), NULL);
        if (!window) {
            json_error("CreateWindowExW failed");
            ExitProcess(2);
        }
        ShowWindow(window, SW_SHOWNOACTIVATE);
        ++targets->pumpedWindowCount;
        print_window(kind, window, caption);
    }
}

typedef struct HungThreadStart {
    int number;
    HWND window;
    HANDLE created;
} HungThreadStart;

static DWORD WINAPI create_numbered_and_hang(void* parameter) {
    HungThreadStart* start = parameter;
    wchar_t caption[32];
    wsprintfW(caption, L"Hung %02d", start->number);
    start->window =
        CreateWindowExW(0, TargetClassName, caption, WS_OVERLAPPEDWINDOW, 600 + start->number * 4,
                        40 + start->number * 4, 200, 80, NULL, NULL, GetModuleHandleW(NULL), NULL);
    if (start->window) {
        ShowWindow(start->window, SW_SHOWNOACTIVATE);
    }
    SetEvent(start->created);
    Sleep(INFINITE);
    return 0;
}

/* Windows "Hung 01" .. "Hung N" at the right of the screen, each on a thread that hangs. */
static void create_hung(int count) {
    for (int i = 1; i <= count; ++i) {
        HungThreadStart start = {i, NULL, CreateEventW(NULL, TRUE, FALSE, NULL)};
        HANDLE thread = CreateThread(NULL, 0, create_numbered_and_hang, &start, 0, NULL);
        if (thread) {
            WaitForSingleObject(start.created, INFINITE);
            CloseHandle(thread);
        }
        CloseHandle(start.created);
        if (!start.window) {
            json_error("CreateWindowExW failed");
            ExitProcess(2);
        }
        char kind[32];
        wchar_t caption[32];
        wsprintfA(kind, "hung-%02d", i);
        wsprintfW(caption, L"Hung %02d", i);
        print_window(kind, start.window, caption);
    }
}

static void build_long_caption(void) {
    static const wchar_t prefix[] = L"Long caption ";
    size_t prefixLength = wcslen(prefix);
    wcscpy(targets->longCaption, prefix);
    for (size_t i = prefixLength; i < LongCaptionLength; ++i) {
        targets->longCaption[i] = L'0' + (wchar_t)((i - prefixLength) % 10);
    }
    targets->longCaption[LongCaptionLength] = L'\0';
}

static void register_target_class(void) {
    WNDCLASSEXW windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = target_procedure;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = TargetClassName;
    RegisterClassExW(&windowClass);
}

static void print_ready(void) {
    JsonLine line;
    json_begin(&line);
    json_bool(&line, "ready", TRUE);
    json_int(&line, "pid", GetCurrentProcessId());
    json_end(&line);
}

int main(int argc, char** argv) {
    static Targets state;
    targets = &state;
    build_long_caption();
    register_target_class();
    for (int argument = 1; argument < argc; ++argument) {
        if (strcmp(argv[argument], "all") == 0) {
            for (int i = 0; i < KindCount; ++i) {
                create_kind(i);
            }
        } else if (strncmp(argv[argument], "numbered=", 9) == 0) {
            create_numbered(atoi(argv[argument] + 9));
        } else if (strncmp(argv[argument], "hung=", 5) == 0) {
            create_hung(atoi(argv[argument] + 5));
        } else if (kind_index(argv[argument]) >= 0) {
            create_kind(kind_index(argv[argument]));
        } else {
            json_error("unknown kind");
            return 2;
        }
    }
    print_ready();
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
