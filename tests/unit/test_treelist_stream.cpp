// The stored node stream "Data": round trips in both formats, the older format's one-byte
// lengths, malformed streams, deep nesting, and the property in a stored layout.
#include "test_treelist_layout_support.h"
#include "test_treelist_support.h"
#include "treelist/dxTL.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TOwnedPtr;
using treelist_testing::AppendInt32;
using treelist_testing::EncodeStream;
using treelist_testing::TStreamNode;

TStreamNode Node(std::vector<std::string> texts, std::vector<TStreamNode> children = {}) {
    TStreamNode node;
    node.Texts = std::move(texts);
    node.Children = std::move(children);
    return node;
}

// Two roots, nesting three deep, every index set, empty and long texts, UTF-8.
std::vector<TStreamNode> SampleTree() {
    TStreamNode deep = Node({"leaf"});
    deep.ImageIndex = 7;
    deep.SelectedIndex = 8;
    deep.StateIndex = 9;
    deep.Data = 0xCAFEF00Du;
    TStreamNode middle = Node({"", "middle", std::string(300, 'x')}, {deep, Node({})});
    middle.ImageIndex = 1;
    TStreamNode first = Node({"창 목록", "second column"}, {middle, Node({"sibling"})});
    first.Data = 0x1234;
    first.StateIndex = 2;
    TStreamNode second = Node({"last"});
    second.ImageIndex = -5;
    return {first, second};
}

void ExpectTreeMatches(TdxTreeListNode* node, const TStreamNode& expected) {
    EXPECT_EQ(node->ImageIndex(), expected.ImageIndex);
    EXPECT_EQ(node->SelectedIndex(), expected.SelectedIndex);
    EXPECT_EQ(node->StateIndex(), expected.StateIndex);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(node->Data()), expected.Data);
    for (std::size_t i = 0; i < expected.Texts.size(); ++i)
        EXPECT_EQ(node->Strings(int(i)), expected.Texts[i]);
    EXPECT_FALSE(node->Expanded());
    ASSERT_EQ(node->ChildCount(), int(expected.Children.size()));
    for (std::size_t i = 0; i < expected.Children.size(); ++i)
        ExpectTreeMatches(node->Children(int(i)), expected.Children[i]);
}

class TreeListStream : public ::testing::Test {
protected:
    TreeListStream() : List(new TdxTreeList(nullptr)) {}
    // Handlers capture locals of the test body.
    void TearDown() override { List->OnDeletion = nullptr; }

    void ExpectEmptyAndUsable() {
        EXPECT_EQ(List->NodeCount(), 0);
        EXPECT_EQ(List->FocusedNode(), nullptr);
        EXPECT_EQ(List->TopVisibleNode(), nullptr);
        EXPECT_EQ(List->AbsoluteCount(), 0);
        EXPECT_EQ(List->UpdateLockCount(), 0);
        List->ReadData(EncodeStream({Node({"fine"})}));
        ASSERT_EQ(List->NodeCount(), 1);
        EXPECT_EQ(List->FocusedNode(), List->NodeAt(0));
        EXPECT_EQ(List->NodeAt(0)->AbsoluteIndex(), 0);
    }

    TOwnedPtr<TdxTreeList> List;
};

TEST_F(TreeListStream, ReadingGivesTheStoredTreeAndWritingGivesTheSameBytes) {
    const std::string stream = EncodeStream(SampleTree());
    List->ReadData(stream);
    ASSERT_EQ(List->NodeCount(), 2);
    const auto expected = SampleTree();
    for (int i = 0; i < 2; ++i)
        ExpectTreeMatches(List->NodeAt(i), expected[std::size_t(i)]);
    EXPECT_EQ(List->WriteData(), stream);
    // The first node is the top row and focused, as after AddNode.
    EXPECT_EQ(List->FocusedNode(), List->NodeAt(0));
    EXPECT_EQ(List->TopVisibleNode(), List->NodeAt(0));
    EXPECT_EQ(List->AbsoluteCount(), 2);
}

TEST_F(TreeListStream, ATreeBuiltThroughTheInterfaceSurvivesARoundTrip) {
    TdxTreeListNode* root = List->AddNode();
    root->SetStrings(1, "one");
    root->SetImageIndex(1);
    root->SetSelectedIndex(1);
    root->SetData(reinterpret_cast<void*>(std::uintptr_t(0x00ABCDEF)));
    TdxTreeListNode* child = root->AddChild();
    child->SetStateIndex(4);
    child->SetStrings(0, std::string(1000, 'q'));
    child->AddChild()->SetStrings(3, "deep");
    List->AddNode();
    const std::string stream = List->WriteData();

    TOwnedPtr<TdxTreeList> copy(new TdxTreeList(nullptr));
    copy->ReadData(stream);
    EXPECT_EQ(copy->WriteData(), stream);
    TdxTreeListNode* copiedChild = copy->NodeAt(0)->Children(0);
    ASSERT_NE(copiedChild, nullptr);
    EXPECT_EQ(copiedChild->Strings(0), std::string(1000, 'q'));
    EXPECT_EQ(copiedChild->StateIndex(), 4);
    EXPECT_EQ(copiedChild->Children(0)->Strings(3), "deep");
    EXPECT_EQ(copy->NodeAt(0)->Data(), reinterpret_cast<void*>(std::uintptr_t(0x00ABCDEF)));
    EXPECT_EQ(copy->NodeAt(0)->SelectedIndex(), 1);
}

TEST_F(TreeListStream, TheOlderFormatKeepsTextLengthsInOneByte) {
    auto tree = SampleTree();
    tree[0].Children[0].Texts[2] = std::string(255, 'y'); // the longest it can hold
    const std::string older = EncodeStream(tree, true);
    ASSERT_NE(older.substr(0, 4), std::string("\xFF\xFF\xFF\xFF", 4));
    List->ReadData(older);
    for (int i = 0; i < 2; ++i)
        ExpectTreeMatches(List->NodeAt(i), tree[std::size_t(i)]);
    EXPECT_EQ(List->WriteData(nsfOlder), older);
    EXPECT_EQ(List->WriteData(nsfCurrent), EncodeStream(tree));

    // A longer text cannot be written in it; nothing is cut short silently.
    List->NodeAt(1)->SetStrings(0, std::string(256, 'z'));
    EXPECT_THROW(List->WriteData(nsfOlder), EInvaliddxTreeListOperation);
}

TEST_F(TreeListStream, ExtraBlockBytesAreSkipped) {
    auto tree = SampleTree();
    tree[0].BlockExtra = "12345678";
    tree[0].Children[0].Children[0].BlockExtra = std::string(3, '\0');
    List->ReadData(EncodeStream(tree));
    for (int i = 0; i < 2; ++i)
        ExpectTreeMatches(List->NodeAt(i), tree[std::size_t(i)]);
}

TEST_F(TreeListStream, ReadingReplacesTheNodesThereWere) {
    List->AddNode()->AddChild();
    int deletions = 0;
    List->OnDeletion = [&](fw::TObject*, TdxTreeListNode*) { ++deletions; };
    List->ReadData(EncodeStream({Node({"new"})}));
    EXPECT_EQ(deletions, 2);
    ASSERT_EQ(List->NodeCount(), 1);
    EXPECT_EQ(List->NodeAt(0)->Strings(0), "new");
}

struct TMalformed {
    const char* Name;
    std::function<std::string()> Bytes;
    const char* Reason;
};

std::string WithInt32At(std::string bytes, std::size_t at, std::int32_t value) {
    std::string v;
    AppendInt32(v, value);
    bytes.replace(at, 4, v);
    return bytes;
}

// Offsets in the current format: marker 0, count 4, first node's block size 8, its six
// integers 12..35 (child count at 28, text count at 32), its first text length at 36.
const TMalformed kMalformed[] = {
    {"empty", [] { return std::string(); }, "the header is cut off"},
    {"header cut", [] { return std::string("\xFF\xFF", 2); }, "the header is cut off"},
    {"count cut", [] { return std::string("\xFF\xFF\xFF\xFF\x01", 5); }, "node count is cut off"},
    {"unknown marker", [] { return WithInt32At(EncodeStream({Node({})}), 0, -2); },
     "unknown format marker -2"},
    {"negative count", [] { return WithInt32At(EncodeStream({Node({})}), 4, -1); },
     "negative number of top-level nodes"},
    {"count beyond the data", [] { return WithInt32At(EncodeStream({Node({})}), 4, 0x7FFFFFFF); },
     "2147483647 top-level nodes cannot fit"},
    {"older count beyond the data",
     [] { return WithInt32At(EncodeStream({Node({})}, true), 0, 1000000); },
     "1000000 top-level nodes cannot fit"},
    {"block shorter than 24", [] { return WithInt32At(EncodeStream({Node({})}), 8, 23); },
     "node block of 23 bytes is shorter than 24"},
    {"negative block size", [] { return WithInt32At(EncodeStream({Node({})}), 8, -24); },
     "node block of -24 bytes is shorter than 24"},
    {"block past the end", [] { return WithInt32At(EncodeStream({Node({})}), 8, 1000); },
     "node block of 1000 bytes runs past the end"},
    {"stream cut in the first block", [] { return EncodeStream({Node({})}).substr(0, 20); },
     "1 top-level nodes cannot fit in the 12 bytes left"},
    {"negative child count", [] { return WithInt32At(EncodeStream({Node({"a"})}), 28, -1); },
     "negative number of child nodes"},
    {"child count beyond the data", [] { return WithInt32At(EncodeStream({Node({"a"})}), 28, 5); },
     "5 child nodes cannot fit"},
    {"negative text count", [] { return WithInt32At(EncodeStream({Node({"a"})}), 32, -7); },
     "negative number of texts"},
    {"text count beyond the data",
     [] { return WithInt32At(EncodeStream({Node({"a"})}), 32, 100000000); },
     "100000000 texts cannot fit"},
    {"negative text length", [] { return WithInt32At(EncodeStream({Node({"abc"})}), 36, -3); },
     "negative text length (-3)"},
    {"truncated text", [] { return WithInt32At(EncodeStream({Node({"abc"})}), 36, 4); },
     "text of 4 bytes is cut off"},
    {"text length cut",
     [] {
         return EncodeStream({Node({"abcdefgh", "x"})}).substr(0, 36 + 4 + 8 + 2);
     },
     "a text length is cut off"},
    {"truncated older text",
     [] {
         std::string bytes = EncodeStream({Node({"abc"})}, true);
         bytes[32] = 9; // the one-byte length
         return bytes;
     },
     "text of 9 bytes is cut off"},
    {"missing child", [] { return EncodeStream({Node({}, {Node({})})}).substr(0, 36 + 27); },
     "1 child nodes cannot fit in the 27 bytes left"},
    {"child block cut",
     [] {
         TStreamNode child;
         child.BlockExtra = "xxxx";
         const std::string bytes = EncodeStream({Node({}, {child})});
         return bytes.substr(0, bytes.size() - 1);
     },
     "node block of 28 bytes runs past the end (27 bytes left)"},
    {"trailing bytes", [] { return EncodeStream({Node({"a"})}) + "xyz"; },
     "3 unexpected bytes after the last node"},
};

TEST_F(TreeListStream, MalformedStreamsRaiseAClearErrorAndLeaveTheListEmpty) {
    for (const TMalformed& c : kMalformed) {
        SCOPED_TRACE(c.Name);
        // A tree was there before; it goes, and nothing of the bad stream stays.
        List->ReadData(EncodeStream(SampleTree()));
        try {
            List->ReadData(c.Bytes());
            ADD_FAILURE() << "no error";
        } catch (const EdxTreeListStreamError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("Invalid node stream at byte "), std::string::npos) << message;
            EXPECT_NE(message.find(c.Reason), std::string::npos) << message;
        }
        ExpectEmptyAndUsable();
    }
}

TEST_F(TreeListStream, AnErrorAfterSomeNodesWereReadRemovesThemWithTheirEvents) {
    std::string bytes = EncodeStream({Node({"a"}, {Node({"b"})}), Node({"c"})});
    bytes.resize(bytes.size() - 1);
    int deletions = 0;
    List->OnDeletion = [&](fw::TObject*, TdxTreeListNode*) { ++deletions; };
    EXPECT_THROW(List->ReadData(bytes), EdxTreeListStreamError);
    EXPECT_EQ(deletions, 3);
    List->OnDeletion = nullptr;
    ExpectEmptyAndUsable();
}

TEST_F(TreeListStream, DeepNestingNeedsNoDeepRecursion) {
    // Each node holds one child: as deep as the stream has nodes.
    const int depth = 100000;
    std::string bytes;
    AppendInt32(bytes, -1);
    AppendInt32(bytes, 1);
    for (int level = 0; level < depth; ++level) {
        AppendInt32(bytes, 24);
        for (int field : {level, -1, -1, 0, level + 1 < depth ? 1 : 0, 0})
            AppendInt32(bytes, field);
    }
    List->ReadData(bytes);
    ASSERT_EQ(List->NodeCount(), 1);
    EXPECT_EQ(List->WriteData(), bytes);
    TdxTreeListNode* deepest = List->NodeAt(0);
    while (deepest->ChildCount() > 0)
        deepest = deepest->GetFirstChild();
    EXPECT_EQ(deepest->Level(), depth - 1);
    EXPECT_EQ(deepest->ImageIndex(), depth - 1);
    List->NodeAt(0)->Expand(true);
    EXPECT_EQ(deepest->AbsoluteIndex(), depth - 1);
    List->ClearNodes();
    EXPECT_EQ(List->NodeCount(), 0);
}

// --- the property in a stored layout ---------------------------------------------------------

class TreeListStreamInLayout : public testing_support::HeadlessTest {
protected:
    static std::string Hex(const std::string& bytes) {
        static const char digits[] = "0123456789ABCDEF";
        std::string out;
        for (unsigned char b : bytes) {
            out.push_back(digits[b >> 4]);
            out.push_back(digits[b & 15]);
        }
        return out;
    }
    fw::TForm* Load(const std::string& dataProperty) {
        return LoadForm("object fTest: TForm\n  object tlNodes: TdxTreeList\n" + dataProperty +
                            "\n  end\nend\n",
                        treelist_testing::TreeListClasses());
    }
};

TEST_F(TreeListStreamInLayout, DataHoldsTheNodesAsHexadecimalDigits) {
    const std::string hex = Hex(EncodeStream(SampleTree()));
    auto* form =
        Load("    Data = (\n      '" + hex.substr(0, 40) + "'\n      '" + hex.substr(40) + "')");
    auto* list = dynamic_cast<TdxTreeList*>(form->FindComponent("tlNodes"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->NodeCount(), 2);
    ExpectTreeMatches(list->NodeAt(0), SampleTree()[0]);
    EXPECT_EQ(list->FocusedNode(), list->NodeAt(0));
}

TEST_F(TreeListStreamInLayout, BadDataNamesTheComponentAndTheProblem) {
    for (const auto& [value, reason] : std::vector<std::pair<std::string, std::string>>{
             {"'FFFFFFFF0'", "odd number of hexadecimal digits"},
             {"'FFFFFFFG'", "'G' is not a hexadecimal digit"},
             {"'FFFFFFFF01000000'", "top-level nodes cannot fit"}}) {
        try {
            Load("    Data = " + value);
            ADD_FAILURE() << value;
        } catch (const fw::ELayoutError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("tlNodes"), std::string::npos) << message;
            EXPECT_NE(message.find(reason), std::string::npos) << message;
        }
    }
}

} // namespace
