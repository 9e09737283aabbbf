/* family: a program with a main window and the dialogs it owns, for the end-to-end tests of
   hiding a whole program.

   family [modeless] [modal] [title=TEXT] [at=X,Y]

   Makes a main window captioned TEXT (default "Family"), at screen X,Y (default 80,80); with
   "modeless" a modeless dialog "TEXT modeless" that the main window owns, right of it; with
   "modal" a modal dialog "TEXT modal" that the main window owns, below it, which disables the
   main window as a modal dialog does. Prints one JSON line per window ({"kind": "main",
   "modeless" or "modal", "hwnd"}), then {"ready", "pid"}, and pumps messages until the main
   window is closed or the program is killed. */
#include "driving.h"
#include "jsonout.h"

#include <stdio.h>
#include <stdlib.h>

typedef struct Family {
    wchar_t title[64];
    int x, y;
    BOOL modal;
    HWND main;
} Family;

/* The window and dialog procedures have no other way to reach the program's state. */
static Family* family;

static void print_window(const char* kind, HWND window) {
    JsonLine line;
    json_begin(&line);
    json_text(&line, "kind", kind);
    json_handle(&line, "hwnd", window);
    json_end(&line);
}

static void print_ready(void) {
    JsonLine line;
    json_begin(&line);
    json_bool(&line, "ready", TRUE);
    json_int(&line, "pid", GetCurrentProcessId());
    json_end(&line);
}

/* An in-memory dialog template without controls: the header, no menu, the default class and
   the caption. */
static LPCDLGTEMPLATEW make_template(WORD* buffer, const wchar_t* caption, DWORD style) {
    DLGTEMPLATE* header = (DLGTEMPLATE*)buffer;
    memset(header, 0, sizeof(*header));
    header->style = style | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    header->cx = 140;
    header->cy = 50;
    WORD* rest = (WORD*)(header + 1);
    *rest++ = 0;
    *rest++ = 0;
    wcscpy((wchar_t*)rest, caption);
    return (LPCDLGTEMPLATEW)buffer;
}

static INT_PTR CALLBACK dialog_procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    if (message == WM_INITDIALOG) {
        /* lParam: the offset from the main window's corner, and whether the dialog is modal. */
        const BOOL modal = lParam == 1;
        RECT main;
        GetWindowRect(family->main, &main);
        SetWindowPos(dialog, NULL, modal ? main.left + 40 : main.right - 40,
                     modal ? main.bottom - 40 : main.top + 40, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (modal) {
            print_window("modal", dialog);
            print_ready();
        }
        return TRUE;
    }
    if (message == WM_CLOSE) {
        if (GetWindowLongPtrW(dialog, DWLP_USER)) {
            DestroyWindow(dialog);
        } else {
            EndDialog(dialog, 0);
        }
        return TRUE;
    }
    return FALSE;
}

static LRESULT CALLBACK main_procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static void parse(int argc, char** argv, BOOL* modeless) {
    wcscpy(family->title, L"Family");
    family->x = 80;
    family->y = 80;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "modeless") == 0) {
            *modeless = TRUE;
        } else if (strcmp(argv[i], "modal") == 0) {
            family->modal = TRUE;
        } else if (strncmp(argv[i], "title=", 6) == 0) {
            MultiByteToWideChar(CP_UTF8, 0, argv[i] + 6, -1, family->title, 48);
        } else if (strncmp(argv[i], "at=", 3) == 0) {
            sscanf(argv[i] + 3, "%d,%d", &family->x, &family->y);
        }
    }
}

int main(int argc, char** argv) {
    static Family state;
    static WORD modelessTemplate[128] __attribute__((aligned(4)));
    static WORD modalTemplate[128] __attribute__((aligned(4)));
    family = &state;
    BOOL modeless = FALSE;
    parse(argc, argv, &modeless);
    register_window_class(L"E2EFamily", main_procedure);
    family->main = CreateWindowExW(0, L"E2EFamily", family->title, WS_OVERLAPPEDWINDOW, family->x,
                                   family->y, 320, 200, NULL, NULL, GetModuleHandleW(NULL), NULL);
    if (!family->main) {
        json_error("CreateWindowExW failed");
        return 2;
    }
    ShowWindow(family->main, SW_SHOW);
    UpdateWindow(family->main);
    print_window("main", family->main);
    if (modeless) {
        wchar_t caption[64];
        wsprintfW(caption, L"%s modeless", family->title);
        HWND dialog = CreateDialogIndirectParamW(
            GetModuleHandleW(NULL), make_template(modelessTemplate, caption, 0), family->main,
            dialog_procedure, 0);
        if (!dialog) {
            json_error("CreateDialogIndirectParamW failed");
            return 2;
        }
        SetWindowLongPtrW(dialog, DWLP_USER, 1);
        ShowWindow(dialog, SW_SHOWNOACTIVATE);
        print_window("modeless", dialog);
    }
    if (family->modal) {
        wchar_t caption[64];
        wsprintfW(caption, L"%s modal", family->title);
        /* Prints the modal dialog and "ready" from inside, then runs its loop until it ends;
           the main window's own loop runs after it. */
        DialogBoxIndirectParamW(GetModuleHandleW(NULL), make_template(modalTemplate, caption, 0),
                                family->main, dialog_procedure, 1);
    } else {
        print_ready();
    }
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
