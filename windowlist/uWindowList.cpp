#include "windowlist/uWindowList.h"

namespace varnel {

TWindowList::TWindowList(fw::TComponent* owner) : fw::TComponent(owner) {
    if (!IsDesigning())
        Enumerate(FRecords);
}

TWindowList::~TWindowList() = default;

void TWindowList::Refresh() {
    // The old records live until the new snapshot is complete: the icon queries let messages
    // in (a session's end, say) whose handlers still read the rows made from them.
    std::vector<std::unique_ptr<TWindowObject>> fresh;
    Enumerate(fresh);
    FRecords.swap(fresh);
}

void TWindowList::Enumerate(std::vector<std::unique_ptr<TWindowObject>>& records) {
    fw::IWindowManager& desktop = Platform().Desktop();
    const fw::TWindowHandle desktopWindow = desktop.DesktopWindow();
    desktop.EnumTopLevelWindows([&](fw::TWindowHandle handle) {
        auto record = std::make_unique<TWindowObject>();
        record->Handle = handle;
        record->Caption = desktop.WindowText(handle, kMaxCaptionChars);
        const fw::TWindowHandle owner = desktop.Owner(handle);
        record->Unowned = owner == 0;
        record->Visible = desktop.IsVisible(handle);
        record->Iconic = desktop.IsIconic(handle);
        const std::uint32_t exStyle = desktop.ExStyle(handle);
        record->DesktopOwned = owner == desktopWindow;
        record->ToolWindow = (exStyle & fw::WSEx::ToolWindow) != 0;
        record->AppWindow = (exStyle & fw::WSEx::AppWindow) != 0;
        if (record->Unowned && (record->Visible || record->Iconic)) {
            // Only listed windows are asked for their icon: every query may wait for a
            // window that does not answer.
            record->SmallIcon = desktop.QuerySmallIcon(handle, kSmallIconWaitMs);
            record->Owner = desktop.WindowThreadProcess(handle);
            records.push_back(std::move(record));
        }
        return true;
    });
}

void TWindowList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        fw::RaiseListIndexError(index);
}

void TWindowList::GetItem(int index, TWindowObject& out) const {
    CheckIndex(index);
    out = *FRecords[static_cast<std::size_t>(index)];
}

TWindowObject* TWindowList::Items(int index) const {
    CheckIndex(index);
    return FRecords[static_cast<std::size_t>(index)].get();
}

} // namespace varnel
