#include "app/uWindowFamilies.h"

#include <algorithm>
#include <functional>

namespace varnel {

using namespace fw;

TSeenWindow See(IWindowManager& desktop, TWindowHandle window) {
    return {window, desktop.WindowThreadProcess(window), desktop.Owner(window)};
}

bool StillTheSame(IWindowManager& desktop, const TSeenWindow& seen) {
    const TThreadProcess thread = desktop.WindowThreadProcess(seen.Handle);
    return thread.Thread != 0 && thread == seen.Thread && desktop.Owner(seen.Handle) == seen.Owner;
}

TDesktopFamilies::TDesktopFamilies(IWindowManager& desktop) {
    desktop.EnumTopLevelWindows([&](TWindowHandle window) {
        FFrontFirst.push_back(window);
        if (const TWindowHandle owner = desktop.Owner(window))
            FOwner[window] = owner;
        if (desktop.IsVisible(window))
            FVisible.insert(window);
        return true;
    });
}

std::vector<TWindowHandle> TDesktopFamilies::VisibleOwned(TWindowHandle head) const {
    // A window belongs when each window on its way up to the head is visible.
    std::map<TWindowHandle, bool> belongs{{head, true}};
    const std::function<bool(TWindowHandle, std::size_t)> reaches = [&](TWindowHandle window,
                                                                        std::size_t depth) -> bool {
        if (const auto known = belongs.find(window); known != belongs.end())
            return known->second;
        const auto owner = FOwner.find(window);
        // The platform allows no loops; the depth bound keeps a broken answer from recursing.
        const bool result = owner != FOwner.end() && FVisible.count(window) &&
                            depth < FFrontFirst.size() && reaches(owner->second, depth + 1);
        belongs[window] = result;
        return result;
    };
    std::vector<TWindowHandle> owned;
    for (const TWindowHandle window : FFrontFirst)
        if (window != head && reaches(window, 0))
            owned.push_back(window);
    return OwnedBeforeOwners(owned, FOwner);
}

std::vector<TWindowHandle>
OwnedBeforeOwners(const std::vector<TWindowHandle>& frontFirst,
                  const std::map<TWindowHandle, TWindowHandle>& ownerOf) {
    std::map<TWindowHandle, std::vector<TWindowHandle>> ownedBy;
    for (const TWindowHandle window : frontFirst)
        if (const auto owner = ownerOf.find(window); owner != ownerOf.end())
            ownedBy[owner->second].push_back(window);
    std::vector<TWindowHandle> ordered;
    std::set<TWindowHandle> placed;
    const std::function<void(TWindowHandle)> place = [&](TWindowHandle window) {
        if (!placed.insert(window).second)
            return;
        if (const auto owned = ownedBy.find(window); owned != ownedBy.end())
            for (const TWindowHandle w : owned->second)
                place(w);
        ordered.push_back(window);
    };
    for (const TWindowHandle window : frontFirst)
        place(window);
    return ordered;
}

void StackInOrder(IWindowManager& desktop, const std::vector<TWindowHandle>& frontFirst) {
    for (std::size_t i = 1; i < frontFirst.size(); ++i)
        desktop.PlaceBehind(frontFirst[i], frontFirst[i - 1]);
}

void StackFamilies(IWindowManager& desktop, const std::vector<TWindowHandle>& frontFirst) {
    std::map<TWindowHandle, TWindowHandle> ownerOf;
    std::map<TWindowHandle, TWindowHandle> headOf;
    std::vector<TWindowHandle> heads;
    for (const TWindowHandle window : frontFirst) {
        TWindowHandle head = window;
        for (std::size_t depth = 0; depth < 64; ++depth) {
            const TWindowHandle owner = desktop.Owner(head);
            if (owner == 0)
                break;
            if (head == window)
                ownerOf[window] = owner;
            head = owner;
        }
        headOf[window] = head;
        if (std::find(heads.begin(), heads.end(), head) == heads.end())
            heads.push_back(head);
    }
    const std::vector<TWindowHandle> ordered = OwnedBeforeOwners(frontFirst, ownerOf);
    for (const TWindowHandle head : heads) {
        std::vector<TWindowHandle> family;
        for (const TWindowHandle window : ordered)
            if (headOf[window] == head)
                family.push_back(window);
        if (std::find(family.begin(), family.end(), head) == family.end() && desktop.IsWindow(head))
            family.push_back(head);
        StackInOrder(desktop, family);
    }
}

void THiddenFamilies::AddOwned(TWindowHandle head, const std::vector<TSeenWindow>& owned) {
    std::vector<TSeenWindow>& recorded = FOwned[head];
    for (const TSeenWindow& window : owned)
        if (std::find(recorded.begin(), recorded.end(), window) == recorded.end())
            recorded.push_back(window);
}

std::vector<TSeenWindow> THiddenFamilies::TakeOwned(TWindowHandle head) {
    const auto it = FOwned.find(head);
    if (it == FOwned.end())
        return {};
    std::vector<TSeenWindow> owned = std::move(it->second);
    FOwned.erase(it);
    return owned;
}

std::optional<TSeenWindow> THiddenFamilies::TakeActive() {
    std::optional<TSeenWindow> active = FActive;
    FActive.reset();
    return active;
}

void THiddenFamilies::SetGiveBack(const TSeenWindow& window, std::uint32_t until) {
    FGiveBack = window;
    FGiveBackUntil = until;
}

bool THiddenFamilies::GiveBackPending(std::uint32_t now) const {
    // Tick counts wrap: the difference tells which comes first.
    return FGiveBack && std::int32_t(FGiveBackUntil - now) >= 0;
}

std::optional<TSeenWindow> THiddenFamilies::TakeGiveBack(std::uint32_t now) {
    const bool due = GiveBackPending(now);
    std::optional<TSeenWindow> window = FGiveBack;
    FGiveBack.reset();
    return due ? window : std::nullopt;
}

void THiddenFamilies::Clear() {
    FOwned.clear();
    FActive.reset();
}

} // namespace varnel
