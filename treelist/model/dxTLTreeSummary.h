// What a list knows about its whole tree without walking it. Internal to treelist/.
#pragma once

namespace dxtl {

// Two facts that let whole-tree walks be skipped at a million nodes, each kept conservatively:
// it may claim more than is true, never less.
class TdxTreeSummary {
public:
    // A node was given a child list. Without one anywhere the displayed rows are exactly the
    // top-level nodes.
    void ChildListMade() { FChildLists = true; }
    bool MayHaveChildLists() const { return FChildLists; }
    // The list lost every node.
    void Emptied() { FChildLists = false; }

    // A node cached a row height; a walk that clears every cached height is needed only after
    // this.
    void RowHeightCached() { FRowHeights = true; }
    bool MayHaveRowHeights() const { return FRowHeights; }
    void RowHeightsCleared() { FRowHeights = false; }

private:
    bool FChildLists = false;
    bool FRowHeights = false;
};

} // namespace dxtl
