// The tree list's plain settings on their own: what each write asks of the list, and the
// bounds they keep, without a list or a form.
#include "treelist/dxTLSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using Effects = std::vector<TdxSettingEffect>;

class TRecordingSettings : public TdxTreeListSettings {
public:
    Effects Told;

protected:
    void SettingChanged(TdxSettingEffect effect) override { Told.push_back(effect); }
};

constexpr auto kRepaint = TdxSettingEffect::Repaint;
constexpr auto kRelayout = TdxSettingEffect::Relayout;
constexpr auto kReframe = TdxSettingEffect::Reframe;

struct WriteCase {
    const char* Name;
    std::function<void(TdxTreeListSettings&)> Write;
    Effects Expected;
};

// A list that missed one of these would show stale heights, colours or frames.
TEST(TreeListSettings, EachWriteAsksTheListForWhatItChanged) {
    const std::vector<WriteCase> cases = {
        {"colours repaint", [](auto& s) { s.SetHighlightColor(fw::clRed); }, {kRepaint}},
        {"search colours", [](auto& s) { s.SetAutoSearchTextColor(fw::clRed); }, {kRepaint}},
        {"grid line colour", [](auto& s) { s.SetGridLineColor(fw::clRed); }, {kRepaint}},
        {"tree lines", [](auto& s) { s.SetTreeLineStyle(tlSolid); }, {kRepaint}},
        {"buttons", [](auto& s) { s.SetShowButtons(false); }, {kRepaint}},
        {"indent", [](auto& s) { s.SetIndentDesc(4); }, {kRepaint}},
        {"grid lines take room", [](auto& s) { s.SetShowGrid(true); }, {kRelayout}},
        {"the header", [](auto& s) { s.SetShowHeader(false); }, {kRelayout}},
        {"the new item row", [](auto& s) { s.SetShowNewItemRow(true); }, {kRelayout}},
        {"preview lines", [](auto& s) { s.SetPreviewLines(3); }, {kRelayout}},
        {"scroll bars", [](auto& s) { s.SetScrollBars(ssNone); }, {kRelayout}},
        {"fixed band line", [](auto& s) { s.SetFixedBandLineWidth(3); }, {kRelayout}},
        {"border", [](auto& s) { s.SetBorderStyle(fw::bsNone); }, {kReframe, kRepaint}},
        {"3D", [](auto& s) { s.SetCtl3D(false); }, {kReframe, kRepaint}},
        {"look and feel", [](auto& s) { s.SetLookAndFeel(lfFlat); }, {kReframe, kRelayout}},
        {"stored only", [](auto& s) { s.SetIniFileName("a.ini"); }, {}},
        {"customizing rows", [](auto& s) { s.SetCustomizingRowCount(5); }, {}},
        {"double click", [](auto& s) { s.SetDblClkExpanding(false); }, {}},
    };
    for (const WriteCase& c : cases) {
        TRecordingSettings settings;
        c.Write(settings);
        EXPECT_EQ(settings.Told, c.Expected) << c.Name;
    }
}

TEST(TreeListSettings, WritesKeepTheirBounds) {
    TRecordingSettings s;
    s.SetIndentDesc(-5);
    s.SetFixedBandLineWidth(0);
    s.SetMaxRowLineCount(-7);
    s.SetPreviewLines(-3);
    s.SetRowSeparatorLineWidth(-1);
    s.SetCustomizingRowCount(1);
    EXPECT_EQ(s.IndentDesc(), 0);
    EXPECT_EQ(s.FixedBandLineWidth(), 1);
    EXPECT_EQ(s.MaxRowLineCount(), -1);
    EXPECT_EQ(s.PreviewLines(), -1);
    EXPECT_EQ(s.RowSeparatorLineWidth(), 1);
    EXPECT_EQ(s.CustomizingRowCount(), 2);
}

TEST(TreeListSettings, ABorderIsSingleUnlessItIsNone) {
    TRecordingSettings s;
    s.SetBorderStyle(fw::bsNone);
    EXPECT_EQ(s.BorderStyle(), fw::bsNone);
    s.SetBorderStyle(fw::bsSizeable);
    EXPECT_EQ(s.BorderStyle(), fw::bsSingle);
}

TEST(TreeListSettings, WritingCtl3DStopsFollowingTheParent) {
    TRecordingSettings s;
    ASSERT_TRUE(s.ParentCtl3D());
    s.SetCtl3D(true);
    EXPECT_TRUE(s.Ctl3D());
    EXPECT_FALSE(s.ParentCtl3D());
}

} // namespace
