#include "treelist/dxTLScopes.h"

#include "treelist/dxTLList.h"

namespace dxtl {

TListLockScope::TListLockScope(TCustomdxTreeList& list)
    : FList(list), FAlive(list.LifeToken()), FExceptionsAtStart(std::uncaught_exceptions()) {}

void TListLockScope::Release(void (*end)(TCustomdxTreeList&)) {
    if (FAlive)
        GiveBack(FExceptionsAtStart, [&] { end(FList); });
}

TUpdateLock::TUpdateLock(TCustomdxTreeList& list) : TListLockScope(list) {
    list.BeginUpdate();
}

TUpdateLock::~TUpdateLock() noexcept(false) {
    Release([](TCustomdxTreeList& list) { list.EndUpdate(); });
}

TSelectionLock::TSelectionLock(TCustomdxTreeList& list) : TListLockScope(list) {
    list.BeginSelection();
}

TSelectionLock::~TSelectionLock() noexcept(false) {
    Release([](TCustomdxTreeList& list) { list.EndSelection(); });
}

TPaintLock::TPaintLock(TCustomdxTreeList& list) : TListLockScope(list) {
    list.BeginPaintLock();
}

TPaintLock::~TPaintLock() noexcept(false) {
    Release([](TCustomdxTreeList& list) { list.EndPaintLock(); });
}

} // namespace dxtl
