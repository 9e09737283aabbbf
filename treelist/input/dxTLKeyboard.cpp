// Keyboard input of a tree list: the keys the list asks the platform for, and the entry of
// keys and characters. What a key asks is decided in dxTLKeyMovement, applied by the key mover
// (dxTLKeyMover). A key runs inside one selection lock, so it raises OnSelectedCountChange at
// most once.
#include "treelist/input/dxTLKeyMover.h"

namespace dxtl {

using namespace fw;

void TCustomdxTreeListControl::KeyDown(int& key, TShiftState shift) {
    HandleKeyDown(key, shift);
}

void TCustomdxTreeListControl::KeyPress(char32_t& key) {
    HandleKeyPress(key);
}

void TCustomdxTreeListControl::WMGetDlgCode(TMessage& message) {
    const bool ctrl = HasPlatform() && Platform().KeyState(VK::Control) < 0;
    const bool alt = HasPlatform() && Platform().KeyState(VK::Menu) < 0;
    message.Result = DlgCode::WantArrows;
    if (FOptions.Contains(aoEditing) || (FOptionsEx.Contains(aoAutoSearch) && !alt))
        message.Result |= DlgCode::WantChars;
    if (FOptions.Contains(aoTabs) && !ctrl)
        message.Result |= DlgCode::WantTab;
}

void TCustomdxTreeListControl::HandleKeyDown(int& key, TShiftState shift) {
    UnderSelectionLock([&] { TKeyMover(*this).KeyDown(key, shift); });
}

void TCustomdxTreeListControl::HandleKeyPress(char32_t& key) {
    TKeyMover(*this).KeyPress(key);
}

} // namespace dxtl
