/* soak: hide and show cycles against a running Varnel, with windows opened and closed between
   refreshes, and Varnel's GDI and USER object counts before and after.

   soak CYCLES REFRESH_EVERY FORM MARKED_HWND...

   FORM is Varnel's main form; the MARKED windows are marked in its list (and belong to
   another program, which closes a window on WM_CLOSE). The helper makes a window of its own
   that nobody marks and a few more that it opens and closes. Each cycle presses F2 with
   SendInput and waits until every marked window and the form are hidden, checks that the
   helper's windows are not, then presses Shift+F2 and waits until all are shown. Every
   REFRESH_EVERY cycles it closes its two oldest windows, opens two, and clicks Varnel's
   refresh button. Twice it closes a marked window while it is hidden. The object counts are
   read after the first REFRESH_EVERY cycles (warm-up) and again after the last refresh.

   The counts come from GetGuiResources. Where the system does not implement it (Wine), GDI
   objects are the used entries of Varnel's GDI handle table (read from its memory; a leaked
   icon shows there through its bitmaps) and USER objects are Varnel's windows.

   Wine's input is not always taken as sent (driving.h): a Shift+F2 press may lose its Shift,
   a press or release on the refresh button may be dropped, Wine's stacking may keep one of the
   helper's windows over the button, and a press may lose the mouse to a window that takes the
   activation just then. Each is dealt with and counted ("presses_again",
   "mouse_inputs_again", "forms_raised", "clicks_again"; the first missed click is described
   in "click_trouble").

   Prints one JSON line with the figures; exits 0 when every cycle went as expected. */
#include "driving.h"
#include "jsonout.h"

#include <stdlib.h>

enum {
    MaxMarked = 64,
    ChurnWindows = 6,
    StepTimeoutMs = GenerousTimeoutMs,
    GdiTableEntries = 0x10000,
    GdiEntryBytes = 24,
    PebGdiTableOffset = 0x94
};

/* --- the helper's own windows --------------------------------------------------------------- */

static LRESULT CALLBACK own_procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

static HWND open_window(const wchar_t* caption, int slot) {
    HWND window =
        CreateWindowExW(0, L"E2ESoak", caption, WS_OVERLAPPEDWINDOW, 720 + (slot % 3) * 90,
                        40 + slot * 50, 200, 80, NULL, NULL, GetModuleHandleW(NULL), NULL);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

/* --- the object counts -------------------------------------------------------------------- */

typedef LONG(WINAPI* QueryInformationProcess)(HANDLE, int, void*, ULONG, ULONG*);

typedef struct BasicInformation {
    LONG exitStatus;
    void* peb;
    ULONG_PTR affinity;
    LONG basePriority;
    ULONG_PTR processId;
    ULONG_PTR parentProcessId;
} BasicInformation;

/* Used entries of the process's GDI handle table; -1 when it cannot be read. */
static long gdi_table_count(HANDLE process) {
    QueryInformationProcess query = (QueryInformationProcess)(void (*)(void))GetProcAddress(
        GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess");
    BasicInformation basic;
    ULONG size = 0;
    if (!query || query(process, 0, &basic, sizeof(basic), &size) != 0) {
        return -1;
    }
    DWORD table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, (char*)basic.peb + PebGdiTableOffset, &table, sizeof(table),
                           &read) ||
        table == 0) {
        return -1;
    }
    static DWORD chunk[4096 * GdiEntryBytes / sizeof(DWORD)];
    long used = 0;
    for (int first = 0; first < GdiTableEntries; first += 4096) {
        if (!ReadProcessMemory(process, (char*)(ULONG_PTR)table + (SIZE_T)first * GdiEntryBytes,
                               chunk, sizeof(chunk), &read)) {
            break;
        }
        for (int i = 0; i < 4096; ++i) {
            /* An entry's type word is cleared when its object is freed. */
            if (chunk[i * (GdiEntryBytes / sizeof(DWORD)) + 3] >> 16) {
                ++used;
            }
        }
    }
    return used;
}

typedef struct WindowCount {
    DWORD pid;
    long count;
} WindowCount;

static BOOL CALLBACK count_child(HWND window, LPARAM parameter) {
    (void)window;
    ++((WindowCount*)parameter)->count;
    return TRUE;
}

static BOOL CALLBACK count_top_level(HWND window, LPARAM parameter) {
    WindowCount* counter = (WindowCount*)parameter;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == counter->pid) {
        ++counter->count;
        EnumChildWindows(window, count_child, parameter);
    }
    return TRUE;
}

typedef struct ObjectCounts {
    long gdi;
    long user;
    const char* source;
} ObjectCounts;

static ObjectCounts object_counts(HWND form) {
    ObjectCounts counts = {-1, -1, "GetGuiResources"};
    DWORD pid = 0;
    GetWindowThreadProcessId(form, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) {
        return counts;
    }
    SetLastError(0);
    counts.gdi = (long)GetGuiResources(process, GR_GDIOBJECTS);
    counts.user = (long)GetGuiResources(process, GR_USEROBJECTS);
    if (counts.gdi == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        WindowCount windows = {pid, 0};
        EnumWindows(count_top_level, (LPARAM)&windows);
        counts.gdi = gdi_table_count(process);
        counts.user = windows.count;
        counts.source = "GDI handle table and windows";
    }
    CloseHandle(process);
    return counts;
}

/* --- Varnel ------------------------------------------------------------------------------- */

typedef struct Soak {
    HWND form;
    HWND marked[MaxMarked];
    int markedCount;
    HWND own[ChurnWindows + 1]; /* [0] stays; the rest come and go */
    int opened;
    int wronglyHidden;
    int failures;
    double hideTotal, hideMax, showTotal, showMax;
    int hides, shows;
    int lostPresses;
    int clicksAgain;
    int inputsAgain;
    int formsRaised;
    char clickTrouble[256];
    /* The first step that did not end in time: which, and the windows still not there. */
    char failure[512];
} Soak;

static BOOL wait_step_done(Soak* soak, BOOL hidden) {
    if ((IsWindowVisible(soak->form) != 0) == hidden) {
        return FALSE;
    }
    for (int i = 0; i < soak->markedCount; ++i) {
        if (IsWindow(soak->marked[i]) && (IsWindowVisible(soak->marked[i]) != 0) == hidden) {
            return FALSE;
        }
    }
    return TRUE;
}

/* Waits until every marked window and the form are hidden (or all shown); the time taken, or -1
   after the time-out. Keeps the helper's windows answering meanwhile.

   The form is shown or hidden by every sweep, at once (it is Varnel's own window), so a form
   still unchanged after a while means the press was not taken for the hot key (a lost Shift,
   see driving.h): it is pressed once more, and counted. */
static double wait_for(Soak* soak, BOOL hidden, double started) {
    BOOL pressedAgain = FALSE;
    for (;;) {
        const BOOL done = wait_step_done(soak, hidden);
        const double elapsed = now_ms() - started;
        if (done) {
            return elapsed;
        }
        const BOOL begun = (IsWindowVisible(soak->form) != 0) != hidden;
        if (hot_key_lost(begun, started, &pressedAgain)) {
            ++soak->lostPresses;
            /* The latency is that of the press that was taken, not of the one Wine lost. */
            started = now_ms();
            press_f2(!hidden);
            continue;
        }
        if (elapsed > StepTimeoutMs) {
            if (!soak->failure[0]) {
                int length = wsprintfA(soak->failure,
                                       "%s after %d cycles; not there:", hidden ? "hide" : "show",
                                       soak->hides);
                if ((IsWindowVisible(soak->form) != 0) == hidden) {
                    length += wsprintfA(soak->failure + length, " form");
                }
                /* Whether Varnel still tags the window tells a sweep that left it alone from
                   a request its program has not carried out yet. */
                for (int i = 0; i < soak->markedCount && length < 400; ++i) {
                    if (IsWindow(soak->marked[i]) &&
                        (IsWindowVisible(soak->marked[i]) != 0) == hidden) {
                        length += wsprintfA(
                            soak->failure + length, " %lu%s",
                            (unsigned long)(ULONG_PTR)soak->marked[i],
                            GetPropW(soak->marked[i], L"Varnel.HiddenBy") ? " (tagged)" : "");
                    }
                }
                /* And whether they get there at all. */
                const double late = now_ms();
                while (wait_step_done(soak, hidden) == FALSE && now_ms() - late < 30000) {
                    pump();
                    Sleep(10);
                }
                wsprintfA(soak->failure + length, "; %s 30 s later",
                          wait_step_done(soak, hidden) ? "there" : "still not there");
            }
            return -1;
        }
        pump();
        /* Not a busy loop: every look at a window is a request to the one Wine server,
           which Varnel and the windows' programs need more. */
        Sleep(1);
    }
}

static void check_own_windows_visible(Soak* soak) {
    for (int i = 0; i <= ChurnWindows; ++i) {
        if (soak->own[i] && !IsWindowVisible(soak->own[i])) {
            ++soak->wronglyHidden;
        }
    }
}

static void record(double ms, double* total, double* max, int* count, int* failures) {
    if (ms < 0) {
        ++*failures;
        return;
    }
    *total += ms;
    if (ms > *max) {
        *max = ms;
    }
    ++*count;
}

static void cycle(Soak* soak, BOOL closeMarkedWhileHidden) {
    double started = now_ms();
    press_f2(FALSE);
    record(wait_for(soak, TRUE, started), &soak->hideTotal, &soak->hideMax, &soak->hides,
           &soak->failures);
    check_own_windows_visible(soak);
    if (closeMarkedWhileHidden && soak->markedCount > 0) {
        HWND closing = soak->marked[--soak->markedCount];
        PostMessageW(closing, WM_CLOSE, 0, 0);
        const double closed = now_ms();
        while (IsWindow(closing) && now_ms() - closed < StepTimeoutMs) {
            Sleep(1);
        }
    }
    started = now_ms();
    press_f2(TRUE);
    record(wait_for(soak, FALSE, started), &soak->showTotal, &soak->showMax, &soak->shows,
           &soak->failures);
    check_own_windows_visible(soak);
}

/* Round trips to Varnel's thread, so that what it had queued (painting too) is done. */
static void settle(HWND form) {
    for (int i = 0; i < 3; ++i) {
        DWORD_PTR result = 0;
        pump();
        SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, StepTimeoutMs, &result);
    }
}

/* Waits until the foreground window has stayed the same for a while (at most 2 s): the shows a
   sweep asks of other programs move the activation to their windows a moment later, and a
   window that loses the activation loses the mouse. */
static void wait_for_quiet_foreground(void) {
    const double started = now_ms();
    HWND last = GetForegroundWindow();
    double since = started;
    while (now_ms() - since < 100 && now_ms() - started < 2000) {
        pump();
        Sleep(5);
        HWND now = GetForegroundWindow();
        if (now != last) {
            last = now;
            since = now_ms();
        }
    }
}

/* Clicks the button; whether Varnel took the press and the release. A press that still lost
   the mouse (the activation moved) is recorded, and the caller clicks again. */
static BOOL click(Soak* soak, HWND button) {
    wait_for_quiet_foreground();
    const DWORD thread = GetWindowThreadProcessId(soak->form, NULL);
    const POINT middle = middle_of(button);
    BOOL raised = FALSE;
    int sentAgain = 0;
    double sentAt = 0;
    const BOOL pointed = point_at(soak->form, button, &raised);
    soak->formsRaised += raised;
    if (!pointed || !press_until(thread, TRUE, middle, &sentAgain, &sentAt)) {
        press_left(FALSE);
        ++soak->clicksAgain;
        if (!soak->clickTrouble[0]) {
            POINT cursor;
            GetCursorPos(&cursor);
            HWND under = WindowFromPoint(cursor);
            wsprintfA(soak->clickTrouble,
                      "after %d cycles: cursor %ld,%ld over %lu (button %lu), form visible %d,"
                      " foreground %lu",
                      soak->hides, cursor.x, cursor.y, (unsigned long)(ULONG_PTR)under,
                      (unsigned long)(ULONG_PTR)button, IsWindowVisible(soak->form),
                      (unsigned long)(ULONG_PTR)GetForegroundWindow());
        }
        wait_for_capture(thread, FALSE, now_ms(), StepTimeoutMs);
        return FALSE;
    }
    soak->inputsAgain += sentAgain;
    sentAgain = 0;
    const BOOL released = press_until(thread, FALSE, middle, &sentAgain, &sentAt);
    soak->inputsAgain += sentAgain;
    return released;
}

/* Closes the two oldest of the helper's changing windows, opens two, and clicks refresh. */
static void churn_and_refresh(Soak* soak) {
    for (int k = 0; k < 2; ++k) {
        DestroyWindow(soak->own[1]);
        memmove(&soak->own[1], &soak->own[2], sizeof(HWND) * (ChurnWindows - 1));
        wchar_t caption[32];
        wsprintfW(caption, L"Soak window %03d", ++soak->opened);
        soak->own[ChurnWindows] = open_window(caption, soak->opened % ChurnWindows);
    }
    pump();
    const HWND button = find_refresh_button(soak->form);
    if (!button) {
        ++soak->failures;
        return;
    }
    /* The button takes the mouse at the press and clicks at the release, after letting go;
       each is awaited, since a hot key pressed meanwhile would come first (its message is
       posted, the click's is input) and the refresh would find the marked windows hidden. */
    if (!click(soak, button) && !click(soak, button)) {
        ++soak->failures;
        if (!soak->failure[0]) {
            wsprintfA(soak->failure, "refresh click after %d cycles not taken twice", soak->hides);
        }
    }
    /* The refresh's icon queries are answered while the helper waits for Varnel (a thread
       waiting for its own sent message handles those sent to it). */
    settle(soak->form);
}

int main(int argc, char** argv) {
    if (argc < 5) {
        json_error("usage: soak CYCLES REFRESH_EVERY FORM MARKED_HWND...");
        return 2;
    }
    const int cycles = atoi(argv[1]);
    const int refreshEvery = atoi(argv[2]);
    static Soak soak;
    soak.form = (HWND)(ULONG_PTR)strtoull(argv[3], NULL, 0);
    for (int i = 4; i < argc && soak.markedCount < MaxMarked; ++i) {
        soak.marked[soak.markedCount++] = (HWND)(ULONG_PTR)strtoull(argv[i], NULL, 0);
    }
    const int markedAtStart = soak.markedCount;

    register_window_class(L"E2ESoak", own_procedure);
    soak.own[0] = open_window(L"Soak window never marked", 0);
    for (int i = 1; i <= ChurnWindows; ++i) {
        wchar_t caption[32];
        wsprintfW(caption, L"Soak window %03d", ++soak.opened);
        soak.own[i] = open_window(caption, i);
    }

    const double started = now_ms();
    ObjectCounts before = {-1, -1, ""};
    const int total = refreshEvery + cycles;
    for (int i = 0; i < total && soak.failures == 0; ++i) {
        if (i % refreshEvery == 0) {
            churn_and_refresh(&soak);
        }
        if (i == refreshEvery) {
            settle(soak.form);
            before = object_counts(soak.form);
        }
        /* Two marked windows close while hidden: one early, one late. */
        const BOOL closeMarked =
            i == refreshEvery + cycles / 3 || i == refreshEvery + 2 * cycles / 3;
        cycle(&soak, closeMarked);
    }
    churn_and_refresh(&soak);
    settle(soak.form);
    const ObjectCounts after = object_counts(soak.form);
    const double elapsed = now_ms() - started;

    JsonLine line;
    json_begin(&line);
    json_int(&line, "cycles", cycles);
    json_int(&line, "warm_up_cycles", refreshEvery);
    json_int(&line, "hides", soak.hides);
    json_int(&line, "shows", soak.shows);
    json_int(&line, "failures", soak.failures);
    json_int(&line, "wrongly_hidden", soak.wronglyHidden);
    json_int(&line, "presses_again", soak.lostPresses);
    json_int(&line, "marked_closed", markedAtStart - soak.markedCount);
    json_int(&line, "windows_opened", soak.opened);
    json_int(&line, "gdi_before", before.gdi);
    json_int(&line, "gdi_after", after.gdi);
    json_int(&line, "user_before", before.user);
    json_int(&line, "user_after", after.user);
    json_text(&line, "counts_from", after.source);
    json_text(&line, "failure", soak.failure);
    json_int(&line, "clicks_again", soak.clicksAgain);
    json_int(&line, "mouse_inputs_again", soak.inputsAgain);
    json_int(&line, "forms_raised", soak.formsRaised);
    json_text(&line, "click_trouble", soak.clickTrouble);
    json_key(&line, "hide_ms_mean");
    json_rawf(&line, "%.2f", soak.hides ? soak.hideTotal / soak.hides : -1.0);
    json_key(&line, "hide_ms_max");
    json_rawf(&line, "%.2f", soak.hideMax);
    json_key(&line, "show_ms_mean");
    json_rawf(&line, "%.2f", soak.shows ? soak.showTotal / soak.shows : -1.0);
    json_key(&line, "show_ms_max");
    json_rawf(&line, "%.2f", soak.showMax);
    json_key(&line, "seconds");
    json_rawf(&line, "%.1f", elapsed / 1000.0);
    json_end(&line);
    for (int i = 0; i <= ChurnWindows; ++i) {
        DestroyWindow(soak.own[i]);
    }
    return soak.failures == 0 && soak.wronglyHidden == 0 ? 0 : 1;
}
