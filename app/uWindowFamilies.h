// Families of top-level windows: a window and the windows it owns (dialogs, palettes, tool
// windows), theirs in turn. The hide sweep hides a marked window's family with it and the show
// sweep brings the family back in its order.
#pragma once

#include "framework/Platform.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace varnel {

// A window as a sweep saw it: whose it was and who owned it, so that a later sweep can tell it
// from another window that got its handle since.
struct TSeenWindow {
    fw::TWindowHandle Handle = 0;
    fw::TThreadProcess Thread;
    fw::TWindowHandle Owner = 0;
    friend bool operator==(const TSeenWindow&, const TSeenWindow&) = default;
};

TSeenWindow See(fw::IWindowManager& desktop, fw::TWindowHandle window);
// Still the window seen: the same thread and process, the same owner.
bool StillTheSame(fw::IWindowManager& desktop, const TSeenWindow& seen);

// The owner links of the desktop's top-level windows, read in one pass that asks no program
// anything, so a hung program cannot hold it.
class TDesktopFamilies {
public:
    explicit TDesktopFamilies(fw::IWindowManager& desktop);
    // The visible windows `head` owns, and the visible ones those own in turn, front first
    // with every window in front of its owner.
    std::vector<fw::TWindowHandle> VisibleOwned(fw::TWindowHandle head) const;

private:
    std::vector<fw::TWindowHandle> FFrontFirst;
    std::map<fw::TWindowHandle, fw::TWindowHandle> FOwner;
    std::set<fw::TWindowHandle> FVisible;
};

// The windows front first as given, except that every window comes before its owner.
std::vector<fw::TWindowHandle>
OwnedBeforeOwners(const std::vector<fw::TWindowHandle>& frontFirst,
                  const std::map<fw::TWindowHandle, fw::TWindowHandle>& ownerOf);
// Each window right behind the one before it; the first stays where it is.
void StackInOrder(fw::IWindowManager& desktop, const std::vector<fw::TWindowHandle>& frontFirst);
// Puts each family among the windows (front first) in order, every window in front of its
// owner; a family's head that is not among them goes behind the family.
void StackFamilies(fw::IWindowManager& desktop, const std::vector<fw::TWindowHandle>& frontFirst);

// What the hide sweeps hid beyond the listed windows until a show sweep brings it back: each
// marked window's owned windows (front first), and the window the user was in.
class THiddenFamilies {
public:
    // Adds to what is recorded for the head: a second F2 finds nothing more to hide and must
    // not forget what the first one hid.
    void AddOwned(fw::TWindowHandle head, const std::vector<TSeenWindow>& owned);
    std::vector<TSeenWindow> TakeOwned(fw::TWindowHandle head);
    void SetActive(const TSeenWindow& window) { FActive = window; }
    std::optional<TSeenWindow> TakeActive();
    void Clear();

    // The window a show sweep activated, to give the activation back to until `until` (a tick
    // count) when something else takes it as a side effect of the sweep.
    void SetGiveBack(const TSeenWindow& window, std::uint32_t until);
    bool GiveBackPending(std::uint32_t now) const;
    // The window, once, if it is still due; nothing is due afterwards.
    std::optional<TSeenWindow> TakeGiveBack(std::uint32_t now);

private:
    std::map<fw::TWindowHandle, std::vector<TSeenWindow>> FOwned;
    std::optional<TSeenWindow> FActive;
    std::optional<TSeenWindow> FGiveBack;
    std::uint32_t FGiveBackUntil = 0;
};

} // namespace varnel
