/* starttimer: times Varnel's start-up and its refresh with the high-resolution clock.

   starttimer start EXE [HWND...]   starts EXE (Varnel, or the minimal program that is the
                                    baseline) and waits until its main form is visible and its
                                    thread answers; with HWNDs, also until those windows are all
                                    visible. Prints {"done", "pid", "form", "ms", "windows_ms"}
                                    (done: everything waited for came; ms from the start of the
                                    process; windows_ms -1 when none given) and leaves the
                                    program running.
   starttimer refresh FORM          clicks the refresh button of the main form FORM with
                                    SendInput and waits until the refresh is over. Prints
                                    {"done", "ms", "probe_ms", "wine", "sent_again", "raised"}
                                    and, when it fails, "failed" saying where.
   starttimer f2-during-refresh-click FORM HWND...
                                    holds the mouse button down on the refresh button, presses
                                    F2, waits until Varnel and the marked windows HWND... are
                                    hidden and lets go: the refresh finds them hidden. Prints
   {"pressed", "hidden", "held_while_hidden", "released", "let_go", "answered", "sent_again",
    "foreground_given_back", "f2_again", "raised"}: released is let_go (the button gave the mouse
   back) and answered (the form's thread answered after the click's refresh).

   The refresh starts at the release of the button (the press is sent first and awaited).
   Its end: see answers() below. Numbers may be decimal or 0x-prefixed hexadecimal. */
#include "driving.h"
#include "jsonout.h"

#include <stdlib.h>

enum { MaxWindows = 64, StartTimeoutMs = GenerousTimeoutMs, RefreshTimeoutMs = GenerousTimeoutMs };

typedef struct FormSearch {
    DWORD pid;
    HWND form;
} FormSearch;

static BOOL CALLBACK find_form(HWND window, LPARAM parameter) {
    FormSearch* search = (FormSearch*)parameter;
    wchar_t className[64] = L"";
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    GetClassNameW(window, className, 64);
    const BOOL mainWindow =
        wcscmp(className, L"TfVarnel") == 0 || wcscmp(className, L"E2EMinimal") == 0;
    if (pid == search->pid && mainWindow && IsWindowVisible(window)) {
        search->form = window;
        return FALSE;
    }
    return TRUE;
}

static BOOL all_visible(HWND* windows, int count) {
    for (int i = 0; i < count; ++i) {
        if (!IsWindowVisible(windows[i])) {
            return FALSE;
        }
    }
    return TRUE;
}

static BOOL all_hidden(HWND form, HWND* windows, int count) {
    if (IsWindowVisible(form)) {
        return FALSE;
    }
    for (int i = 0; i < count; ++i) {
        if (IsWindowVisible(windows[i])) {
            return FALSE;
        }
    }
    return TRUE;
}

static int start(int argc, char** argv) {
    HWND windows[MaxWindows];
    int count = 0;
    for (int i = 3; i < argc && count < MaxWindows; ++i) {
        windows[count++] = (HWND)(ULONG_PTR)strtoull(argv[i], NULL, 0);
    }
    wchar_t commandLine[MAX_PATH + 2];
    wchar_t exe[MAX_PATH];
    MultiByteToWideChar(CP_UTF8, 0, argv[2], -1, exe, MAX_PATH);
    wsprintfW(commandLine, L"\"%s\"", exe);
    STARTUPINFOW startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    const double started = now_ms();
    if (!CreateProcessW(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        json_error("CreateProcessW failed");
        return 2;
    }
    FormSearch search = {process.dwProcessId, NULL};
    double formMs = -1;
    double windowsMs = count ? -1 : 0;
    while ((formMs < 0 || windowsMs < 0) && now_ms() - started < StartTimeoutMs) {
        if (windowsMs < 0 && all_visible(windows, count)) {
            windowsMs = now_ms() - started;
        }
        if (formMs < 0) {
            EnumWindows(find_form, (LPARAM)&search);
            DWORD_PTR result = 0;
            if (search.form && SendMessageTimeoutW(search.form, WM_NULL, 0, 0, SMTO_NORMAL,
                                                   StartTimeoutMs, &result)) {
                formMs = now_ms() - started;
            }
        }
        if (formMs < 0 || windowsMs < 0) {
            Sleep(1);
        }
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const BOOL done = formMs >= 0 && windowsMs >= 0;
    JsonLine line;
    json_begin(&line);
    json_bool(&line, "done", done);
    json_int(&line, "pid", process.dwProcessId);
    json_handle(&line, "form", search.form);
    json_key(&line, "ms");
    json_rawf(&line, "%.2f", formMs);
    json_key(&line, "windows_ms");
    json_rawf(&line, "%.2f", count ? windowsMs : -1.0);
    json_end(&line);
    return done ? 0 : 1;
}

/* When the refresh asked the probe for its icon (0 until it did, and before the click). */
static BOOL probeArmed;
static double probeQueried;

static LRESULT CALLBACK probe_procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    /* Wine asks a new window for its icon itself, from the window's own thread. */
    if (message == WM_GETICON && probeArmed && probeQueried == 0 &&
        (InSendMessageEx(NULL) & ISMEX_SEND)) {
        probeQueried = now_ms();
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static HWND create_probe(void) {
    register_window_class(L"E2ERefreshProbe", probe_procedure);
    HWND probe = CreateWindowExW(0, L"E2ERefreshProbe", L"Refresh probe", WS_OVERLAPPEDWINDOW, 880,
                                 660, 120, 60, NULL, NULL, GetModuleHandleW(NULL), NULL);
    ShowWindow(probe, SW_SHOWNOACTIVATE);
    SetWindowPos(probe, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    pump();
    return probe;
}

static BOOL wait_for_probe(double started) {
    while (probeQueried == 0) {
        if (now_ms() - started > RefreshTimeoutMs) {
            return FALSE;
        }
        pump_a_moment();
    }
    return TRUE;
}

/* A message sent to Varnel's thread is handled when the thread waits: for its next message,
   or for an answer to the icon query it sends each window. Under Wine that query returns at
   once for other programs' windows, so the answer comes once the refresh is over; elsewhere
   the refresh asks the probe last, and the answer that follows marks the end. */
static BOOL answers(HWND form) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, RefreshTimeoutMs, &result) != 0;
}

static int refresh(HWND form) {
    const HWND button = find_refresh_button(form);
    if (!button) {
        json_error("no refresh button");
        return 2;
    }
    const BOOL underWine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != NULL;
    const DWORD thread = GetWindowThreadProcessId(form, NULL);
    HWND probe = create_probe();
    const char* failed = NULL;
    int sentAgain = 0;
    double started = now_ms();
    BOOL raised = FALSE;
    /* The button takes the mouse at the press and clicks at the release, after letting go. */
    const POINT middle = middle_of(button);
    if (!point_at(form, button, &raised)) {
        failed = "another window lies over the refresh button";
    } else if (!press_until(thread, TRUE, middle, &sentAgain, &started)) {
        failed = "the button never took the mouse";
    } else {
        probeArmed = TRUE;
        if (!press_until(thread, FALSE, middle, &sentAgain, &started)) {
            failed = "the button never let the mouse go";
        } else if (!underWine && !wait_for_probe(started)) {
            failed = "the refresh never asked the probe for its icon";
        } else if (!answers(form)) {
            failed = "Varnel stopped answering";
        }
    }
    const double finished = now_ms();
    DestroyWindow(probe);
    JsonLine line;
    json_begin(&line);
    json_bool(&line, "done", failed == NULL);
    json_key(&line, "ms");
    json_rawf(&line, "%.2f", failed ? -1.0 : finished - started);
    json_key(&line, "probe_ms");
    json_rawf(&line, "%.2f", probeQueried != 0 ? probeQueried - started : -1.0);
    json_bool(&line, "wine", underWine);
    json_int(&line, "sent_again", sentAgain);
    json_bool(&line, "raised", raised);
    if (failed) {
        json_text(&line, "failed", failed);
    }
    json_end(&line);
    return failed ? 1 : 0;
}

/* The mouse button held down on the refresh button while F2 is pressed, then let go: the
   release clicks, and the refresh finds the marked windows hidden. The sweep asks their
   programs to hide them without waiting, so the release waits until they have, not only until
   the form is hidden. */
static int f2_during_refresh_click(HWND form, HWND* marked, int count) {
    const HWND button = find_refresh_button(form);
    if (!button) {
        json_error("no refresh button");
        return 2;
    }
    const DWORD thread = GetWindowThreadProcessId(form, NULL);
    BOOL raised = FALSE;
    int sentAgain = 0;
    double sentAt = 0;
    const POINT middle = middle_of(button);
    const BOOL pressed =
        point_at(form, button, &raised) && press_until(thread, TRUE, middle, &sentAgain, &sentAt);
    const double started = now_ms();
    BOOL pressedAgain = FALSE;
    press_f2(FALSE);
    while (!all_hidden(form, marked, count) && now_ms() - started < RefreshTimeoutMs) {
        if (hot_key_lost(!IsWindowVisible(form), started, &pressedAgain)) {
            press_f2(FALSE);
        }
        pump_a_moment();
    }
    const BOOL hidden = all_hidden(form, marked, count);
    /* Whether the button still held the mouse once the form was hidden: the release clicks
       only then. */
    const BOOL heldWhileHidden = captured(thread);
    const BOOL foregroundGivenBack = foreground_to(form);
    const BOOL letGo = press_until(thread, FALSE, middle, &sentAgain, &sentAt);
    const BOOL answered = letGo && answers(form);
    JsonLine line;
    json_begin(&line);
    json_bool(&line, "pressed", pressed);
    json_bool(&line, "hidden", hidden);
    json_bool(&line, "held_while_hidden", heldWhileHidden);
    json_bool(&line, "released", letGo && answered);
    json_bool(&line, "let_go", letGo);
    json_bool(&line, "answered", answered);
    json_int(&line, "sent_again", sentAgain);
    json_bool(&line, "foreground_given_back", foregroundGivenBack);
    json_bool(&line, "f2_again", pressedAgain);
    json_bool(&line, "raised", raised);
    json_end(&line);
    return pressed && hidden && letGo && answered ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc >= 3 && strcmp(argv[1], "start") == 0) {
        return start(argc, argv);
    }
    if (argc == 3 && strcmp(argv[1], "refresh") == 0) {
        return refresh((HWND)(ULONG_PTR)strtoull(argv[2], NULL, 0));
    }
    if (argc >= 3 && strcmp(argv[1], "f2-during-refresh-click") == 0) {
        HWND marked[MaxWindows];
        int count = 0;
        for (int i = 3; i < argc && count < MaxWindows; ++i) {
            marked[count++] = (HWND)(ULONG_PTR)strtoull(argv[i], NULL, 0);
        }
        return f2_during_refresh_click((HWND)(ULONG_PTR)strtoull(argv[2], NULL, 0), marked, count);
    }
    json_error("usage: starttimer start EXE [HWND...] | starttimer refresh FORM"
               " | starttimer f2-during-refresh-click FORM HWND...");
    return 2;
}
