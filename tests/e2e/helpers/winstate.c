/* winstate: reports the state of the desktop's windows as JSON lines, for the end-to-end tests.

   winstate list                       every top-level window
   winstate window HWND                one window
   winstate children HWND              the child windows of HWND, all levels
   winstate focus                      foreground window and the focus of its thread
   winstate close HWND                 posts WM_CLOSE (as the shell does)
   winstate send HWND MSG WPARAM LPARAM [COUNT]
                                       sends with a time-out COUNT times (default 1), one
                                       after the other; prints the last result

   Numbers may be decimal or 0x-prefixed hexadecimal. */
#include "jsonout.h"

#include <stdlib.h>

static HWND parse_window(const char* text) {
    return (HWND)(ULONG_PTR)strtoull(text, NULL, 0);
}

static ULONG_PTR parse_number(const char* text) {
    return (ULONG_PTR)strtoull(text, NULL, 0);
}

static void describe_window(HWND window, HWND parent) {
    wchar_t className[256] = L"";
    wchar_t caption[1024] = L"";
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(window, &processId);
    RECT windowRect = {0, 0, 0, 0};
    RECT clientRect = {0, 0, 0, 0};
    POINT clientOrigin = {0, 0};
    GetClassNameW(window, className, 256);
    /* Reads the caption the system holds, so a window whose thread hangs cannot block us. */
    InternalGetWindowText(window, caption, 1024);
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    ClientToScreen(window, &clientOrigin);

    JsonLine line;
    json_begin(&line);
    json_handle(&line, "hwnd", window);
    if (parent) {
        json_handle(&line, "parent", GetParent(window));
        json_int(&line, "id", GetDlgCtrlID(window));
    } else {
        json_handle(&line, "owner", GetWindow(window, GW_OWNER));
        json_handle(&line, "hwndparent", (HWND)GetWindowLongPtrW(window, GWLP_HWNDPARENT));
    }
    json_int(&line, "pid", processId);
    json_int(&line, "tid", threadId);
    json_bool(&line, "visible", IsWindowVisible(window));
    json_bool(&line, "iconic", IsIconic(window));
    json_bool(&line, "zoomed", IsZoomed(window));
    json_bool(&line, "enabled", IsWindowEnabled(window));
    json_rect(&line, "rect", windowRect);
    json_rect(&line, "client", clientRect);
    json_key(&line, "client_origin");
    json_rawf(&line, "[%ld,%ld]", clientOrigin.x, clientOrigin.y);
    json_int(&line, "style", (DWORD)GetWindowLongW(window, GWL_STYLE));
    json_int(&line, "exstyle", (DWORD)GetWindowLongW(window, GWL_EXSTYLE));
    json_wide(&line, "class", className);
    json_wide(&line, "caption", caption);
    json_end(&line);
}

static BOOL CALLBACK describe_top_level(HWND window, LPARAM unused) {
    (void)unused;
    describe_window(window, NULL);
    return TRUE;
}

static BOOL CALLBACK describe_child(HWND window, LPARAM parent) {
    describe_window(window, (HWND)parent);
    return TRUE;
}

static BOOL require_window(HWND window) {
    if (!IsWindow(window)) {
        json_error("no such window");
        return FALSE;
    }
    return TRUE;
}

static void report_focus(void) {
    HWND foreground = GetForegroundWindow();
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    DWORD threadId = foreground ? GetWindowThreadProcessId(foreground, NULL) : 0;
    if (threadId) {
        GetGUIThreadInfo(threadId, &info);
    }
    JsonLine line;
    json_begin(&line);
    json_handle(&line, "foreground", foreground);
    json_handle(&line, "active", info.hwndActive);
    json_handle(&line, "focus", info.hwndFocus);
    json_handle(&line, "capture", info.hwndCapture);
    json_end(&line);
}

static void report_result(const char* key, long long value) {
    JsonLine line;
    json_begin(&line);
    json_int(&line, key, value);
    json_end(&line);
}

static void send_with_timeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              ULONG_PTR count) {
    DWORD_PTR result = 0;
    for (ULONG_PTR i = 0; i < count; ++i) {
        if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                                 &result)) {
            json_error("send timed out or failed");
            return;
        }
    }
    report_result("result", (long long)result);
}

static void command_list(char** words) {
    (void)words;
    EnumWindows(describe_top_level, 0);
}

static void command_focus(char** words) {
    (void)words;
    report_focus();
}

static void command_window(char** words) {
    describe_window(parse_window(words[1]), NULL);
}

static void command_children(char** words) {
    HWND parent = parse_window(words[1]);
    EnumChildWindows(parent, describe_child, (LPARAM)parent);
}

static void command_close(char** words) {
    report_result("posted", PostMessageW(parse_window(words[1]), WM_CLOSE, 0, 0));
}

static void command_send(char** words) {
    /* words ends with a null pointer (argv does), so an omitted count reads as null. */
    ULONG_PTR count = words[5] ? parse_number(words[5]) : 1;
    send_with_timeout(parse_window(words[1]), (UINT)parse_number(words[2]), parse_number(words[3]),
                      parse_number(words[4]), count);
}

typedef struct Command {
    const char* name;
    int wordCount; /* the least, including the name; a second word is always a window handle */
    void (*run)(char** words);
} Command;

static const Command commands[] = {
    {"list", 1, command_list},         {"focus", 1, command_focus}, {"window", 2, command_window},
    {"children", 2, command_children}, {"close", 2, command_close}, {"send", 5, command_send},
};

static void run_command(int count, char** words) {
    for (size_t i = 0; count > 0 && i < sizeof(commands) / sizeof(commands[0]); ++i) {
        const Command* command = &commands[i];
        if (strcmp(words[0], command->name) != 0) {
            continue;
        }
        if (count < command->wordCount) {
            json_error("missing arguments");
        } else if (command->wordCount < 2 || require_window(parse_window(words[1]))) {
            command->run(words);
        }
        return;
    }
    json_error("unknown command");
}

int main(int argc, char** argv) {
    run_command(argc - 1, argv + 1);
    return 0;
}
