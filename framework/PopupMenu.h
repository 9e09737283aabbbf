// A context menu shown at a screen point.
#pragma once

#include "framework/Component.h"
#include "framework/Control.h"

#include <string>
#include <vector>

namespace fw {

struct TMenuItem {
    std::string Caption;
    bool Enabled = true;
    bool Checked = false;
    TNotifyEvent OnClick;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner) : TComponent(owner) {}

    std::vector<TMenuItem>& Items() { return FItems; }
    // Which edge of the menu lies at the point Popup is given.
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment alignment) { FAlignment = alignment; }
    // Shows the menu (a modal loop) and runs the chosen item's OnClick; returns its index
    // or -1 when the menu was dismissed.
    int Popup(int screenX, int screenY);
    TNotifyEvent OnPopup;

private:
    std::vector<TMenuItem> FItems;
    TPopupAlignment FAlignment = paLeft;
};

} // namespace fw
