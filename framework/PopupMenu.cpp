#include "framework/PopupMenu.h"

#include "framework/Application.h"

namespace fw {

int TPopupMenu::Popup(int screenX, int screenY) {
    if (OnPopup)
        OnPopup(this);
    std::vector<TMenuItemDesc> items;
    items.reserve(FItems.size());
    for (const TMenuItem& item : FItems)
        items.push_back({item.Caption, item.Enabled, item.Checked});
    TApplication* app = Application();
    const TWindowHandle owner = app ? app->Handle() : 0;
    const int chosen = Platform().TrackPopupMenu(owner, {screenX, screenY}, items, FAlignment);
    if (chosen >= 0 && chosen < static_cast<int>(FItems.size())) {
        // Copy: the handler may change the menu.
        TNotifyEvent handler = FItems[static_cast<std::size_t>(chosen)].OnClick;
        if (handler)
            handler(this);
        return chosen;
    }
    return -1;
}

} // namespace fw
