#include "framework/Control.h"

#include "framework/Application.h"

#include <algorithm>

namespace fw {

namespace {
char32_t AsciiUpper(char32_t c) {
    return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
}

// The code point starting at `pos`; invalid bytes stand for themselves.
char32_t CodePointAt(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    int length = lead < 0x80         ? 1
                 : (lead >> 5) == 6  ? 2
                 : (lead >> 4) == 14 ? 3
                 : (lead >> 3) == 30 ? 4
                                     : 0;
    if (length <= 1 || pos + std::size_t(length) > text.size())
        return lead;
    char32_t c = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(pos + std::size_t(i)) & 0xC0) != 0x80)
            return lead;
        c = (c << 6) | (byte(pos + std::size_t(i)) & 0x3F);
    }
    return c;
}
} // namespace

bool IsAccel(char32_t key, std::string_view caption) {
    for (std::size_t pos = caption.find('&'); pos != std::string_view::npos;
         pos = caption.find('&', pos)) {
        if (pos + 1 >= caption.size())
            return false;
        if (caption[pos + 1] == '&') {
            pos += 2;
            continue;
        }
        return AsciiUpper(CodePointAt(caption, pos + 1)) == AsciiUpper(key);
    }
    return false;
}

// =============================================================================================
// TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    FFont.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
    FFont.OnChange = nullptr;
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent)
        return;
    if (parent == this)
        throw Exception("A control cannot be its own parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (parent) {
        if (!Application())
            SetApplication(parent->Application());
        parent->InsertControl(this);
        if (FParentFont)
            AdoptParentFont();
        if (FParentColor)
            FColor = parent->Color();
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    const bool resized = width != FWidth || height != FHeight;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    // The window hears of its new size at once, and a handler of what that changes (a list's
    // top row, say) may free this control.
    const TLifeToken alive = LifeToken();
    BoundsChanged();
    if (!alive)
        return;
    RequestParentAlign();
    if (resized && alive)
        Resize();
}

TRect TControl::ClientRect() const {
    return {0, 0, FWidth, FHeight};
}

void TControl::RequestParentAlign() {
    if (FParent && FAlign != alNone)
        FParent->Realign();
}

void TControl::SetAlign(TAlign align) {
    if (align == FAlign)
        return;
    const bool wasAligned = FAlign != alNone;
    FAlign = align;
    if (FParent && (wasAligned || align != alNone))
        FParent->Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible == FVisible)
        return;
    FVisible = visible;
    VisibleChanging();
    Perform(Msg::CmVisibleChanged, visible ? 1 : 0);
    RequestParentAlign();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    Perform(Msg::CmEnabledChanged);
}

void TControl::SetColor(TColor color) {
    if (color == FColor && !FParentColor)
        return;
    FColor = color;
    FParentColor = false;
    Perform(Msg::CmColorChanged);
}

void TControl::SetParentColor(bool parentColor) {
    if (parentColor == FParentColor)
        return;
    FParentColor = parentColor;
    if (parentColor && FParent)
        AdoptParentColor();
}

void TControl::AdoptParentColor() {
    FColor = FParent->Color();
    Perform(Msg::CmColorChanged);
}

// The font follows the parent's without counting as a font of the control's own.
void TControl::AdoptParentFont() {
    FChangingFont = true;
    FFont.Assign(FParent->Font());
    FChangingFont = false;
}

void TControl::SetParentFont(bool parentFont) {
    if (parentFont == FParentFont)
        return;
    FParentFont = parentFont;
    if (parentFont && FParent)
        AdoptParentFont();
}

void TControl::FontChanged() {
    if (!FChangingFont)
        FParentFont = false;
    Perform(Msg::CmFontChanged);
}

void TControl::SetCaption(std::string caption) {
    if (caption == FCaption)
        return;
    FCaption = std::move(caption);
    Perform(Msg::CmTextChanged);
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor == FCursor)
        return;
    FCursor = cursor;
    // Take effect at once when the pointer is over the control.
    if (FMouseInside && HasPlatform() && cursor != crDefault)
        Platform().SetCursor(cursor);
}

TPoint TControl::ClientToScreen(TPoint p) const {
    if (!FParent)
        return {p.X + FLeft, p.Y + FTop};
    return FParent->ClientToScreen({p.X + FLeft, p.Y + FTop});
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint origin = ClientToScreen({0, 0});
    return {p.X - origin.X, p.Y - origin.Y};
}

std::intptr_t TControl::Perform(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WindowProc(message);
    return message.Result;
}

void TControl::WindowProc(TMessage& message) {
    Dispatch(message);
}

void TControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case Msg::MouseMove:
    case Msg::LButtonDown:
    case Msg::LButtonUp:
    case Msg::LButtonDblClk:
    case Msg::RButtonDown:
    case Msg::RButtonUp:
    case Msg::RButtonDblClk:
    case Msg::MButtonDown:
    case Msg::MButtonUp:
    case Msg::MButtonDblClk:
    case Msg::MouseLeave:
    case Msg::CaptureChanged:
        HandleMouseMessage(message);
        break;
    case Msg::CmColorChanged:
    case Msg::CmFontChanged:
    case Msg::CmEnabledChanged:
    case Msg::CmTextChanged:
        Invalidate();
        break;
    default:
        break;
    }
}

namespace {
TShiftState ShiftFromMouseKeys(std::uintptr_t keys) {
    TShiftState shift = 0;
    if (keys & MouseKey::Shift)
        shift |= ssShift;
    if (keys & MouseKey::Control)
        shift |= ssCtrl;
    if (keys & MouseKey::Left)
        shift |= ssLeft;
    if (keys & MouseKey::Right)
        shift |= ssRight;
    if (keys & MouseKey::Middle)
        shift |= ssMiddle;
    return shift;
}
} // namespace

void TControl::UpdateMouseInside(bool inside) {
    if (inside == FMouseInside)
        return;
    FMouseInside = inside;
    Perform(inside ? Msg::CmMouseEnter : Msg::CmMouseLeave);
}

void TControl::HandleMouseMessage(TMessage& message) {
    const int x = LoWordSigned(message.LParam);
    const int y = HiWordSigned(message.LParam);
    TShiftState shift = ShiftFromMouseKeys(message.WParam);
    if (HasPlatform() && Platform().KeyState(VK::Menu) < 0)
        shift |= ssAlt;
    const bool inside = ClientRect().Contains({x, y});

    auto press = [&](TMouseButton button, bool dbl) {
        if (FControlStyle & csCaptureMouse)
            SetMouseCapture(true);
        if (button == mbLeft && (FControlStyle & csClickEvents)) {
            FClicked = !dbl;
            if (dbl) {
                // A double-click handler may free the control.
                const TLifeToken alive = LifeToken();
                DblClick();
                if (!alive)
                    return;
            }
        }
        MouseDown(button, dbl ? (shift | ssDouble) : shift, x, y);
    };
    auto release = [&](TMouseButton button) {
        // Releasing the capture reports a capture change, which must not cancel this click.
        const bool clicked = button == mbLeft && FClicked;
        if (button == mbLeft)
            FClicked = false;
        if (FControlStyle & csCaptureMouse)
            SetMouseCapture(false);
        if (clicked && inside) {
            // A click handler may free the control (closing its form, for example).
            const TLifeToken alive = LifeToken();
            Click();
            if (!alive)
                return;
        }
        MouseUp(button, shift, x, y);
    };

    switch (message.Msg) {
    case Msg::MouseMove: {
        // Moves arrive outside the client area only while the mouse is captured. The enter and
        // leave notifications raise events whose handlers may free this control.
        const TLifeToken alive = LifeToken();
        UpdateMouseInside(inside);
        if (!alive)
            return;
        if (inside && !MouseCapture())
            TrackMouseLeave();
        MouseMove(shift, x, y);
        break;
    }
    case Msg::LButtonDown:
        press(mbLeft, false);
        break;
    case Msg::LButtonDblClk:
        press(mbLeft, true);
        break;
    case Msg::RButtonDown:
        press(mbRight, false);
        break;
    case Msg::RButtonDblClk:
        press(mbRight, true);
        break;
    case Msg::MButtonDown:
        press(mbMiddle, false);
        break;
    case Msg::MButtonDblClk:
        press(mbMiddle, true);
        break;
    case Msg::LButtonUp:
        release(mbLeft);
        break;
    case Msg::RButtonUp:
        release(mbRight);
        break;
    case Msg::MButtonUp:
        release(mbMiddle);
        break;
    case Msg::MouseLeave:
        if (!MouseCapture())
            UpdateMouseInside(false);
        break;
    case Msg::CaptureChanged:
        FClicked = false;
        if (HasPlatform() && !ClientRect().Contains(ScreenToClient(Platform().CursorPos())))
            UpdateMouseInside(false);
        break;
    default:
        break;
    }
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::Resize() {
    if (OnResize)
        OnResize(this);
}

// =============================================================================================
// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Children go with their parent (they also leave their owner's list as they go).
    while (!FControls.empty())
        FControls.back()->Free();
    // Leave the parent while this is still a TWinControl: from ~TControl the parent could not
    // tell it from a graphic control and would keep it in its tab order.
    if (Parent())
        Parent()->RemoveControl(this);
    FWindow.reset();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        RaiseListIndexError(index);
    return FControls[static_cast<std::size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
    control->FParent = this;
    FControls.push_back(control);
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        FTabList.push_back(win);
        if (FWindow)
            win->CreateHandle();
    }
    if (control->Align() != alNone)
        Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end())
        return;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        win->DestroyHandle();
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), win), FTabList.end());
    }
    FControls.erase(std::find(FControls.begin(), FControls.end(), control));
    control->FParent = nullptr;
    if (control->Align() != alNone && !IsDestroying())
        Realign();
}

TWindowHandle TWinControl::Handle() {
    if (!FWindow)
        CreateHandle();
    return FWindow->Handle();
}

void TWinControl::CreateParams(TWindowCreateArgs& args) {
    args.Kind = TWindowKind::Child;
    args.Sink = this;
    args.Parent = Parent() ? Parent()->Handle() : 0;
    args.Bounds = BoundsRect();
    args.Caption = Caption();
    args.ClassName = WindowClassName;
    args.Visible = Visible();
    args.Enabled = Enabled();
    args.TabStop = FTabStop;
    args.DoubleClicks = (ControlStyle() & csDoubleClicks) != 0;
}

void TWinControl::CreateHandle() {
    if (FWindow)
        return;
    TWindowCreateArgs args;
    CreateParams(args);
    if (args.Kind == TWindowKind::Child && args.Parent == 0)
        throw Exception("Control '" + Name() + "' has no parent window");
    FWindow = Platform().CreatePlatformWindow(args);
    for (TWinControl* child : FTabList)
        child->CreateHandle();
}

void TWinControl::DestroyHandle() {
    if (!FWindow)
        return;
    for (TWinControl* child : FTabList)
        child->DestroyHandle();
    FWindow.reset();
}

void TWinControl::BoundsChanged() {
    if (FWindow && !FSettingBounds) {
        const TLifeToken alive = LifeToken();
        FSettingBounds = true;
        FWindow->SetBounds(BoundsRect());
        if (!alive)
            return;
        FSettingBounds = false;
    }
    Realign();
}

void TWinControl::VisibleChanging() {
    if (FWindow)
        FWindow->Show(Visible() ? SW::Show : SW::Hide);
}

TRect TWinControl::ClientRect() const {
    if (FWindow)
        return FWindow->ClientRect();
    return TControl::ClientRect();
}

TPoint TWinControl::ClientToScreen(TPoint p) const {
    if (FWindow)
        return FWindow->ClientToScreen(p);
    return TControl::ClientToScreen(p);
}

TPoint TWinControl::ScreenToClient(TPoint p) const {
    if (FWindow)
        return FWindow->ScreenToClient(p);
    return TControl::ScreenToClient(p);
}

void TWinControl::Invalidate() {
    if (FWindow)
        FWindow->Invalidate(nullptr);
}

void TWinControl::InvalidateRect(const TRect& r) {
    if (FWindow)
        FWindow->Invalidate(&r);
}

void TWinControl::Update() {
    if (FWindow)
        FWindow->Update();
}

void TWinControl::Broadcast(TMessage& message) {
    const TLifeToken alive = LifeToken();
    // A handler may add, remove or free controls: send only to those still here.
    const std::vector<TControl*> controls = FControls;
    for (TControl* control : controls) {
        if (!alive)
            return;
        if (std::find(FControls.begin(), FControls.end(), control) == FControls.end())
            continue;
        control->WindowProc(message);
        if (message.Result != 0)
            return;
    }
}

TWinControl* TWinControl::RootParent() {
    TWinControl* root = this;
    while (root->Parent())
        root = root->Parent();
    return root;
}

bool TWinControl::OfferDialogKey(int key, TShiftState shift) {
    return RootParent()->Perform(Msg::CmDialogKey, static_cast<std::uintptr_t>(key),
                                 static_cast<std::intptr_t>(shift)) != 0;
}

bool TWinControl::OfferDialogChar(char32_t key) {
    return RootParent()->Perform(Msg::CmDialogChar, static_cast<std::uintptr_t>(key)) != 0;
}

void TWinControl::EnableAlign() {
    if (FAlignLock > 0 && --FAlignLock == 0 && FAlignPending)
        Realign();
}

void TWinControl::Realign() {
    if (FAlignLock > 0) {
        FAlignPending = true;
        return;
    }
    if (FAligning)
        return;
    FAligning = true;
    FAlignPending = false;
    try {
        AlignControls();
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AlignControls() {
    TRect rest = ClientRect();
    AdjustClientRect(rest);

    // Within one alignment, controls keep the order of their current positions, so a control
    // dragged in front of another stays in front after the layout.
    auto sortKey = [](const TControl* c, TAlign align) {
        switch (align) {
        case alTop:
            return c->Top();
        case alBottom:
            return -(c->Top() + c->Height());
        case alLeft:
            return c->Left();
        case alRight:
            return -(c->Left() + c->Width());
        default:
            return 0;
        }
    };
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == align && c->Visible())
                list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [&](const TControl* a, const TControl* b) {
            return sortKey(a, align) < sortKey(b, align);
        });
        for (TControl* c : list) {
            switch (align) {
            case alTop:
                c->SetBounds(rest.Left, rest.Top, rest.Width(), c->Height());
                rest.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(rest.Left, rest.Bottom - c->Height(), rest.Width(), c->Height());
                rest.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(rest.Left, rest.Top, c->Width(), std::max(rest.Height(), 0));
                rest.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(rest.Right - c->Width(), rest.Top, c->Width(),
                             std::max(rest.Height(), 0));
                rest.Right -= c->Width();
                break;
            case alClient:
                c->SetBounds(rest.Left, rest.Top, std::max(rest.Width(), 0),
                             std::max(rest.Height(), 0));
                break;
            default:
                break;
            }
        }
    }
}

int TWinControl::TabOrder() const {
    if (!Parent())
        return -1;
    const auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent())
        return;
    auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
    for (TWinControl* child : FTabList) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const {
    return FWindow && HasPlatform() && Platform().FocusedWindow() == FWindow->Handle();
}

void TWinControl::SetFocus() {
    if (!CanFocus())
        throw Exception("Cannot focus a disabled or invisible window");
    HandleNeeded();
    FWindow->SetFocus();
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[static_cast<std::size_t>(i)] == current)
            start = i;
    if (start < 0)
        start = forward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<std::size_t>(i)];
        if (c != current && c->CanFocus() && (!checkTabStop || c->TabStop()))
            return c;
    }
    return nullptr;
}

// Tab and Shift+Tab move the focus between the form's tab stops unless the focused control
// asks for the key; Ctrl+Tab and Alt+Tab are not ours.
bool TWinControl::MoveFocusByTab() {
    const TShiftState shift = KeyboardShiftState();
    if ((shift & (ssCtrl | ssAlt)) != 0 ||
        (Perform(Msg::GetDlgCode, 0, 0) & (DlgCode::WantTab | DlgCode::WantAllKeys)) != 0)
        return false;
    TWinControl* next = RootParent()->FindNextControl(this, (shift & ssShift) == 0, true);
    if (next && next != this)
        next->SetFocus();
    return true;
}

void TWinControl::SetMouseCapture(bool capture) {
    if (!FWindow)
        return;
    if (capture)
        FWindow->SetCapture();
    else if (MouseCapture())
        Platform().ReleaseCapture();
}

void TWinControl::TrackMouseLeave() {
    if (FWindow)
        FWindow->TrackMouseLeave();
}

bool TWinControl::MouseCapture() const {
    return FWindow && HasPlatform() && Platform().CaptureWindow() == FWindow->Handle();
}

TShiftState TWinControl::KeyboardShiftState() const {
    TShiftState shift = 0;
    const IPlatform& p = Platform();
    if (p.KeyState(VK::Shift) < 0)
        shift |= ssShift;
    if (p.KeyState(VK::Control) < 0)
        shift |= ssCtrl;
    if (p.KeyState(VK::Menu) < 0)
        shift |= ssAlt;
    return shift;
}

void TWinControl::WindowProc(TMessage& message) {
    if (IsDestroying() && message.Msg != Msg::Destroy) {
        // Half-destroyed objects take no handlers; the platform still needs an answer.
        if (FWindow && message.Msg < Msg::CmBase)
            message.Result = FWindow->DefaultProc(message);
        return;
    }
    // The handler may free this control; the application outlives it.
    TApplication* application = Application();
    try {
        TControl::WindowProc(message);
    } catch (const std::exception& e) {
        if (application)
            application->HandleException(e);
        else
            throw;
    }
}

void TWinControl::HandlePaint(TMessage&) {
    std::unique_ptr<ICanvasDevice> device = FWindow->BeginPaint();
    if (device)
        PaintWindow(*device);
}

void TWinControl::PaintWindow(ICanvasDevice& device) {
    const TRect r = ClientRect();
    device.FillRect(r, ColorToRGB(Color(), Platform()));
}

void TWinControl::HandleSizeMessage(TMessage&) {
    // While we set the bounds ourselves, BoundsChanged realigns once the window has them.
    if (!FWindow || FSettingBounds)
        return;
    // The platform resized us (a user dragging a form's border): follow it.
    const TRect b = FWindow->Bounds();
    if (b != BoundsRect()) {
        FSettingBounds = true;
        TControl::SetBounds(b.Left, b.Top, b.Width(), b.Height());
        FSettingBounds = false;
        return;
    }
    Realign();
}

void TWinControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case Msg::Paint:
        HandlePaint(message);
        return;
    case Msg::EraseBkgnd:
        message.Result = 1;
        return;
    case Msg::Size:
        HandleSizeMessage(message);
        break;
    case Msg::SetFocus: {
        const TLifeToken alive = LifeToken();
        DoEnter();
        if (!alive)
            return;
        // Every control of the form hears which control has the focus now.
        RootParent()->Perform(Msg::CmFocusChanged, 0, reinterpret_cast<std::intptr_t>(this));
        if (!alive)
            return;
        break;
    }
    case Msg::KillFocus: {
        const TLifeToken alive = LifeToken();
        DoExit();
        if (!alive)
            return;
        break;
    }
    case Msg::KeyDown:
    case Msg::SysKeyDown: {
        int key = static_cast<int>(message.WParam);
        // The form's controls see Enter and Escape first (a default or cancel button).
        if ((key == VK::Return || key == VK::Escape) && OfferDialogKey(key, KeyboardShiftState()))
            return;
        if (key == VK::Tab && MoveFocusByTab())
            return;
        // Key handlers may free this control.
        const TLifeToken alive = LifeToken();
        KeyDown(key, KeyboardShiftState());
        if (key == 0 || !alive)
            return;
        break;
    }
    case Msg::KeyUp:
    case Msg::SysKeyUp: {
        int key = static_cast<int>(message.WParam);
        const TLifeToken alive = LifeToken();
        KeyUp(key, KeyboardShiftState());
        if (key == 0 || !alive)
            return;
        break;
    }
    case Msg::Char: {
        char32_t key = static_cast<char32_t>(message.WParam);
        const TLifeToken alive = LifeToken();
        KeyPress(key);
        if (key == 0 || !alive)
            return;
        // A character the focused control left alone may be a control's accelerator.
        if (OfferDialogChar(key))
            return;
        message.WParam = key;
        break;
    }
    case Msg::SysChar:
        if (OfferDialogChar(static_cast<char32_t>(message.WParam)))
            return;
        break;
    case Msg::CmDialogKey:
    case Msg::CmDialogChar:
    case Msg::CmFocusChanged:
        Broadcast(message);
        return;
    case Msg::CmSysColorChange:
        Invalidate();
        Broadcast(message);
        return;
    case Msg::SetCursor:
        // Low word of LParam: hit-test code, 1 = client area.
        if (Cursor() != crDefault && (message.LParam & 0xFFFF) == 1) {
            Platform().SetCursor(Cursor());
            message.Result = 1;
            return;
        }
        break;
    case Msg::CmParentColorChanged:
        if (ParentColor())
            AdoptParentColor();
        return;
    case Msg::CmParentFontChanged:
        if (ParentFont())
            AdoptParentFont();
        return;
    case Msg::CmColorChanged:
        Invalidate();
        for (TControl* c : FControls)
            c->Perform(Msg::CmParentColorChanged);
        return;
    case Msg::CmFontChanged:
        Invalidate();
        for (TControl* c : FControls)
            c->Perform(Msg::CmParentFontChanged);
        return;
    case Msg::CmTextChanged:
        if (FWindow)
            FWindow->SetCaption(Caption());
        Invalidate();
        return;
    case Msg::CmEnabledChanged:
        if (FWindow)
            FWindow->SetEnabled(Enabled());
        Invalidate();
        return;
    default:
        break;
    }
    // Mouse handling raises events whose handlers may free this control.
    const TLifeToken alive = LifeToken();
    TControl::DefaultHandler(message);
    // Framework notifications never reach the platform.
    if (alive && FWindow && message.Msg < Msg::CmBase)
        message.Result = FWindow->DefaultProc(message);
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

void TWinControl::KeyDown(int& key, TShiftState shift) {
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(int& key, TShiftState shift) {
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
    if (OnKeyPress)
        OnKeyPress(this, key);
}

// =============================================================================================
// TControlCanvas and TCustomControl

TControlCanvas::TControlCanvas(const IPlatform& platform, TWinControl& control)
    : TCanvas(platform), FControl(control) {}

void TControlCanvas::BeginPaint(ICanvasDevice* device) {
    FPaintDevice = device;
}

void TControlCanvas::EndPaint() {
    FPaintDevice = nullptr;
}

void TControlCanvas::ReleaseDevice() {
    FOwnDevice.reset();
}

ICanvasDevice* TControlCanvas::Device() {
    if (FPaintDevice)
        return FPaintDevice;
    if (!FOwnDevice) {
        FControl.HandleNeeded();
        FOwnDevice = FControl.Window()->GetDevice();
    }
    return FOwnDevice.get();
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TCustomControl::~TCustomControl() = default;

TControlCanvas& TCustomControl::Canvas() {
    if (!FCanvas)
        FCanvas = std::make_unique<TControlCanvas>(Platform(), *this);
    return *FCanvas;
}

void TCustomControl::Paint() {
    Canvas().FillRect(ClientRect());
}

void TCustomControl::PaintWindow(ICanvasDevice& device) {
    TControlCanvas& canvas = Canvas();
    canvas.ReleaseDevice();
    canvas.BeginPaint(&device);
    canvas.Font().Assign(Font());
    canvas.Brush().SetColor(Color());
    try {
        Paint();
    } catch (...) {
        canvas.EndPaint();
        throw;
    }
    canvas.EndPaint();
}

void TCustomControl::WindowProc(TMessage& message) {
    const TLifeToken alive = LifeToken();
    ++FMessageDepth;
    try {
        TWinControl::WindowProc(message);
    } catch (...) {
        if (alive)
            --FMessageDepth;
        throw;
    }
    if (!alive)
        return;
    // A device taken outside a paint cycle lives only as long as the outermost message
    // that needed it.
    if (--FMessageDepth == 0 && FCanvas && !IsDestroying())
        FCanvas->ReleaseDevice();
}

} // namespace fw
