// The one door to the Win32 headers. The framework headers come first so that the system's
// macros cannot rewrite their declarations; afterwards the macros that collide with framework
// names are removed and every system call below uses the wide (W) function by its full name.
#pragma once

#include "framework/Messages.h"
#include "framework/Platform.h"
#include "framework/Types.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fw::win32 {
// Captured before the macros go away, for the checks below.
constexpr int kWinDefaultCharset = DEFAULT_CHARSET;
constexpr int kWinAnsiCharset = ANSI_CHARSET;
constexpr int kWinHangeulCharset = HANGEUL_CHARSET;
} // namespace fw::win32

// Framework names the system headers turn into something else.
#undef DEFAULT_CHARSET
#undef ANSI_CHARSET
#undef HANGEUL_CHARSET
#undef RGB
#undef GetRValue
#undef GetGValue
#undef GetBValue
#undef DrawText
#undef TextOut
#undef CreateWindow
#undef GetObject
#undef PostMessage
#undef SendMessage
#undef LoadCursor
#undef LoadIcon
#undef GetMessage
#undef DispatchMessage
#undef SetWindowText
#undef GetWindowText
#undef FindResource
#undef ShellExecute
#undef PlaySound
#undef sndPlaySound

namespace fw::win32 {

// ---------------------------------------------------------------------------------------------
// The framework passes these values straight through; any mismatch is a build error here.

static_assert(sizeof(TRect) == sizeof(RECT) && offsetof(TRect, Left) == offsetof(RECT, left) &&
              offsetof(TRect, Top) == offsetof(RECT, top) &&
              offsetof(TRect, Right) == offsetof(RECT, right) &&
              offsetof(TRect, Bottom) == offsetof(RECT, bottom));
static_assert(sizeof(TPoint) == sizeof(POINT) && offsetof(TPoint, X) == offsetof(POINT, x) &&
              offsetof(TPoint, Y) == offsetof(POINT, y));
static_assert(sizeof(TSize) == sizeof(SIZE) && offsetof(TSize, cx) == offsetof(SIZE, cx) &&
              offsetof(TSize, cy) == offsetof(SIZE, cy));

static_assert(Msg::Create == WM_CREATE && Msg::Destroy == WM_DESTROY && Msg::Move == WM_MOVE &&
              Msg::Size == WM_SIZE && Msg::Activate == WM_ACTIVATE &&
              Msg::SetFocus == WM_SETFOCUS && Msg::KillFocus == WM_KILLFOCUS &&
              Msg::Enable == WM_ENABLE && Msg::SetText == WM_SETTEXT && Msg::Paint == WM_PAINT &&
              Msg::Close == WM_CLOSE && Msg::QueryEndSession == WM_QUERYENDSESSION &&
              Msg::Quit == WM_QUIT && Msg::EraseBkgnd == WM_ERASEBKGND &&
              Msg::SysColorChange == WM_SYSCOLORCHANGE && Msg::EndSession == WM_ENDSESSION &&
              Msg::ShowWindow == WM_SHOWWINDOW && Msg::CancelMode == WM_CANCELMODE &&
              Msg::SetCursor == WM_SETCURSOR && Msg::MouseActivate == WM_MOUSEACTIVATE &&
              Msg::GetMinMaxInfo == WM_GETMINMAXINFO &&
              Msg::WindowPosChanged == WM_WINDOWPOSCHANGED && Msg::GetIcon == WM_GETICON &&
              Msg::NcCalcSize == WM_NCCALCSIZE && Msg::NcHitTest == WM_NCHITTEST &&
              Msg::NcPaint == WM_NCPAINT && Msg::GetDlgCode == WM_GETDLGCODE);
static_assert(DlgCode::WantArrows == DLGC_WANTARROWS && DlgCode::WantTab == DLGC_WANTTAB &&
              DlgCode::WantAllKeys == DLGC_WANTALLKEYS && DlgCode::WantChars == DLGC_WANTCHARS);
static_assert(Msg::KeyDown == WM_KEYDOWN && Msg::KeyUp == WM_KEYUP && Msg::Char == WM_CHAR &&
              Msg::SysKeyDown == WM_SYSKEYDOWN && Msg::SysKeyUp == WM_SYSKEYUP &&
              Msg::Command == WM_COMMAND && Msg::SysCommand == WM_SYSCOMMAND &&
              Msg::Timer == WM_TIMER && Msg::HScroll == WM_HSCROLL && Msg::VScroll == WM_VSCROLL);
static_assert(Msg::MouseMove == WM_MOUSEMOVE && Msg::LButtonDown == WM_LBUTTONDOWN &&
              Msg::LButtonUp == WM_LBUTTONUP && Msg::LButtonDblClk == WM_LBUTTONDBLCLK &&
              Msg::RButtonDown == WM_RBUTTONDOWN && Msg::RButtonUp == WM_RBUTTONUP &&
              Msg::RButtonDblClk == WM_RBUTTONDBLCLK && Msg::MButtonDown == WM_MBUTTONDOWN &&
              Msg::MButtonUp == WM_MBUTTONUP && Msg::MButtonDblClk == WM_MBUTTONDBLCLK &&
              Msg::MouseWheel == WM_MOUSEWHEEL && Msg::CaptureChanged == WM_CAPTURECHANGED &&
              Msg::MouseLeave == WM_MOUSELEAVE && Msg::HotKey == WM_HOTKEY && Msg::User == WM_USER);
static_assert(SysCmd::Minimize == SC_MINIMIZE && SysCmd::Maximize == SC_MAXIMIZE &&
              SysCmd::Close == SC_CLOSE && SysCmd::Restore == SC_RESTORE);
static_assert(MouseKey::Left == MK_LBUTTON && MouseKey::Right == MK_RBUTTON &&
              MouseKey::Shift == MK_SHIFT && MouseKey::Control == MK_CONTROL &&
              MouseKey::Middle == MK_MBUTTON);
static_assert(VK::LButton == VK_LBUTTON && VK::RButton == VK_RBUTTON && VK::MButton == VK_MBUTTON &&
              VK::Back == VK_BACK && VK::Tab == VK_TAB && VK::Return == VK_RETURN &&
              VK::Shift == VK_SHIFT && VK::Control == VK_CONTROL && VK::Menu == VK_MENU &&
              VK::Escape == VK_ESCAPE && VK::Space == VK_SPACE && VK::Prior == VK_PRIOR &&
              VK::Next == VK_NEXT && VK::End == VK_END && VK::Home == VK_HOME &&
              VK::Left == VK_LEFT && VK::Up == VK_UP && VK::Right == VK_RIGHT &&
              VK::Down == VK_DOWN && VK::Insert == VK_INSERT && VK::Delete == VK_DELETE &&
              VK::Add == VK_ADD && VK::Subtract == VK_SUBTRACT && VK::Multiply == VK_MULTIPLY &&
              VK::F2 == VK_F2 && VK::F4 == VK_F4);
static_assert(HotKeyMod::Alt == MOD_ALT && HotKeyMod::Control == MOD_CONTROL &&
              HotKeyMod::Shift == MOD_SHIFT && HotKeyMod::Win == MOD_WIN);

static_assert(DT::Left == DT_LEFT && DT::Center == DT_CENTER && DT::Right == DT_RIGHT &&
              DT::VCenter == DT_VCENTER && DT::Bottom == DT_BOTTOM &&
              DT::WordBreak == DT_WORDBREAK && DT::SingleLine == DT_SINGLELINE &&
              DT::ExpandTabs == DT_EXPANDTABS && DT::NoClip == DT_NOCLIP &&
              DT::CalcRect == DT_CALCRECT && DT::NoPrefix == DT_NOPREFIX &&
              DT::EndEllipsis == DT_END_ELLIPSIS);
static_assert(ETO::Opaque == ETO_OPAQUE && ETO::Clipped == ETO_CLIPPED);
static_assert(BDR::RaisedOuter == BDR_RAISEDOUTER && BDR::SunkenOuter == BDR_SUNKENOUTER &&
              BDR::RaisedInner == BDR_RAISEDINNER && BDR::SunkenInner == BDR_SUNKENINNER &&
              BDR::EdgeRaised == EDGE_RAISED && BDR::EdgeSunken == EDGE_SUNKEN &&
              BDR::EdgeEtched == EDGE_ETCHED && BDR::EdgeBump == EDGE_BUMP);
static_assert(BF::Left == BF_LEFT && BF::Top == BF_TOP && BF::Right == BF_RIGHT &&
              BF::Bottom == BF_BOTTOM && BF::Rect == BF_RECT && BF::Middle == BF_MIDDLE &&
              BF::Soft == BF_SOFT && BF::Adjust == BF_ADJUST && BF::Flat == BF_FLAT &&
              BF::Mono == BF_MONO);
static_assert(Rop::SrcCopy == SRCCOPY && Rop::SrcPaint == SRCPAINT && Rop::SrcAnd == SRCAND &&
              Rop::SrcInvert == SRCINVERT && Rop::PatCopy == PATCOPY &&
              Rop::DstInvert == DSTINVERT);
static_assert(SW::Hide == SW_HIDE && SW::ShowNormal == SW_SHOWNORMAL &&
              SW::ShowMinimized == SW_SHOWMINIMIZED && SW::Maximize == SW_MAXIMIZE &&
              SW::ShowNoActivate == SW_SHOWNOACTIVATE && SW::Show == SW_SHOW &&
              SW::Minimize == SW_MINIMIZE && SW::ShowMinNoActive == SW_SHOWMINNOACTIVE &&
              SW::ShowNA == SW_SHOWNA && SW::Restore == SW_RESTORE);
static_assert(WSEx::TopMost == WS_EX_TOPMOST && WSEx::ToolWindow == WS_EX_TOOLWINDOW &&
              WSEx::AppWindow == WS_EX_APPWINDOW && WSEx::NoActivate == WS_EX_NOACTIVATE);
static_assert(SB::Horz == SB_HORZ && SB::Vert == SB_VERT);
static_assert(SM::CxScreen == SM_CXSCREEN && SM::CyScreen == SM_CYSCREEN &&
              SM::CxVScroll == SM_CXVSCROLL && SM::CyHScroll == SM_CYHSCROLL &&
              SM::CyCaption == SM_CYCAPTION && SM::CxBorder == SM_CXBORDER &&
              SM::CyBorder == SM_CYBORDER && SM::CxDoubleClk == SM_CXDOUBLECLK &&
              SM::CyDoubleClk == SM_CYDOUBLECLK && SM::CxFrame == SM_CXFRAME &&
              SM::CyFrame == SM_CYFRAME && SM::CxDrag == SM_CXDRAG && SM::CyDrag == SM_CYDRAG &&
              SM::XVirtualScreen == SM_XVIRTUALSCREEN && SM::YVirtualScreen == SM_YVIRTUALSCREEN &&
              SM::CxVirtualScreen == SM_CXVIRTUALSCREEN &&
              SM::CyVirtualScreen == SM_CYVIRTUALSCREEN);
static_assert(kWheelPageScroll == WHEEL_PAGESCROLL);
static_assert(SysColor::ScrollBar == COLOR_SCROLLBAR && SysColor::Background == COLOR_BACKGROUND &&
              SysColor::ActiveCaption == COLOR_ACTIVECAPTION &&
              SysColor::InactiveCaption == COLOR_INACTIVECAPTION && SysColor::Menu == COLOR_MENU &&
              SysColor::Window == COLOR_WINDOW && SysColor::WindowFrame == COLOR_WINDOWFRAME &&
              SysColor::MenuText == COLOR_MENUTEXT && SysColor::WindowText == COLOR_WINDOWTEXT &&
              SysColor::CaptionText == COLOR_CAPTIONTEXT &&
              SysColor::ActiveBorder == COLOR_ACTIVEBORDER &&
              SysColor::InactiveBorder == COLOR_INACTIVEBORDER &&
              SysColor::AppWorkSpace == COLOR_APPWORKSPACE &&
              SysColor::Highlight == COLOR_HIGHLIGHT &&
              SysColor::HighlightText == COLOR_HIGHLIGHTTEXT &&
              SysColor::BtnFace == COLOR_BTNFACE && SysColor::BtnShadow == COLOR_BTNSHADOW &&
              SysColor::GrayText == COLOR_GRAYTEXT && SysColor::BtnText == COLOR_BTNTEXT &&
              SysColor::InactiveCaptionText == COLOR_INACTIVECAPTIONTEXT &&
              SysColor::BtnHighlight == COLOR_BTNHIGHLIGHT &&
              SysColor::DkShadow3D == COLOR_3DDKSHADOW && SysColor::Light3D == COLOR_3DLIGHT &&
              SysColor::InfoText == COLOR_INFOTEXT && SysColor::InfoBk == COLOR_INFOBK);
static_assert(DEFAULT_CHARSET == kWinDefaultCharset && ANSI_CHARSET == kWinAnsiCharset &&
              HANGEUL_CHARSET == kWinHangeulCharset);
static_assert(sizeof(TColorRef) == sizeof(COLORREF));

// ---------------------------------------------------------------------------------------------
// Handles cross the interface as 32-bit numbers. User handles are 32-bit values even in a 64-bit
// process, where they are sign-extended; the conversions below keep that true on both.

inline HWND ToHwnd(TWindowHandle h) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(h)));
}
inline TWindowHandle FromHwnd(HWND h) {
    return static_cast<TWindowHandle>(reinterpret_cast<std::uintptr_t>(h));
}
inline HICON ToHicon(TIconHandle h) {
    return reinterpret_cast<HICON>(static_cast<std::intptr_t>(static_cast<std::int32_t>(h)));
}
inline TIconHandle FromHicon(HICON h) {
    return static_cast<TIconHandle>(reinterpret_cast<std::uintptr_t>(h));
}

inline RECT ToRect(const TRect& r) {
    return RECT{r.Left, r.Top, r.Right, r.Bottom};
}
inline TRect FromRect(const RECT& r) {
    return TRect{r.left, r.top, r.right, r.bottom};
}

// ---------------------------------------------------------------------------------------------
// Text at the edge: UTF-8 above, UTF-16 below. Malformed input becomes U+FFFD, never an error.

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// The first `maxChars` characters (a surrogate pair counts once; a lone surrogate at the end
// of the input is dropped) converted to UTF-8.
std::string NarrowPrefix(std::wstring_view utf16, int maxChars);

// Last-resort diagnostics for failures that must not escape a system callback.
void ReportToDebugger(std::string_view what);

} // namespace fw::win32
