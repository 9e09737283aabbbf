// The main form's icon column: each row's cell white with the window's small icon at its
// top-left corner in the icon's own size, or image 2 of ImgLstCheck for a window without one,
// pixel for pixel, in plain, selected and unfocused rows; a stale icon leaves the cell white;
// the fallback icon made for a cell is released and the window's own icon never is.
#include "VarnelFixture.h"

#include "test_colours.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using namespace test_colours;
using namespace dxtl;
using testing_support::VarnelTest;
using varnel::TfVarnel;

constexpr TColorRef kHighlight = 12775679;
constexpr TColorRef kHideSelection = 14546943;

// 16 x 16, every pixel its own colour, transparent along the diagonal.
TPixelImage TestIcon(int size = 16) {
    TPixelImage image = TPixelImage::Blank(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.Set(x, y,
                      x == y ? 0 : Opaque(TColorRef(x * 15) | TColorRef(y * 15) << 8 | 0x400000));
    return image;
}

class MainFormIconTest : public VarnelTest {
protected:
    void SetUp() override {
        Icon = Platform.CreateIcon(TestIcon());
        Without = AddWindow("Without icon");
        WithIcon = AddWindow("With icon");
        Desktop().Fake(WithIcon)->SmallIcon = Icon;
        Form = CreateMainForm();
        Form->Show();
        List = Form->tlWinList;
        ASSERT_EQ(List->NodeCount(), 2);
    }
    void TearDown() override { Platform.DestroyIcon(Icon); }

    // The row of the window with that caption.
    int RowOf(const std::string& caption) {
        for (int i = 0; i < List->NodeCount(); ++i)
            if (static_cast<varnel::TWindowObject*>(List->NodeAt(i)->Data())->Caption == caption)
                return i;
        return -1;
    }
    TRect IconCell(int row) {
        const TRect header = List->HeaderRect(List->ColumnIndexOf(Form->lcICon));
        const int top = List->DataAreaRect().Top + row * List->RowHeight();
        return {header.Left, top, header.Right, top + List->RowHeight()};
    }
    // The cell's pixels compared with `image` drawn at its top-left corner over white; in the
    // focused row the top and bottom lines, which carry the focus rectangle, are left out.
    testing::AssertionResult CellShows(int row, const TPixelImage* image) {
        const bool inner = List->NodeAt(row) == List->FocusedNode();
        const TRect cell = IconCell(row);
        if (cell.Width() != 20 || cell.Height() != 16)
            return testing::AssertionFailure() << "cell " << cell.Width() << "x" << cell.Height();
        const int edge = inner ? 1 : 0;
        for (int y = edge; y < cell.Height() - edge; ++y)
            for (int x = 0; x < cell.Width(); ++x) {
                TColorRef expected = kWhite;
                if (image && x < image->Width && y < image->Height && (image->At(x, y) >> 24) != 0)
                    expected = image->At(x, y) & 0xFFFFFFu;
                const TColorRef actual = PixelOf(*List, cell.Left + x, cell.Top + y);
                if (actual != expected)
                    return testing::AssertionFailure()
                           << std::hex << actual << " instead of " << expected << std::dec << " at "
                           << x << "," << y;
            }
        return testing::AssertionSuccess();
    }
    TColorRef CaptionCellAt(int row) {
        const TRect header = List->HeaderRect(List->ColumnIndexOf(Form->lcCaption));
        return PixelOf(*List, header.Right - 10, IconCell(row).Top + 8);
    }

    TIconHandle Icon = 0;
    TWindowHandle WithIcon = 0;
    TWindowHandle Without = 0;
    TfVarnel* Form = nullptr;
    TdxTreeList* List = nullptr;
};

TEST_F(MainFormIconTest, WindowIconOrTheFallbackOnWhiteWhateverTheRowsState) {
    const TPixelImage icon = TestIcon();
    const TPixelImage& fallback = Form->ImgLstCheck->Images().at(TfVarnel::kFallbackIconImage);
    const int withIcon = RowOf("With icon");
    const int without = RowOf("Without icon");
    ASSERT_GE(withIcon, 0);
    ASSERT_GE(without, 0);

    Repaint(*List);
    EXPECT_TRUE(CellShows(withIcon, &icon));
    EXPECT_TRUE(CellShows(without, &fallback));

    // Both rows selected, the list focused: the other cells take the highlight, the icon cells
    // stay as they were.
    List->SetNodeSelected(List->NodeAt(0), true);
    List->SetNodeSelected(List->NodeAt(1), true);
    Platform.SetFocusTo(List->Handle());
    Repaint(*List);
    for (int row : {withIcon, without}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(CaptionCellAt(row), kHighlight);
        EXPECT_TRUE(CellShows(row, row == withIcon ? &icon : &fallback));
    }
    // Without the focus: the hidden selection's colour around white icon cells.
    Platform.SetFocusTo(0); // another program takes the keyboard
    Repaint(*List);
    for (int row : {withIcon, without}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(CaptionCellAt(row), kHideSelection);
        EXPECT_TRUE(CellShows(row, row == withIcon ? &icon : &fallback));
    }
}

TEST_F(MainFormIconTest, IconDestroyedSinceTheSnapshotLeavesTheCellWhite) {
    Platform.DestroyIcon(Icon);
    const int row = RowOf("With icon");
    List->SetNodeSelected(List->NodeAt(row), true);
    Platform.SetFocusTo(List->Handle());
    Repaint(*List);
    EXPECT_TRUE(CellShows(row, nullptr));
    EXPECT_EQ(CaptionCellAt(row), kHighlight);
}

TEST_F(MainFormIconTest, FallbackIconIsReleasedAfterEachCellAndTheWindowsIconKept) {
    const std::size_t before = Platform.LiveIconCount();
    for (int i = 0; i < 3; ++i)
        Repaint(*List);
    EXPECT_EQ(Platform.LiveIconCount(), before);
    // The window's icon is still there to draw.
    const TPixelImage icon = TestIcon();
    EXPECT_TRUE(CellShows(RowOf("With icon"), &icon));
}

TEST_F(MainFormIconTest, IconLargerThanTheRowStaysInsideItsCell) {
    // A 32 x 32 icon in the bottom row would reach under the last row, which the list painted
    // before the rows and does not paint again.
    const TIconHandle large = Platform.CreateIcon(TestIcon(32));
    Desktop().Fake(Without)->SmallIcon = large;
    Form->btnRefreshClick(nullptr);
    const int row = RowOf("Without icon");
    ASSERT_EQ(row, List->NodeCount() - 1);
    Repaint(*List);
    const TPixelImage expected = TestIcon(32);
    EXPECT_TRUE(CellShows(row, &expected));
    const TRect cell = IconCell(row);
    for (int y = cell.Bottom; y < cell.Bottom + 16; ++y)
        for (int x = cell.Left; x < cell.Right; ++x)
            ASSERT_EQ(PixelOf(*List, x, y), TColorRef(List->Color())) << x << "," << y;
    Platform.DestroyIcon(large);
}

} // namespace
