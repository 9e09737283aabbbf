// The real platform: windows, drawing and system services of Win32.
#pragma once

#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Window.h"

#include <map>

namespace fw::win32 {

class Win32Platform final : public IPlatform {
public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    std::unique_ptr<IPlatformWindow> CreatePlatformWindow(const TWindowCreateArgs& args) override;
    std::unique_ptr<ICanvasDevice> CreateBitmap(int width, int height) override;
    std::unique_ptr<IImageList> CreateImageList(int width, int height) override;
    TIconHandle CreateIcon(const TPixelImage& image) override;
    void DestroyIcon(TIconHandle icon) override;

    TColorRef SysColor(int index) const override;
    int SystemMetric(int index) const override;
    TSize FrameExtra(bool sizeableBorder) const override;

    TWindowHandle FocusedWindow() const override;
    TWindowHandle ParentWindow(TWindowHandle window) const override;
    TWindowHandle CaptureWindow() const override;
    void ReleaseCapture() override;
    void LoadCursorResource(TCursor slot, std::string_view resourceName) override;
    void CreateCursor(TCursor slot, const TPixelImage& image, TPoint hotSpot) override;
    void SetCursor(TCursor cursor) override;
    std::uintptr_t ShowCursorNow(TCursor cursor) override;
    void RestoreShownCursor(std::uintptr_t previous) override;
    TPoint CursorPos() const override;
    short KeyState(int virtualKey) const override;
    unsigned DoubleClickTime() const override;
    unsigned WheelScrollLines() const override;
    std::uint32_t TickCount() const override;

    int TrackPopupMenu(TWindowHandle owner, TPoint screen, const std::vector<TMenuItemDesc>& items,
                       TPopupAlignment alignment) override;
    int CompareTextLocale(std::string_view a, std::string_view b) const override;
    std::string UpperCaseLocale(std::string_view text) const override;
    void SetClipboardText(std::string_view utf8) override;
    void PlaySoundResource(std::string_view name) override;
    std::optional<TPixelImage> BitmapResource(std::string_view name) const override;
    void ShowErrorMessage(std::string_view text) override;
    std::optional<std::string> ProgramResource(std::string_view name) const override;
    void SetFatalErrorHandler(std::function<void()> handler) override;

    bool HandleMessage() override;
    void PostQuit() override;
    bool
    RunMessageLoop(const std::function<TLoopVerdict(TWindowHandle, TMessage&)>& filter) override;

    IWindowManager& Desktop() override { return desktop_; }

private:
    HCURSOR CursorFor(TCursor cursor) const;
    // Puts `cursor` (null: none, the arrow shows) in a slot; `owned` is the platform's own.
    void FillCursorSlot(TCursor slot, HCURSOR cursor, UniqueCursor owned,
                        std::string_view resourceName);
    HWND ClipboardOwner();

    HINSTANCE instance_;
    bool comInitialized_ = false;
    FontCache fonts_;
    WindowClasses classes_;
    WindowManager desktop_;
    // The program's cursor table (a resource cursor keeps its name, a picture's has none);
    // resource cursors are shared and never destroyed, cursors made from pictures are owned
    // here.
    struct LoadedCursor {
        std::string ResourceName;
        HCURSOR Cursor;
    };
    std::map<TCursor, LoadedCursor> cursorTable_;
    std::map<TCursor, UniqueCursor> ownedCursors_;
    // A message-only window, made on first use.
    UniqueWindow clipboardOwner_;
};

} // namespace fw::win32
