// Visual controls: TControl (geometry, alignment, visibility, colour and font inheritance,
// mouse and click detection) and TWinControl (a platform window, children, focus, painting).
#pragma once

#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Platform.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fw {

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;

enum TControlStyleFlag : unsigned {
    csAcceptsControls = 1,
    csCaptureMouse = 2,
    csClickEvents = 4,
    csOpaque = 8,
    csDoubleClicks = 16,
    csSetCaption = 32
};
using TControlStyle = unsigned;

class TControl;
class TWinControl;

// Whether `key` is the accelerator of `caption`: the character after a single '&' (a doubled
// "&&" stands for '&' itself), compared without regard to ASCII case.
bool IsAccel(char32_t key, std::string_view caption);

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, int& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    // (0, 0, client width, client height).
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool parentColor);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool parentFont);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(std::string caption);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle style) { FControlStyle = style; }
    // The help topic of the control; 0 for none (then its parent's applies).
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int context) { FHelpContext = context; }

    virtual void Invalidate() = 0;
    virtual void InvalidateRect(const TRect& r) = 0;
    virtual void Update() {}
    void Repaint() {
        Invalidate();
        Update();
    }
    virtual TPoint ClientToScreen(TPoint p) const;
    virtual TPoint ScreenToClient(TPoint p) const;

    // Sends a message straight to this control's window procedure.
    std::intptr_t Perform(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    virtual void WindowProc(TMessage& message);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    void DefaultHandler(TMessage& message) override;
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void Resize();
    virtual void SetMouseCapture(bool capture) = 0;
    virtual bool MouseCapture() const = 0;
    // Asks to hear when the pointer leaves the control.
    virtual void TrackMouseLeave() = 0;
    // Called when the platform window (if any) should follow the bounds.
    virtual void BoundsChanged() {}
    virtual void VisibleChanging() {}
    void RequestParentAlign();

    void FontChanged();
    // Take the parent's colour or font while ParentColor or ParentFont holds.
    void AdoptParentColor();
    void AdoptParentFont();
    bool FMouseInside = false;

private:
    void HandleMouseMessage(TMessage& message);
    void UpdateMouseInside(bool inside);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = false;
    TFont FFont;
    bool FParentFont = true;
    std::string FCaption;
    TCursor FCursor = crDefault;
    TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    int FHelpContext = 0;
    bool FClicked = false;
    bool FChangingFont = false;
    friend class TWinControl;
};

// A control with its own platform window, children, a tab order and keyboard focus.
class TWinControl : public TControl, private IWindowSink {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const;

    // The platform window, created on demand (with those of its parents).
    TWindowHandle Handle();
    bool HandleAllocated() const { return FWindow != nullptr; }
    IPlatformWindow* Window() const { return FWindow.get(); }
    void HandleNeeded() { (void)Handle(); }

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool tabStop) { FTabStop = tabStop; }
    bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // The next (or previous) control that can take the focus, in tab order, or null.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop);
    void GetTabOrderList(std::vector<TWinControl*>& list);

    void Invalidate() override;
    void InvalidateRect(const TRect& r) override;
    void Update() override;
    TRect ClientRect() const override;
    TPoint ClientToScreen(TPoint p) const override;
    TPoint ScreenToClient(TPoint p) const override;

    // Sends the message to each child in turn until one answers it with a non-zero result.
    void Broadcast(TMessage& message);
    // The outermost parent (the form), or this control when it has no parent.
    TWinControl* RootParent();

    // Lays out the aligned children (top, bottom, left, right, then client).
    void Realign();
    void DisableAlign() { ++FAlignLock; }
    void EnableAlign();

    void WindowProc(TMessage& message) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    void DefaultHandler(TMessage& message) override;
    // The rectangle the aligned children share (panels leave their borders out).
    virtual void AdjustClientRect(TRect& r) const { (void)r; }
    virtual void AlignControls();
    virtual void CreateParams(TWindowCreateArgs& args);
    virtual void CreateHandle();
    virtual void DestroyHandle();
    // Paints the client area; the device's clip is the update region. The default fills
    // it with Color, since the background erase is answered without drawing.
    virtual void PaintWindow(ICanvasDevice& device);
    std::string WindowClassName = "TWinControl";
    virtual void DoEnter();
    virtual void DoExit();
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    void SetMouseCapture(bool capture) override;
    bool MouseCapture() const override;
    void TrackMouseLeave() override;
    void BoundsChanged() override;
    void VisibleChanging() override;
    TShiftState KeyboardShiftState() const;
    // Offers Enter or Escape (Msg::CmDialogKey), or a character that may be an accelerator
    // (Msg::CmDialogChar), to every control of the form before or instead of the normal key
    // handling; true when a control used it.
    bool OfferDialogKey(int key, TShiftState shift);
    // Tab and Shift+Tab to the next or previous tab stop; false when the key is the control's.
    bool MoveFocusByTab();
    bool OfferDialogChar(char32_t key);

private:
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void HandlePaint(TMessage& message);
    void HandleSizeMessage(TMessage& message);

    std::unique_ptr<IPlatformWindow> FWindow;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    int FAlignLock = 0;
    bool FAligning = false;
    bool FAlignPending = false;
    bool FSettingBounds = false;
    friend class TControl;
};

// A canvas on a control's client area: during a paint cycle the paint device, at other times
// a device acquired on first use and released when the current message has been handled.
class TControlCanvas : public TCanvas {
public:
    TControlCanvas(const IPlatform& platform, TWinControl& control);
    void BeginPaint(ICanvasDevice* device);
    void EndPaint();
    void ReleaseDevice();

protected:
    ICanvasDevice* Device() override;

private:
    TWinControl& FControl;
    std::unique_ptr<ICanvasDevice> FOwnDevice;
    ICanvasDevice* FPaintDevice = nullptr;
};

// A windowed control that paints itself on its own canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TControlCanvas& Canvas();

protected:
    // Fills the client area with Color; controls that draw everything themselves override it.
    virtual void Paint();
    void PaintWindow(ICanvasDevice& device) override;
    void WindowProc(TMessage& message) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
    int FMessageDepth = 0;
};

} // namespace fw
