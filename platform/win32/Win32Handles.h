// Owning wrappers for the system handles the backend creates.
#pragma once

#include "platform/win32/Win32Api.h"

#include <memory>
#include <type_traits>

namespace fw::win32 {

struct GdiObjectDeleter {
    template <class Handle> void operator()(Handle handle) const {
        DeleteObject(reinterpret_cast<HGDIOBJ>(handle));
    }
};
struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct CursorDeleter {
    void operator()(HCURSOR cursor) const { DestroyCursor(cursor); }
};
struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};
struct GlobalMemoryDeleter {
    void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};
struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct KernelHandleDeleter {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};

template <class Handle, class Deleter>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, Deleter>;

using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniquePen = UniqueHandle<HPEN, GdiObjectDeleter>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectDeleter>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueCursor = UniqueHandle<HCURSOR, CursorDeleter>;
using UniqueWindow = UniqueHandle<HWND, WindowDeleter>;
using UniqueGlobalMemory = UniqueHandle<HGLOBAL, GlobalMemoryDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListDeleter>;
// A kernel object (process, thread, event); never the pseudo-handles, which are not closed.
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;

// Selects an object into a device context for the lifetime of the guard.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectionGuard() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The screen's device context, for measuring and enumerating.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_ != nullptr)
            ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

} // namespace fw::win32
