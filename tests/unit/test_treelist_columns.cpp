// A tree list's columns and the nodes' texts: field indexes, moving and freeing columns with
// their texts, ColIndex, columns outliving their list, the editor state, and best fit. Expected
// pixels come from the headless metrics (font height -12: text 12 high, narrow characters 6 wide,
// wide ones 12).
#include "test_treelist_layout_support.h"
#include "test_treelist_support.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace dxtl;
using fw::TRect;
using treelist_testing::TreeListLayoutTest;

std::vector<std::string> TextsOf(TdxTreeListNode* node, int count) {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(node->Strings(i));
    return texts;
}

// --- columns and the nodes' texts ------------------------------------------------------------

class TreeListColumns : public TreeListLayoutTest {
protected:
    TreeListColumns() {
        for (int i = 0; i < 3; ++i)
            AddColumn(100);
        Node = List->AddNode();
        Child = Node->AddChild();
        for (int i = 0; i < 3; ++i) {
            Node->SetStrings(i, std::string(1, char('a' + i)));
            Child->SetStrings(i, std::string(1, char('A' + i)));
        }
    }
    TdxTreeListNode* Node = nullptr;
    TdxTreeListNode* Child = nullptr;
};

TEST_F(TreeListColumns, FieldIndexIsThePositionUnlessSet) {
    TdxTreeListColumn* last = List->Columns(2);
    EXPECT_EQ(last->FieldIndex(), 2);
    EXPECT_EQ(last->DisplayText(Node), "c");
    last->SetFieldIndex(0);
    EXPECT_EQ(last->FieldIndex(), 0);
    EXPECT_EQ(last->DisplayText(Child), "A");
    last->SetFieldIndex(-4);
    EXPECT_EQ(last->ExplicitFieldIndex(), -1);
    EXPECT_EQ(last->FieldIndex(), 2);
}

TEST_F(TreeListColumns, FreeingAColumnTakesItsTextsOutOfEveryNode) {
    TdxTreeListColumn* middle = List->Columns(1);
    middle->Free();
    EXPECT_EQ(List->ColumnCount(), 2);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"a", "c", ""}));
    EXPECT_EQ(TextsOf(Child, 3), (std::vector<std::string>{"A", "C", ""}));
    EXPECT_EQ(List->Columns(1)->DisplayText(Node), "c");
    EXPECT_EQ(Widths(), (std::vector<int>{100, 100}));
    // Leaving for another list takes them out too.
    auto* other = new TdxTreeList(Form);
    List->Columns(0)->SetTreeList(other);
    EXPECT_EQ(TextsOf(Node, 2), (std::vector<std::string>{"c", ""}));
    EXPECT_EQ(other->ColumnCount(), 1);
    EXPECT_EQ(other->Columns(0)->FieldIndex(), 0);
}

TEST_F(TreeListColumns, MovingAColumnMovesItsTextsAlong) {
    TdxTreeListColumn* first = List->Columns(0);
    first->SetIndex(2);
    EXPECT_EQ(List->ColumnIndexOf(first), 2);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(TextsOf(Child, 3), (std::vector<std::string>{"B", "C", "A"}));
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(List->Columns(c)->DisplayText(Node), TextsOf(Node, 3)[std::size_t(c)]);
    EXPECT_EQ(first->DisplayText(Node), "a");
    // Clamped to the list.
    first->SetIndex(-3);
    EXPECT_EQ(List->ColumnIndexOf(first), 0);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"a", "b", "c"}));
    // A column with its own field index leaves the texts where they are.
    first->SetFieldIndex(0);
    first->SetIndex(1);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(first->DisplayText(Node), "a");
}

TEST_F(TreeListColumns, TextsMoveEvenWhereANodeHasFewer) {
    TdxTreeListNode* short_ = List->AddNode();
    short_->SetStrings(0, "x");
    List->Columns(0)->SetIndex(2);
    EXPECT_EQ(TextsOf(short_, 4), (std::vector<std::string>{"", "", "x", ""}));
    // An empty text moved in from past the end pushes the others along.
    List->Columns(1)->SetIndex(0);
    EXPECT_EQ(TextsOf(short_, 4), (std::vector<std::string>{"", "", "x", ""}));
    List->Columns(2)->SetIndex(0);
    EXPECT_EQ(TextsOf(short_, 4), (std::vector<std::string>{"x", "", "", ""}));
    TdxTreeListNode* empty = List->AddNode();
    List->Columns(2)->SetIndex(0);
    EXPECT_EQ(TextsOf(empty, 3), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"b", "a", "c"}));
}

// The node stream records a node's entries: moving a column from beyond a node's last text
// appends the empty entries first and keeps them.
TEST_F(TreeListColumns, MovingAColumnFromBeyondTheTextsKeepsTheAppendedEntries) {
    AddColumn(100);
    AddColumn(100);
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(0, "a");
    node->SetStrings(1, "b");
    List->Columns(4)->SetIndex(0);
    std::vector<treelist_testing::TStreamNode> roots =
        treelist_testing::DecodeStream(List->WriteData());
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[1].Texts, (std::vector<std::string>{"", "a", "b", "", ""}));
    // A text moved out past the last entry: the entries reach its new place.
    TdxTreeListNode* other = List->AddNode();
    other->SetStrings(0, "x");
    List->Columns(0)->SetIndex(3);
    roots = treelist_testing::DecodeStream(List->WriteData());
    ASSERT_EQ(roots.size(), 3u);
    EXPECT_EQ(roots[2].Texts, (std::vector<std::string>{"", "", "", "x"}));
    EXPECT_EQ(roots[1].Texts, (std::vector<std::string>{"a", "b", "", "", ""}));
}

// Column moves against a vector of texts: texts past a node's last entry are empty, the
// entries reach both positions of a move, and every node of the moved subtree follows.
class TMovingTextsList : public TdxTreeList {
public:
    using TCustomdxTreeListControl::GetNodeStringCount;
    using TCustomdxTreeListControl::MoveColumnValue;
    using TdxTreeList::TdxTreeList;
};

TEST(TreeListTexts, MovesAgreeWithAVectorModel) {
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        fw::TOwnedPtr<TMovingTextsList> list(new TMovingTextsList(nullptr));
        TdxTreeListNode* node = list->AddNode();
        TdxTreeListNode* child = node->AddChild();
        std::vector<std::string> model;
        for (int step = 0; step < 400; ++step) {
            if (random() % 3 == 0) {
                const int index = static_cast<int>(random() % 20);
                const std::string text(random() % 3 == 0 ? 0 : 1 + random() % 20,
                                       static_cast<char>('a' + random() % 26));
                node->SetStrings(index, text);
                child->SetStrings(index, text);
                if (model.size() <= std::size_t(index))
                    model.resize(std::size_t(index) + 1);
                model[std::size_t(index)] = text;
            } else {
                const int from = static_cast<int>(random() % 24);
                const int to = static_cast<int>(random() % 24);
                list->MoveColumnValue(node, from, to);
                if (from == to)
                    continue;
                model.resize(std::max(model.size(), std::size_t(std::max(from, to)) + 1));
                std::string moved = model[std::size_t(from)];
                model.erase(model.begin() + from);
                model.insert(model.begin() + to, moved);
            }
            ASSERT_EQ(list->GetNodeStringCount(node), static_cast<int>(model.size()))
                << "seed " << seed << " step " << step;
            ASSERT_EQ(list->GetNodeStringCount(child), static_cast<int>(model.size()))
                << "seed " << seed << " step " << step;
            for (int i = 0; i < 30; ++i) {
                const std::string expected =
                    std::size_t(i) < model.size() ? model[std::size_t(i)] : "";
                ASSERT_EQ(node->Strings(i), expected) << "seed " << seed << " step " << step;
                ASSERT_EQ(child->Strings(i), expected) << "seed " << seed << " step " << step;
            }
        }
    }
}

TEST_F(TreeListColumns, ColIndexIsThePlaceInTheBandRow) {
    TdxTreeListColumn* a = List->Columns(0);
    TdxTreeListColumn* b = List->Columns(1);
    TdxTreeListColumn* c = List->Columns(2);
    EXPECT_EQ(c->ColIndex(), 2);
    c->SetColIndex(0);
    EXPECT_EQ(List->ColumnIndexOf(c), 0);
    EXPECT_EQ(a->ColIndex(), 1);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"c", "a", "b"}));
    // Beyond the last: the last place.
    c->SetColIndex(7);
    EXPECT_EQ(c->ColIndex(), 2);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"a", "b", "c"}));
    // Rows and hidden columns count apart.
    List->SetHeaderPanelRowCount(2);
    b->SetRowIndex(1);
    EXPECT_EQ(b->ColIndex(), 0);
    EXPECT_EQ(c->ColIndex(), 1);
    c->SetVisible(false);
    EXPECT_EQ(c->ColIndex(), -1);
    EXPECT_EQ(List->ColumnWidth(2), 0);
}

TEST_F(TreeListColumns, ColumnsOutliveTheirList) {
    TdxTreeListColumn* column = List->Columns(0);
    List->Free();
    List = nullptr;
    EXPECT_EQ(column->TreeList(), nullptr);
    EXPECT_EQ(column->Index(), -1);
    EXPECT_EQ(column->FieldIndex(), -1);
    EXPECT_EQ(column->ColIndex(), -1);
    column->SetWidth(50);
    column->Free();
}

TEST_F(TreeListColumns, EditorStateTravelsThroughTheColumn) {
    TdxTreeListColumn* column = List->Columns(1);
    column->SetMaxLength(4);
    column->SetPasswordChar('*');
    column->SetCharCase(ecUpperCase);
    int changes = 0;
    int validations = 0;
    column->OnChange = [&](fw::TObject* sender) {
        EXPECT_EQ(sender, column);
        ++changes;
    };
    column->OnValidate = [&](fw::TObject*) { ++validations; };
    TdxInplaceTextEdit editor;
    column->InitEditor(editor);
    EXPECT_EQ(editor.MaxLength, 4);
    EXPECT_EQ(editor.PasswordChar, '*');
    EXPECT_EQ(editor.CharCase, ecUpperCase);
    EXPECT_FALSE(editor.ReadOnly);
    column->LoadEditor(editor, Node);
    EXPECT_EQ(editor.Text, "b");
    editor.Text = "new";
    editor.OnChange(nullptr);
    editor.OnValidate(nullptr);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(validations, 1);
    column->StoreEditValue(Node, editor);
    EXPECT_EQ(Node->Strings(1), "new");
    EXPECT_EQ(std::get<std::string>(editor.Value), "new");
    EXPECT_TRUE(column->CanEdit());
    column->SetDisableEditor(true);
    EXPECT_FALSE(column->CanEdit());
    EXPECT_EQ(column->EditorClassName(), "TdxInplaceTreeListTextEdit");
    EXPECT_FALSE(column->HasCellCustomDraw());
    column->OnChange = nullptr;
    column->OnValidate = nullptr;
}

// --- best fit ------------------------------------------------------------------------------

TEST_F(TreeListLayoutTest, BestFitMeasuresTextsTreeAndCaption) {
    TdxTreeListColumn* name = AddColumn(100, "Name");
    TdxTreeListColumn* other = AddColumn(100, "Caption");
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(0, "abcdefghijkl"); // 12 narrow characters: 72
    node->SetStrings(1, "xy");
    TdxTreeListNode* child = node->AddChild();
    child->SetStrings(0, "abc");
    int changed = 0;
    List->OnChangedColumnsWidth = [&](fw::TObject*) { ++changed; };
    // Margin: "0" is 6 wide, 6 / 2 + 1 = 4 on each side.
    // The tree column: 72 + one level of 16 (roots show a level); its child 18 + 32.
    List->ApplyBestFit(name);
    EXPECT_EQ(name->Width(), 72 + 16 + 2 * 4);
    // The caption ("Caption", 42 + 15) is wider than "xy".
    List->ApplyBestFit(other);
    EXPECT_EQ(other->Width(), 42 + 15 + 2 * 4);
    EXPECT_EQ(changed, 2);

    // Images and state images belong to the tree column's width.
    Images = new fw::TImageList(Form);
    List->SetImages(Images);
    node->SetStateIndex(1);
    List->SetStateImages(Images);
    List->ApplyBestFit(name);
    EXPECT_EQ(name->Width(), 72 + 16 + 16 + 16 + 8);
    List->SetShowRoot(false);
    List->ApplyBestFit(name);
    EXPECT_EQ(name->Width(), 72 + 16 + 16 + 8);

    // A written font measures the texts; not sizable columns stay.
    other->Font().SetHeight(-20); // narrow characters 10 wide: "xy" is 20
    other->SetCaption("");
    List->ApplyBestFit(other);
    EXPECT_EQ(other->Width(), 20 + 8);
    child->SetStrings(1, "wwwwwwwwww");
    List->ApplyBestFit(other);
    EXPECT_EQ(other->Width(), 100 + 8);
    other->SetSizing(false);
    child->SetStrings(1, "w");
    List->ApplyBestFitAll();
    EXPECT_EQ(other->Width(), 108);
    // A whole band.
    changed = 0;
    name->SetWidth(300);
    List->ApplyBandBestFit(0);
    EXPECT_EQ(name->Width(), 72 + 16 + 16 + 8);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(List->UpdateLockCount(), 0);
    List->OnChangedColumnsWidth = nullptr;
}

TEST_F(TreeListLayoutTest, BestFitOfWideCharacters) {
    TdxTreeListColumn* column = AddColumn(100);
    List->AddNode()->SetStrings(0, "프로그램명"); // five wide characters: 60
    List->SetShowRoot(false);
    List->ApplyBestFit(column);
    EXPECT_EQ(column->Width(), 60 + 8);
}

} // namespace
