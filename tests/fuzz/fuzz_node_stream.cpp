// libFuzzer target for the tree list's node stream reader.
//
// Properties checked on every input: a refused stream raises EdxTreeListStreamError and
// leaves the list empty and usable; an accepted one writes back to a stream that reads to
// the same bytes, and its fully expanded tree has a row for every node in pre-order. Any
// other exception, a leak or a sanitizer report is a finding.
#include "treelist/dxTL.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "node stream fuzzer: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fw::TOwnedPtr<dxtl::TdxTreeList> list(new dxtl::TdxTreeList(nullptr));
    // Reading replaces what was there.
    list->AddNode()->AddChild()->SetStrings(1, "before");
    try {
        list->ReadData(bytes);
    } catch (const dxtl::EdxTreeListStreamError&) {
        Require(list->NodeCount() == 0, "nodes left after a refused stream");
        Require(!list->FocusedNode() && !list->TopVisibleNode(), "references left");
        Require(list->AbsoluteCount() == 0, "rows left after a refused stream");
        Require(list->UpdateLockCount() == 0, "update lock left held");
        list->AddNode();
        Require(list->NodeAt(0)->AbsoluteIndex() == 0, "list unusable after a refused stream");
        return 0;
    }

    const std::string written = list->WriteData();
    {
        fw::TOwnedPtr<dxtl::TdxTreeList> copy(new dxtl::TdxTreeList(nullptr));
        copy->ReadData(written);
        Require(copy->WriteData() == written, "a written stream does not read back the same");
    }

    int nodes = 0;
    for (dxtl::TdxTreeListNode* n = list->NodeAt(0); n; n = n->GetNext())
        ++nodes;
    for (int i = 0; i < list->NodeCount(); ++i)
        list->NodeAt(i)->Expand(true);
    Require(list->AbsoluteCount() == nodes, "expanded tree does not show every node");
    int row = 0;
    for (dxtl::TdxTreeListNode* n = list->NodeAt(0); n; n = n->GetNext(), ++row) {
        Require(n->AbsoluteIndex() == row, "row number differs from the pre-order position");
        Require(list->NodeAtAbsoluteIndex(row) == n, "row lookup differs");
    }
    return 0;
}
