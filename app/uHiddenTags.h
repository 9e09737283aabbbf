// Who hid a window. Each window this program hides carries window properties naming the
// hiding process (its id and start time), taken off again when the window is shown. A copy
// killed from outside never shows what it hid, and hidden windows are not listed, so the
// next copy to start reads the tags and shows the windows whose hider no longer runs.
// Nothing is written to disk: the tags live and die with the windows.
#pragma once

#include "framework/Platform.h"

#include <optional>
#include <string_view>
#include <vector>

namespace varnel {

struct THiddenTag {
    // The process that hid the window.
    fw::TProcessIdentity HiddenBy;
    // Whose window it was when it was hidden.
    fw::TThreadProcess Window;
    // Its owner then (0 for none): the tags cover the windows a marked window owns too.
    fw::TWindowHandle WindowOwner = 0;
    friend bool operator==(const THiddenTag&, const THiddenTag&) = default;
};

class THiddenWindowTags {
public:
    // How long start-up waits for the windows it shows again, so that its first snapshot
    // lists them; a window whose thread does not answer shows itself when it does.
    static constexpr unsigned kRecoveryWaitMs = 500;

    // Tags in the name of the current process.
    explicit THiddenWindowTags(fw::IWindowManager& desktop);
    // Tags in the name of another process (a test standing in for another copy).
    THiddenWindowTags(fw::IWindowManager& desktop, fw::TProcessIdentity self);

    // Before the window is hidden. Only a visible window is tagged: one that is hidden
    // already was hidden by its own program or by a copy whose tag it keeps.
    void BeforeHide(fw::TWindowHandle window);
    // Whether a show sweep should leave the window alone: another copy that still runs hid it.
    bool HiddenByAnotherRunningCopy(fw::TWindowHandle window);
    // After the window was shown.
    void AfterShow(fw::TWindowHandle window);

    // At start-up: shows every top-level window whose tag names a process that has ended and
    // takes the tag off, each owned window in front of its owner, then waits (at most
    // kRecoveryWaitMs) until they are shown. A tag is only a hint: a window that is no longer
    // the one tagged is left as it is. Returns the windows shown.
    std::vector<fw::TWindowHandle> RecoverOrphans();
    // The windows this process hid that are still hidden and still the windows it hid, in
    // Z order: a refresh while they were hidden dropped their rows (a hidden window is not
    // listed), and the show sweep must not leave them behind.
    std::vector<fw::TWindowHandle> HiddenBySelf();

    // The window's tag; none when it has none or only part of one.
    std::optional<THiddenTag> Read(fw::TWindowHandle window);
    void Remove(fw::TWindowHandle window);

    // The window properties of a tag. The hider's id is written last and removed first, so a
    // tag whose writer was killed half-way is never taken for a whole one.
    static constexpr std::string_view kHiderIdProperty = "Varnel.HiddenBy";
    static constexpr std::string_view kHiderStartLowProperty = "Varnel.HiddenBy.StartLow";
    static constexpr std::string_view kHiderStartHighProperty = "Varnel.HiddenBy.StartHigh";
    static constexpr std::string_view kWindowThreadProperty = "Varnel.Hidden.Thread";
    static constexpr std::string_view kWindowProcessProperty = "Varnel.Hidden.Process";
    static constexpr std::string_view kWindowOwnerProperty = "Varnel.Hidden.Owner";

private:
    void Write(fw::TWindowHandle window, const THiddenTag& tag);
    // Top-level windows with a tag naming the hider's id (any hider for 0).
    std::vector<fw::TWindowHandle> TaggedWindows(std::uint32_t hider);
    bool StillTheWindowTagged(fw::TWindowHandle window, const THiddenTag& tag);

    fw::IWindowManager& FDesktop;
    fw::TProcessIdentity FSelf;
};

} // namespace varnel
