// Scoped guards for the tree list's nesting locks (update, selection, paint) and for values set
// for the length of one operation. Each gives back what it took on every way out of its scope,
// unless the list died meanwhile (a handler freed it): then it touches nothing.
//
// Giving a lock back may raise (the last EndUpdate recalculates and raises events). On a normal
// way out that error propagates; while another exception is leaving the scope it is dropped, so
// that the first error is the one reported.
#pragma once

#include "framework/Component.h"

#include <exception>
#include <utility>

namespace dxtl {

class TCustomdxTreeList;

// Calls `release`; an error from it propagates only when no other exception has begun to leave
// since the scope began (`exceptionsAtStart`).
template <class Release> void GiveBack(int exceptionsAtStart, Release&& release) {
    if (std::uncaught_exceptions() == exceptionsAtStart) {
        release();
        return;
    }
    try {
        release();
    } catch (...) {
    }
}

// Runs `release` when the scope ends while `owner` lives.
template <class Release> class [[nodiscard]] TScopeExit {
public:
    TScopeExit(fw::TComponent& owner, Release release)
        : FAlive(owner.LifeToken()), FRelease(std::move(release)) {}
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    ~TScopeExit() noexcept(false) {
        if (FAlive)
            GiveBack(FExceptionsAtStart, FRelease);
    }

private:
    fw::TLifeToken FAlive;
    Release FRelease;
    int FExceptionsAtStart = std::uncaught_exceptions();
};

// `target` holds `value` for the scope and its earlier value again after it; `target` is a part
// of `owner`.
template <class T> class [[nodiscard]] TTemporaryValue {
public:
    TTemporaryValue(fw::TComponent& owner, T& target, T value)
        : FAlive(owner.LifeToken()), FTarget(target),
          FEarlier(std::exchange(target, std::move(value))) {}
    TTemporaryValue(const TTemporaryValue&) = delete;
    TTemporaryValue& operator=(const TTemporaryValue&) = delete;
    ~TTemporaryValue() {
        if (FAlive)
            FTarget = std::move(FEarlier);
    }

private:
    fw::TLifeToken FAlive;
    T& FTarget;
    T FEarlier;
};

// What the three lock guards share: the list, its life token and whether the scope was entered
// while another exception was already leaving.
class TListLockScope {
public:
    TListLockScope(const TListLockScope&) = delete;
    TListLockScope& operator=(const TListLockScope&) = delete;

protected:
    explicit TListLockScope(TCustomdxTreeList& list);
    ~TListLockScope() = default;
    // Calls `end` on the list unless it died; see the file comment for its errors.
    void Release(void (*end)(TCustomdxTreeList&));

private:
    TCustomdxTreeList& FList;
    fw::TLifeToken FAlive;
    int FExceptionsAtStart;
};

// BeginUpdate for the scope, EndUpdate at its end.
class [[nodiscard]] TUpdateLock : public TListLockScope {
public:
    explicit TUpdateLock(TCustomdxTreeList& list);
    ~TUpdateLock() noexcept(false);
};

// The selection lock for the scope: one OnSelectedCountChange at its end, when the count changed.
class [[nodiscard]] TSelectionLock : public TListLockScope {
public:
    explicit TSelectionLock(TCustomdxTreeList& list);
    ~TSelectionLock() noexcept(false);
};

// The paint lock for the scope, around moving the window's pixels.
class [[nodiscard]] TPaintLock : public TListLockScope {
public:
    explicit TPaintLock(TCustomdxTreeList& list);
    ~TPaintLock() noexcept(false);
};

} // namespace dxtl
