#include "flatbutton/QuolButton.h"

#include "framework/Application.h"
#include "framework/Form.h"

#include <algorithm>

namespace quol {

using namespace fw;

namespace {
constexpr int kMinMarkGap = 1, kMaxMarkGap = 5;
constexpr int kMinSpacing = 1, kMaxSpacing = 5;
constexpr int kMinSpacingLayout = -5, kMaxSpacingLayout = 5;
constexpr int kMinGlyphs = 1, kMaxGlyphs = 4;
// Command notification code of a click.
constexpr int kClickedNotification = 0;

// Stores a clamped value; true when it changed.
bool StoreClamped(int& field, int value, int low, int high) {
    value = std::clamp(value, low, high);
    if (value == field)
        return false;
    field = value;
    return true;
}
} // namespace

FW_BEGIN_MESSAGE_MAP(TQuolButton, TCustomControl)
FW_MESSAGE(Msg::CmMouseEnter, HandleMouseEnter)
FW_MESSAGE(Msg::CmMouseLeave, HandleMouseLeave)
FW_MESSAGE(Msg::LButtonDblClk, HandleDoubleClick)
FW_MESSAGE(Msg::CmDialogKey, HandleDialogKey)
FW_MESSAGE(Msg::CmDialogChar, HandleDialogChar)
FW_MESSAGE(Msg::CmFocusChanged, HandleFocusChange)
FW_MESSAGE(Msg::Command, HandleCommand)
FW_MESSAGE(Msg::CaptureChanged, HandleCaptureChanged)
FW_MESSAGE(Msg::CmEnabledChanged, HandleEnabledChanged)
FW_MESSAGE(Msg::CmVisibleChanged, HandleVisibleChanged)
FW_MESSAGE(Msg::CmFontChanged, HandleFontChanged)
FW_MESSAGE(Msg::CmColorChanged, HandleColorChanged)
FW_MESSAGE(Msg::CmParentColorChanged, HandleColorChanged)
FW_MESSAGE(Msg::CmSysColorChange, HandleColorChanged)
FW_END_MESSAGE_MAP()

TQuolButton::TQuolButton(TComponent* owner) : TCustomControl(owner), FPainter(*this) {
    WindowClassName = "TQuolButton";
    SetBounds(0, 0, 75, 25);
    SetParentColor(true);
    SetParentFont(true);
    SetTabStop(false);
}

TQuolButton::~TQuolButton() = default;

void TQuolButton::BeforeDestruction() {
    CancelPress();
    TCustomControl::BeforeDestruction();
}

// =============================================================================================
// Properties

TBitmap& TQuolButton::EnsureBitmap(std::unique_ptr<TBitmap>& bitmap) {
    if (!bitmap)
        bitmap = std::make_unique<TBitmap>(Platform());
    return *bitmap;
}

void TQuolButton::SetButtonKind(TKind kind) {
    if (kind != FButtonKind) {
        FGlyph.reset();
        FGlyphHot.reset();
        FPainter.ResetWorkBitmaps();
    }
    FButtonKind = kind;
    const TKindInfo& info = KindInfo(kind);
    if (kind != skCustom) {
        LoadKindGlyphs(info);
        // While a stored layout loads, an empty caption stays empty.
        if (!IsLoading() || !Caption().empty())
            SetCaption(info.Caption);
        FNumGlyphs = 1;
        FNumGlyphsHot = 1;
    }
    Invalidate();
    FCancel = info.Cancel;
    FDefault = info.Default;
}

void TQuolButton::LoadKindGlyphs(const TKindInfo& kind) {
    if (!HasPlatform())
        return;
    EnsureBitmap(FGlyph).LoadFromResourceName(kind.Glyph);
    EnsureBitmap(FGlyphHot).LoadFromResourceName(kind.GlyphHot);
}

int TQuolButton::CellsOfStrip(const TBitmap& strip, int current) {
    // Empty strips (zero width or height) never get here: no division by zero.
    const int w = strip.Width();
    const int h = strip.Height();
    if (w < h || w / h < 2)
        return 1;
    if (w % h == 0)
        return w / h <= kMaxGlyphs ? w / h : 1;
    return current;
}

void TQuolButton::SetGlyph(const TBitmap& glyph) {
    if (&glyph != FGlyph.get()) {
        TBitmap& own = EnsureBitmap(FGlyph);
        own.Assign(glyph);
        if (!own.Empty())
            FNumGlyphs = CellsOfStrip(own, FNumGlyphs);
        Invalidate();
    }
    FButtonKind = skCustom;
}

void TQuolButton::SetGlyphHot(const TBitmap& glyph) {
    if (&glyph != FGlyphHot.get()) {
        TBitmap& own = EnsureBitmap(FGlyphHot);
        own.Assign(glyph);
        if (!own.Empty())
            FNumGlyphsHot = CellsOfStrip(own, FNumGlyphsHot);
        Invalidate();
    }
    FButtonKind = skCustom;
}

void TQuolButton::SetGlyphImage(const TPixelImage& image) {
    TBitmap picture(Platform());
    picture.LoadFromImage(image);
    SetGlyph(picture);
}

void TQuolButton::SetGlyphHotImage(const TPixelImage& image) {
    TBitmap picture(Platform());
    picture.LoadFromImage(image);
    SetGlyphHot(picture);
}

void TQuolButton::SetNumGlyphs(int count) {
    if (StoreClamped(FNumGlyphs, count, kMinGlyphs, kMaxGlyphs))
        Invalidate();
}

void TQuolButton::SetNumGlyphsHot(int count) {
    if (StoreClamped(FNumGlyphsHot, count, kMinGlyphs, kMaxGlyphs))
        Invalidate();
}

void TQuolButton::SetPopupMenuMark(bool mark) {
    FPopupMenuMark = mark;
    Invalidate();
}

void TQuolButton::SetPopupMenuMarkGap(int gap) {
    if (StoreClamped(FPopupMenuMarkGap, gap, kMinMarkGap, kMaxMarkGap))
        Invalidate();
}

void TQuolButton::SetSpacing(int spacing) {
    if (StoreClamped(FSpacing, spacing, kMinSpacing, kMaxSpacing))
        Invalidate();
}

void TQuolButton::SetSpacingLayout(int spacing) {
    if (StoreClamped(FSpacingLayout, spacing, kMinSpacingLayout, kMaxSpacingLayout))
        Invalidate();
}

void TQuolButton::SetLayout(TLayout layout) {
    FLayout = layout;
    Invalidate();
}

void TQuolButton::SetPopupMenu(TPopupMenu* menu) {
    FPopupMenuName.clear();
    if (menu == FPopupMenu)
        return;
    if (FPopupMenu)
        RemoveFreeNotification(FPopupMenu);
    FPopupMenu = menu;
    if (menu)
        menu->FreeNotification(this);
    Invalidate();
}

void TQuolButton::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu)
        FPopupMenu = nullptr;
}

void TQuolButton::Loaded() {
    TCustomControl::Loaded();
    if (FPopupMenuName.empty())
        return;
    const std::string name = std::move(FPopupMenuName);
    FPopupMenuName.clear();
    auto* menu = dynamic_cast<TPopupMenu*>(Owner() ? Owner()->FindComponent(name) : nullptr);
    if (!menu)
        throw ELayoutError(Name() + ": '" + name + "' is not a popup menu");
    SetPopupMenu(menu);
}

void TQuolButton::ApplyStyleColors() {
    const TStyleInfo& info = StyleInfo(FButtonStyle);
    if (FColorMarginStyle == cmDefault) {
        FColorMarginLeftTop = info.TopColor;
        FColorMarginRightBottom = info.BottomColor;
    }
    FFrameTopColor = FColorMarginLeftTop;
    FFrameBottomColor = FColorMarginRightBottom;
}

void TQuolButton::SetButtonStyle(TStyle style) {
    const TStyleInfo& info = StyleInfo(style);
    if (info.ButtonFace) {
        SetParentColor(false);
        SetColor(clBtnFace);
    }
    FButtonStyle = style;
    FFrameWidth = info.FrameWidth;
    FHotFrameWidth = info.HotFrameWidth;
    if (info.SetsPenAndColors) {
        FPenStyle = info.Pen;
        ApplyStyleColors();
    }
    Invalidate();
}

void TQuolButton::SetColorMarginStyle(TColorMarginDefault style) {
    FColorMarginStyle = style;
    if (style == cmDefault && FButtonStyle != stNone) {
        FColorMarginLeftTop = FFrameTopColor = StyleInfo(FButtonStyle).TopColor;
        FColorMarginRightBottom = FFrameBottomColor = MarginStyleBottomColor(FButtonStyle);
    }
    Invalidate();
}

void TQuolButton::SetColorMarginLeftTop(TColor color) {
    if (color == FColorMarginLeftTop)
        return;
    FColorMarginLeftTop = FFrameTopColor = color;
    if (FButtonStyle != stNone && FColorMarginStyle == cmDefault &&
        color != StyleInfo(FButtonStyle).TopColor)
        FColorMarginStyle = cmCustom;
    Invalidate();
}

void TQuolButton::SetColorMarginRightBottom(TColor color) {
    if (color == FColorMarginRightBottom)
        return;
    FColorMarginRightBottom = FFrameBottomColor = color;
    if (FButtonStyle != stNone && FColorMarginStyle == cmDefault &&
        color != StyleInfo(FButtonStyle).BottomColor)
        FColorMarginStyle = cmCustom;
    Invalidate();
}

std::string TQuolButton::Hint() const {
    // Built afresh each time: assigning the second line again does not repeat it.
    if (IsDesigning() || FHint.empty() || FHintSecondLine.empty())
        return FHint;
    return FHint + '\r' + FHintSecondLine;
}

void TQuolButton::UpdateDefaultStyle(bool isDefault) {
    if (!HandleAllocated() || isDefault == FDefaultStyleBit)
        return;
    FDefaultStyleBit = isDefault;
    Perform(Msg::BmSetStyle, isDefault ? 1 : 0, 1);
}

// =============================================================================================
// Painting

void TQuolButton::Paint() {
    if (FButtonStyle == stFlat)
        FFrameWidth = IsDesigning() ? 1 : 0;
    else if (FButtonStyle == stFlatDot)
        FFrameWidth = 1;
    FPainter.Draw(TQuolLook::Resting);
}

void TQuolButton::ResetFlatHoverFrame() {
    FFrameWidth = 0;
    FHotFrameWidth = 1;
    FPenStyle = TPenStyle::Solid;
    if (FColorMarginStyle == cmDefault) {
        FColorMarginLeftTop = clBtnHighlight;
        FColorMarginRightBottom = clBtnShadow;
    }
    FFrameTopColor = FColorMarginLeftTop;
    FFrameBottomColor = FColorMarginRightBottom;
}

// =============================================================================================
// Mouse

void TQuolButton::HandleMouseEnter(TMessage&) {
    if (!Enabled())
        return;
    if (OnMouseOver) {
        const TLifeToken alive = LifeToken();
        OnMouseOver(this);
        if (!alive)
            return;
    }
    if (StyleInfo(FButtonStyle).ShowsFocus && FPopupMenu && CanFocus())
        SetFocus();
    if (FCursorHandCustom) {
        Platform().LoadCursorResource(kHandCursorSlot, kHandCursorResource);
        SetCursor(kHandCursorSlot);
    }
    FState.Enter();
    // The sound plays on its own; the hover look does not wait for it.
    if (FPlayMusic)
        Platform().PlaySoundResource(kHoverSoundResource);
    if (FButtonStyle == stFlat)
        ResetFlatHoverFrame();
    FPainter.Draw(TQuolLook::Hover);
}

void TQuolButton::HandleMouseLeave(TMessage&) {
    // Repetition ends even when the button was disabled meanwhile.
    StopRepeat();
    if (!Enabled())
        return;
    if (OnMouseOut) {
        const TLifeToken alive = LifeToken();
        OnMouseOut(this);
        if (!alive)
            return;
    }
    if (FCursorHandCustom)
        SetCursor(crDefault);
    FState.Leave();
    FPainter.Draw(TQuolLook::Left);
}

void TQuolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != mbLeft || !Enabled())
        return;
    const TStyleInfo& style = StyleInfo(FButtonStyle);
    if (FShowFocused && TabStop() && style.ShowsFocus && CanFocus())
        SetFocus();
    if (FRepeatAction)
        StartRepeatDelay();
    FState.Press();
    FPainter.Draw(TQuolLook::Pressed);
    if (FPopupMenu)
        ShowPopupMenu(button, shift, x, y);
}

void TQuolButton::ShowPopupMenu(TMouseButton button, TShiftState shift, int x, int y) {
    const TPoint corner = ClientToScreen({0, 0});
    TPoint at{corner.X - 1, corner.Y + Height()};
    TPopupAlignment alignment = paLeft;
    if (FPositionPopup == puLeft) {
        at = {corner.X - 1, corner.Y};
        alignment = paRight;
    } else if (FPositionPopup == puRight) {
        at = {corner.X + Width() + 1, corner.Y};
    }
    FPopupMenu->SetAlignment(alignment);
    const TLifeToken alive = LifeToken();
    // A modal loop; the menu takes the release of this press, so there is no click.
    FPopupMenu->Popup(at.X, at.Y);
    if (!alive)
        return;
    FState.MenuClosed();
    FPainter.Draw(TQuolLook::AfterPopup);
    StopRepeat();
    TCustomControl::MouseDown(button, shift, x, y);
}

void TQuolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != mbLeft)
        return;
    StopRepeat();
    if (!Enabled() || FState.MouseLeft())
        return;
    FState.Release();
    FPainter.Draw(TQuolLook::Released);
    if (StyleInfo(FButtonStyle).ShowsFocus && CanFocus())
        SetFocus();
    TCustomControl::MouseUp(button, shift, x, y);
}

void TQuolButton::HandleDoubleClick(TMessage& message) {
    const TLifeToken alive = LifeToken();
    DispatchInherited(StaticMessageTable(), message);
    if (alive)
        Click();
}

void TQuolButton::Click() {
    // A platform delivers no mouse input to a disabled window; a test or a captured pointer
    // may, and a disabled button still does not click.
    if (!Enabled())
        return;
    if (FButtonKind == skHelp) {
        for (TControl* c = this; c; c = c->Parent())
            if (c->HelpContext() != 0) {
                if (Application())
                    Application()->HelpContext(c->HelpContext());
                return;
            }
    } else if (FButtonKind == skClose) {
        if (auto* form = dynamic_cast<TForm*>(RootParent())) {
            form->Close();
            return;
        }
    }
    TCustomControl::Click();
}

void TQuolButton::HandleCommand(TMessage& message) {
    if (HiWordSigned(static_cast<std::intptr_t>(message.WParam)) == kClickedNotification &&
        HandleAllocated() && static_cast<TWindowHandle>(message.LParam) == Handle()) {
        Click();
        return;
    }
    DispatchInherited(StaticMessageTable(), message);
}

// =============================================================================================
// Click repetition

TTimer* TQuolButton::MakeRepeatTimer(void (TQuolButton::*tick)(TObject*)) {
    auto* timer = new TTimer(this);
    timer->SetEnabled(false);
    timer->OnTimer = [this, tick](TObject* sender) { (this->*tick)(sender); };
    return timer;
}

void TQuolButton::StartRepeatDelay() {
    if (!FRepeatStartTimer) {
        FRepeatStartTimer = MakeRepeatTimer(&TQuolButton::RepeatStartTick);
        FRepeatTimer = MakeRepeatTimer(&TQuolButton::RepeatTick);
    }
    FRepeatTimer->SetEnabled(false);
    FRepeatStartTimer->SetInterval(static_cast<unsigned>(std::max(FRepeatStartInterval, 0)));
    FRepeatStartTimer->SetEnabled(true);
}

void TQuolButton::StopRepeat() {
    if (FRepeatStartTimer)
        FRepeatStartTimer->SetEnabled(false);
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
}

void TQuolButton::RepeatStartTick(TObject*) {
    FRepeatStartTimer->SetEnabled(false);
    if (!FRepeatAction || !Enabled() || !FState.Held())
        return;
    FRepeatTimer->SetInterval(static_cast<unsigned>(std::max(FRepeatInterval, 0)));
    FRepeatTimer->SetEnabled(true);
}

void TQuolButton::RepeatTick(TObject*) {
    // A handler that disabled the button, or a release nobody told us about, ends it.
    if (!Enabled() || !FState.Held()) {
        StopRepeat();
        return;
    }
    if (FRepeatAction && OnClick)
        OnClick(this);
}

void TQuolButton::CancelPress() {
    StopRepeat();
    FState.CancelPress();
    if (MouseCapture())
        SetMouseCapture(false);
}

void TQuolButton::HandleCaptureChanged(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    StopRepeat();
    FState.CancelPress();
}

// =============================================================================================
// Keyboard and focus

void TQuolButton::HandleDialogKey(TMessage& message) {
    const int key = static_cast<int>(message.WParam);
    const auto shift = static_cast<TShiftState>(message.LParam);
    const bool wanted = (key == VK::Return && FState.Active()) || (key == VK::Escape && FCancel);
    if (wanted && (shift & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus()) {
        message.Result = 1;
        Click();
        return;
    }
    DispatchInherited(StaticMessageTable(), message);
}

void TQuolButton::HandleDialogChar(TMessage& message) {
    if (IsAccel(static_cast<char32_t>(message.WParam), Caption()) && CanFocus()) {
        message.Result = 1;
        Click();
        return;
    }
    DispatchInherited(StaticMessageTable(), message);
}

void TQuolButton::HandleFocusChange(TMessage& message) {
    auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
    if (dynamic_cast<TQuolButton*>(focused))
        FState.SetActive(focused == this);
    else
        FState.SetActive(FDefault);
    UpdateDefaultStyle(FState.Active());
    if (StyleInfo(FButtonStyle).ShowsFocus && FState.HasFocus() && FShowFocused)
        Invalidate();
    DispatchInherited(StaticMessageTable(), message);
}

void TQuolButton::DoEnter() {
    TCustomControl::DoEnter();
    if (StyleInfo(FButtonStyle).TracksFocus)
        FState.SetHasFocus(true);
}

void TQuolButton::DoExit() {
    TCustomControl::DoExit();
    if (StyleInfo(FButtonStyle).TracksFocus) {
        FState.SetHasFocus(false);
        if (FShowFocused)
            Invalidate();
    }
}

// =============================================================================================
// Changes of state

void TQuolButton::HandleEnabledChanged(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    if (!Enabled()) {
        CancelPress();
        // A disabled button shows no hover look.
        FState.DropHotText();
    }
    Invalidate();
}

void TQuolButton::HandleVisibleChanged(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    if (!Visible())
        CancelPress();
    Invalidate();
}

void TQuolButton::HandleFontChanged(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    if (HasPlatform())
        Canvas().Font().Assign(Font());
    Invalidate();
}

void TQuolButton::HandleColorChanged(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    if (StyleForcesButtonFace())
        SetColor(clBtnFace);
    if (ParentColor())
        Invalidate();
}

} // namespace quol
