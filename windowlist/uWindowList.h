// A snapshot of the desktop's application windows: owner-less top-level windows that are
// visible or minimised, in the platform's order (topmost first).
#pragma once

#include "framework/Component.h"
#include "framework/Platform.h"

#include <memory>
#include <string>
#include <vector>

namespace varnel {

struct TWindowObject {
    fw::TWindowHandle Handle = 0;
    // UTF-8, at most kMaxCaptionChars characters.
    std::string Caption;
    bool DesktopOwned = false;
    bool Unowned = false;
    bool Visible = false;
    bool Iconic = false;
    // Borrowed from the window; never freed here.
    fw::TIconHandle SmallIcon = 0;
    bool ToolWindow = false;
    bool AppWindow = false;
    // Who the window belonged to when it was read: a handle later reused by another
    // program's window no longer matches.
    fw::TThreadProcess Owner;
};

class TWindowList : public fw::TComponent {
public:
    static constexpr int kMaxCaptionChars = 254;
    // How long a window may take to answer the small-icon query; one whose thread hangs
    // must not freeze the program.
    static constexpr unsigned kSmallIconWaitMs = 100;

    // Takes the first snapshot, except in design state.
    explicit TWindowList(fw::TComponent* owner);
    ~TWindowList() override;

    int Count() const { return static_cast<int>(FRecords.size()); }
    // Enumerates again; the old records are freed once the new ones are complete.
    void Refresh();
    // Copies the record at the index.
    void GetItem(int index, TWindowObject& out) const;
    // The record itself, valid until the next Refresh.
    TWindowObject* Items(int index) const;

private:
    void Enumerate(std::vector<std::unique_ptr<TWindowObject>>& records);
    void CheckIndex(int index) const;

    std::vector<std::unique_ptr<TWindowObject>> FRecords;
};

} // namespace varnel
