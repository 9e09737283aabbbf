// The selection state of a tree list (see dxTLSelection.h).
#include "treelist/model/dxTLSelection.h"

#include "treelist/dxTLNode.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace dxtl {

namespace {
// Identity order: the node's address, unique and stable while the node lives. std::less gives
// a total order on pointers where `<` would not.
constexpr std::less<const TdxTreeListNode*> kIdentityOrder{};
} // namespace

TdxTreeListNode* TdxTreeListSelection::At(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return FNodes[std::size_t(index)];
}

bool TdxTreeListSelection::Contains(const TdxTreeListNode* node) const {
    return std::binary_search(FNodes.begin(), FNodes.end(), node, kIdentityOrder);
}

bool TdxTreeListSelection::Insert(TdxTreeListNode* node) {
    const auto place = std::lower_bound(FNodes.begin(), FNodes.end(), node, kIdentityOrder);
    if (place != FNodes.end() && *place == node)
        return false;
    FNodes.insert(place, node);
    return true;
}

bool TdxTreeListSelection::Remove(const TdxTreeListNode* node) {
    const auto place = std::lower_bound(FNodes.begin(), FNodes.end(), node, kIdentityOrder);
    if (place == FNodes.end() || *place != node)
        return false;
    FNodes.erase(place);
    return true;
}

void TdxTreeListSelection::Merge(std::vector<TdxTreeListNode*> nodes) {
    if (nodes.empty())
        return;
    std::sort(nodes.begin(), nodes.end(), kIdentityOrder);
    std::vector<TdxTreeListNode*> merged;
    merged.reserve(FNodes.size() + nodes.size());
    std::set_union(FNodes.begin(), FNodes.end(), nodes.begin(), nodes.end(),
                   std::back_inserter(merged), kIdentityOrder);
    // set_union keeps the duplicates within one input; the set holds each node once.
    merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
    FNodes = std::move(merged);
}

bool TdxTreeListSelection::SharesParentWithFirst(const TdxTreeListNode* node) const {
    const TdxTreeListNode* first = Count() > 0 ? At(0) : RangeStart;
    return !first || node->Parent() == first->Parent();
}

std::vector<TdxTreeListNode*>
TdxTreeListSelection::ChangedNodes(const TdxTreeListSelection& other) const {
    std::vector<TdxTreeListNode*> changed;
    std::set_symmetric_difference(FNodes.begin(), FNodes.end(), other.FNodes.begin(),
                                  other.FNodes.end(), std::back_inserter(changed), kIdentityOrder);
    return changed;
}

void TdxTreeListSelection::Adopt(const TdxTreeListSelection& decided) {
    FNodes = decided.FNodes;
    Anchor = decided.Anchor;
    Extending = decided.Extending;
}

void TdxTreeListSelection::Lock() {
    if (FLock++ == 0)
        FCountAtLock = Count();
}

bool TdxTreeListSelection::Unlock() {
    if (FLock == 0)
        return false;
    return --FLock == 0 && Count() != FCountAtLock;
}

} // namespace dxtl
