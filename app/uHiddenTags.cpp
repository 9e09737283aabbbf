#include "app/uHiddenTags.h"

#include "app/uWindowFamilies.h"

#include <map>

namespace varnel {

using namespace fw;

namespace {

// A property value of 0 reads as no property, so each half of the 64-bit start time is kept
// in 31 bits with the top bit set: never 0, and exact for any start time below 2^62 (the
// platform's clock reaches that in the year 16,000).
constexpr std::uint32_t kHalfMarker = 0x80000000u;
constexpr std::uint32_t kHalfBits = 0x7FFFFFFFu;

std::uint32_t LowHalf(std::uint64_t time) {
    return kHalfMarker | std::uint32_t(time & kHalfBits);
}

std::uint32_t HighHalf(std::uint64_t time) {
    return kHalfMarker | std::uint32_t((time >> 31) & kHalfBits);
}

std::optional<std::uint64_t> Join(std::uint32_t low, std::uint32_t high) {
    if (!(low & kHalfMarker) || !(high & kHalfMarker))
        return std::nullopt;
    return (std::uint64_t(high & kHalfBits) << 31) | (low & kHalfBits);
}

} // namespace

THiddenWindowTags::THiddenWindowTags(IWindowManager& desktop)
    : THiddenWindowTags(desktop, desktop.CurrentProcess()) {}

THiddenWindowTags::THiddenWindowTags(IWindowManager& desktop, TProcessIdentity self)
    : FDesktop(desktop), FSelf(self) {}

std::optional<THiddenTag> THiddenWindowTags::Read(TWindowHandle window) {
    const std::uint32_t hider = FDesktop.Property(window, kHiderIdProperty);
    if (hider == 0)
        return std::nullopt;
    const std::optional<std::uint64_t> start =
        Join(FDesktop.Property(window, kHiderStartLowProperty),
             FDesktop.Property(window, kHiderStartHighProperty));
    const TThreadProcess owner{FDesktop.Property(window, kWindowThreadProperty),
                               FDesktop.Property(window, kWindowProcessProperty)};
    if (!start || owner.Thread == 0 || owner.Process == 0)
        return std::nullopt;
    return THiddenTag{{hider, *start}, owner, FDesktop.Property(window, kWindowOwnerProperty)};
}

void THiddenWindowTags::Write(TWindowHandle window, const THiddenTag& tag) {
    FDesktop.SetProperty(window, kWindowThreadProperty, tag.Window.Thread);
    FDesktop.SetProperty(window, kWindowProcessProperty, tag.Window.Process);
    if (tag.WindowOwner != 0)
        FDesktop.SetProperty(window, kWindowOwnerProperty, tag.WindowOwner);
    FDesktop.SetProperty(window, kHiderStartLowProperty, LowHalf(tag.HiddenBy.StartTime));
    FDesktop.SetProperty(window, kHiderStartHighProperty, HighHalf(tag.HiddenBy.StartTime));
    FDesktop.SetProperty(window, kHiderIdProperty, tag.HiddenBy.Id);
}

void THiddenWindowTags::Remove(TWindowHandle window) {
    if (FDesktop.Property(window, kHiderIdProperty) == 0 &&
        FDesktop.Property(window, kWindowThreadProperty) == 0)
        return;
    FDesktop.RemoveProperty(window, kHiderIdProperty);
    FDesktop.RemoveProperty(window, kHiderStartLowProperty);
    FDesktop.RemoveProperty(window, kHiderStartHighProperty);
    FDesktop.RemoveProperty(window, kWindowThreadProperty);
    FDesktop.RemoveProperty(window, kWindowProcessProperty);
    FDesktop.RemoveProperty(window, kWindowOwnerProperty);
}

void THiddenWindowTags::BeforeHide(TWindowHandle window) {
    if (!FDesktop.IsVisible(window))
        return;
    const TThreadProcess owner = FDesktop.WindowThreadProcess(window);
    if (owner.Thread == 0 || owner.Process == 0 || FSelf.Id == 0)
        return;
    Write(window, {FSelf, owner, FDesktop.Owner(window)});
}

bool THiddenWindowTags::HiddenByAnotherRunningCopy(TWindowHandle window) {
    const std::optional<THiddenTag> tag = Read(window);
    // A copy that cannot be looked at may have ended: the user asked for the window, so it
    // is shown. Only start-up, which nobody asked, needs to be sure.
    return tag && tag->HiddenBy != FSelf &&
           FDesktop.ProcessState(tag->HiddenBy) == TProcessState::Running;
}

void THiddenWindowTags::AfterShow(TWindowHandle window) {
    Remove(window);
}

std::vector<TWindowHandle> THiddenWindowTags::TaggedWindows(std::uint32_t hider) {
    std::vector<TWindowHandle> tagged;
    FDesktop.EnumTopLevelWindows([&](TWindowHandle window) {
        const std::uint32_t id = FDesktop.Property(window, kHiderIdProperty);
        if (id != 0 && (hider == 0 || id == hider))
            tagged.push_back(window);
        return true;
    });
    return tagged;
}

bool THiddenWindowTags::StillTheWindowTagged(TWindowHandle window, const THiddenTag& tag) {
    // The same program's thread, and the same owner (none for a window the list shows).
    // Anything else is left as it is.
    return FDesktop.IsWindow(window) && FDesktop.WindowThreadProcess(window) == tag.Window &&
           FDesktop.Owner(window) == tag.WindowOwner;
}

std::vector<TWindowHandle> THiddenWindowTags::RecoverOrphans() {
    std::vector<TWindowHandle> orphans;
    std::map<TWindowHandle, TWindowHandle> ownerOf;
    for (const TWindowHandle window : TaggedWindows(0)) {
        const std::optional<THiddenTag> tag = Read(window);
        if (!tag || tag->HiddenBy == FSelf ||
            FDesktop.ProcessState(tag->HiddenBy) != TProcessState::Gone ||
            !StillTheWindowTagged(window, *tag))
            continue;
        // A window visible again was shown by its program; only the tag is stale.
        if (!FDesktop.IsVisible(window)) {
            orphans.push_back(window);
            if (tag->WindowOwner != 0)
                ownerOf[window] = tag->WindowOwner;
        }
        Remove(window);
    }
    // Owners first, so that a window manager that raises what it maps leaves each dialog in
    // front of its owner; the order is then set as well.
    std::vector<TWindowHandle> shown = OwnedBeforeOwners(orphans, ownerOf);
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        FDesktop.ShowWindow(*it, SW::ShowNA);
    StackFamilies(FDesktop, shown);
    if (!shown.empty())
        FDesktop.WaitUntilShown(shown, kRecoveryWaitMs);
    return shown;
}

std::vector<TWindowHandle> THiddenWindowTags::HiddenBySelf() {
    std::vector<TWindowHandle> hidden;
    for (const TWindowHandle window : TaggedWindows(FSelf.Id)) {
        const std::optional<THiddenTag> tag = Read(window);
        if (tag && tag->HiddenBy == FSelf && StillTheWindowTagged(window, *tag) &&
            !FDesktop.IsVisible(window))
            hidden.push_back(window);
    }
    return hidden;
}

} // namespace varnel
