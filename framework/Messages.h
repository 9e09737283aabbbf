// Window messages as the framework sees them. Numbers equal the platform's so that a
// message travels unchanged from the platform's window procedure to a handler method.
#pragma once

#include <cstdint>

namespace fw {

struct TMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

// Little-endian halves of LParam, as the platform packs points and sizes.
inline int LoWordSigned(std::intptr_t v) {
    return static_cast<std::int16_t>(v & 0xFFFF);
}
inline int HiWordSigned(std::intptr_t v) {
    return static_cast<std::int16_t>((v >> 16) & 0xFFFF);
}
inline std::intptr_t MakeLParam(int lo, int hi) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(hi & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(lo & 0xFFFF));
}

namespace Msg {
constexpr std::uint32_t Create = 0x0001, Destroy = 0x0002, Move = 0x0003, Size = 0x0005,
                        Activate = 0x0006, SetFocus = 0x0007, KillFocus = 0x0008, Enable = 0x000A,
                        SetText = 0x000C, Paint = 0x000F, Close = 0x0010, QueryEndSession = 0x0011,
                        Quit = 0x0012, EraseBkgnd = 0x0014, SysColorChange = 0x0015,
                        EndSession = 0x0016, ShowWindow = 0x0018, CancelMode = 0x001F,
                        SetCursor = 0x0020, MouseActivate = 0x0021, GetMinMaxInfo = 0x0024,
                        WindowPosChanged = 0x0047, GetIcon = 0x007F, NcCalcSize = 0x0083,
                        NcHitTest = 0x0084, NcPaint = 0x0085, GetDlgCode = 0x0087,
                        BmSetStyle = 0x00F4, KeyDown = 0x0100, KeyUp = 0x0101, Char = 0x0102,
                        SysKeyDown = 0x0104, SysKeyUp = 0x0105, SysChar = 0x0106, Command = 0x0111,
                        SysCommand = 0x0112, Timer = 0x0113, HScroll = 0x0114, VScroll = 0x0115,
                        MouseMove = 0x0200, LButtonDown = 0x0201, LButtonUp = 0x0202,
                        LButtonDblClk = 0x0203, RButtonDown = 0x0204, RButtonUp = 0x0205,
                        RButtonDblClk = 0x0206, MButtonDown = 0x0207, MButtonUp = 0x0208,
                        MButtonDblClk = 0x0209, MouseWheel = 0x020A, CaptureChanged = 0x0215,
                        MouseLeave = 0x02A3, HotKey = 0x0312, User = 0x0400;

// Framework notifications between controls (not seen by the platform).
constexpr std::uint32_t CmBase = 0xB000;
constexpr std::uint32_t CmDialogKey = CmBase + 5, CmDialogChar = CmBase + 6,
                        CmFocusChanged = CmBase + 7, CmParentFontChanged = CmBase + 8,
                        CmParentColorChanged = CmBase + 9, CmEnabledChanged = CmBase + 12,
                        CmColorChanged = CmBase + 13, CmFontChanged = CmBase + 14,
                        CmVisibleChanged = CmBase + 16, CmTextChanged = CmBase + 18,
                        CmMouseEnter = CmBase + 19, CmMouseLeave = CmBase + 20,
                        CmSysColorChange = CmBase + 23;
} // namespace Msg

// System command codes carried by Msg::SysCommand.
namespace SysCmd {
constexpr std::uintptr_t Minimize = 0xF020, Maximize = 0xF030, Close = 0xF060, Restore = 0xF120;
}

// Modifier and button flags carried by mouse messages in WParam.
namespace MouseKey {
constexpr std::uintptr_t Left = 0x0001, Right = 0x0002, Shift = 0x0004, Control = 0x0008,
                         Middle = 0x0010;
}

// Virtual key codes.
namespace VK {
constexpr int LButton = 0x01, RButton = 0x02, MButton = 0x04, Back = 0x08, Tab = 0x09,
              Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12, Escape = 0x1B, Space = 0x20,
              Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26,
              Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E, Add = 0x6B, Subtract = 0x6D,
              Multiply = 0x6A, F2 = 0x71, F4 = 0x73;
}

// What a control asks for in its answer to Msg::GetDlgCode.
namespace DlgCode {
constexpr std::intptr_t WantArrows = 0x0001, WantTab = 0x0002, WantAllKeys = 0x0004,
                        WantChars = 0x0080;
}

// Hot-key modifiers.
namespace HotKeyMod {
constexpr unsigned Alt = 1, Control = 2, Shift = 4, Win = 8;
}

} // namespace fw
