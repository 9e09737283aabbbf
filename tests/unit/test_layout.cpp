#include "HeadlessFixture.h"
#include "framework/Panel.h"
#include "framework/StandardClasses.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using testing_support::HeadlessTest;

TEST(LayoutParser, ReadsEveryKindOfValue) {
    const TLayoutObject root = ParseLayout(R"(
// a comment
object Main: TForm
  Caption = 'It''s 한글'
  Left = -12
  Color = $00F9FEFF
  Align = alTop
  Icons = [biSystemMenu, biMinimize]
  Empty = []
  Lines = ('a' 'b')
  Items = <
    item
      Caption = 'x'
    end
    item
    end>
  object Child: TPanel
    Visible = False
  end
end)");
    EXPECT_EQ(root.Name, "Main");
    EXPECT_EQ(root.ClassName, "TForm");
    ASSERT_EQ(root.Properties.size(), 8u);
    EXPECT_EQ(root.Properties[0].Value.Text, "It's 한글");
    EXPECT_EQ(root.Properties[1].Value.Int, -12);
    EXPECT_EQ(root.Properties[2].Value.Int, 0x00F9FEFF);
    EXPECT_EQ(root.Properties[3].Value.Kind, TLayoutValue::Identifier);
    EXPECT_EQ(root.Properties[4].Value.Items,
              (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
    EXPECT_TRUE(root.Properties[5].Value.Items.empty());
    EXPECT_EQ(root.Properties[6].Value.Items, (std::vector<std::string>{"a", "b"}));
    ASSERT_EQ(root.Properties[7].Value.Elements.size(), 2u);
    EXPECT_EQ(root.Properties[7].Value.Elements[0].Properties[0].Value.Text, "x");
    ASSERT_EQ(root.Children.size(), 1u);
    EXPECT_EQ(root.Children[0].Line, 17);
}

TEST(LayoutParser, ErrorsNameTheLine) {
    auto messageOf = [](const char* text) {
        try {
            ParseLayout(text);
        } catch (const ELayoutError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf("object A: TForm\n  Caption = 'open\nend"), "line 2: unterminated string");
    EXPECT_EQ(messageOf("object A: TForm\n  Left = 1\n"), "line 3: 'end' of object 'A' is missing");
    EXPECT_EQ(messageOf("object A: TForm\n  Left = 99999999999999999999999\nend"),
              "line 2: bad number '99999999999999999999999'");
    EXPECT_EQ(messageOf("object A: TForm\nend\nend"),
              "line 3: text after the end of the root object");
    EXPECT_EQ(messageOf("thing A: TForm end"), "line 1: 'object' was expected");
    EXPECT_EQ(messageOf("object A: TForm\n Left = ?\nend"), "line 2: unexpected character '?'");
}

class LayoutTest : public HeadlessTest {
protected:
    LayoutTest() { RegisterStandardClasses(Registry); }
    TForm* Load(const std::string& body, const THandlerTable& handlers = {}) {
        return LoadForm("object Main: TForm\n" + body + "\nend", Registry, handlers);
    }
    std::string ErrorOf(const std::string& body, const THandlerTable& handlers = {}) {
        return testing_support::LayoutErrorOf([&] { Load(body, handlers); });
    }
    TPropertyRegistry Registry;
};

TEST_F(LayoutTest, CreatesOwnedParentedComponentsWithStoredValues) {
    THandlerTable handlers;
    int clicks = 0;
    handlers.Add("PanelClick", TNotifyEvent([&](TObject*) { ++clicks; }));
    TForm* form = Load(R"(  Width = 350
  Height = 300
  Font.Name = 'Gulim'
  object Top1: TPanel
    Height = 18
    Align = alTop
    BevelOuter = bvNone
    Color = 16383743
    OnClick = PanelClick
    object Inner: TPanel
      Width = 30
      Align = alLeft
      Font.Height = -20
    end
  end)",
                       handlers);
    auto* top = dynamic_cast<TPanel*>(form->FindComponent("Top1"));
    auto* inner = dynamic_cast<TPanel*>(form->FindComponent("Inner"));
    ASSERT_TRUE(top && inner);
    EXPECT_EQ(top->Owner(), form);
    EXPECT_EQ(inner->Owner(), form);
    EXPECT_EQ(inner->Parent(), top);
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 342, 18}));
    EXPECT_EQ(inner->BoundsRect(), (TRect{0, 0, 30, 18}));
    EXPECT_EQ(top->Color(), 0x00F9FEFF);
    EXPECT_EQ(top->BevelOuter(), bvNone);
    EXPECT_EQ(top->Font().Name(), "Gulim");
    EXPECT_TRUE(top->ParentFont());
    EXPECT_EQ(inner->Font().Height(), -20);
    EXPECT_FALSE(inner->ParentFont());
    EXPECT_FALSE(form->IsLoading());
    EXPECT_FALSE(inner->IsLoading());
    top->OnClick(top);
    EXPECT_EQ(clicks, 1);
}

TEST_F(LayoutTest, StoredTabOrdersApplyInSequence) {
    TForm* form = Load(R"(  object A: TPanel
    TabOrder = 0
  end
  object B: TPanel
    TabOrder = 1
  end
  object C: TPanel
    TabOrder = 3
  end
  object D: TPanel
    TabOrder = 4
  end
  object E: TPanel
    TabOrder = 2
  end)");
    const char* expected[] = {"A", "B", "E", "C", "D"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dynamic_cast<TWinControl*>(form->FindComponent(expected[i]))->TabOrder(), i);
}

TEST_F(LayoutTest, ErrorsNameLayoutComponentAndProperty) {
    EXPECT_EQ(ErrorOf("  object P: TPanel\n    BevelOutr = bvNone\n  end"),
              "TEST, line 3: P.BevelOutr: unknown property of TPanel");
    EXPECT_EQ(ErrorOf("  object P: TPanel\n    BevelOuter = bvSideways\n  end"),
              "TEST, line 3: P.BevelOuter: 'bvSideways' is not a valid value");
    EXPECT_EQ(ErrorOf("  object P: TPanel\n    Width = 'wide'\n  end"),
              "TEST, line 3: P.Width: an integer was expected, not a string");
    EXPECT_EQ(ErrorOf("  object P: TPanelX\n  end"), "TEST, line 2: P: unknown class TPanelX");
    EXPECT_EQ(ErrorOf("  Color = clPlaid"), "TEST, line 2: Main.Color: 'clPlaid' is not a colour");
    EXPECT_EQ(ErrorOf("  OnCreate = Missing"),
              "TEST, line 2: Main.OnCreate: unknown event handler 'Missing'");
    THandlerTable wrongType;
    wrongType.Add("Closing", TCloseQueryEvent([](TObject*, bool&) {}));
    EXPECT_EQ(ErrorOf("  OnCreate = Closing", wrongType),
              "TEST, line 2: Main.OnCreate: handler 'Closing' does not fit an event of type "
              "TNotifyEvent");
    EXPECT_EQ(ErrorOf("  object P: TPanel\n  end\n  object P: TPanel\n  end"),
              "TEST, line 4: P: a component of this name exists already");
    EXPECT_EQ(ErrorOf("  Caption = 'x"), "TEST, line 2: unterminated string");
}

TEST_F(LayoutTest, AFailedLoadLeavesAlignmentWorking) {
    auto* form = Application.CreateForm<TForm>();
    EXPECT_THROW(
        LoadLayout(
            *form, "TEST",
            "object Main: TForm\n object P: TPanel\n Align = alClient\n Bogus = 1\n end\nend",
            Registry, {}),
        ELayoutError);
    auto* p = dynamic_cast<TPanel*>(form->FindComponent("P"));
    ASSERT_NE(p, nullptr);
    form->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(p->BoundsRect(), (TRect{0, 0, 192, 73}));
}

TEST(LayoutPictures, RowsAndPaletteMakeAMaskedPicture) {
    const TPixelImage image = PictureFromRows(". k=000000 r=0000FF", {"k.", "rk"});
    ASSERT_EQ(image.Width, 2);
    EXPECT_EQ(image.At(0, 0), 0xFF000000u);
    EXPECT_EQ(image.At(1, 0) >> 24, 0u);
    EXPECT_EQ(image.At(0, 1), 0xFF0000FFu);
    EXPECT_THROW(PictureFromRows(". k=000000", {"kx"}), ELayoutError);
    EXPECT_THROW(PictureFromRows(". k=0000", {"k"}), ELayoutError);
    EXPECT_THROW(PictureFromRows(". k=000000", {"kk", "k"}), ELayoutError);
}

// A published property may be declared by a base that is not the component's first one.
struct TStoredLabel {
    virtual ~TStoredLabel() = default;
    void SetLabel(std::string text) { Label = std::move(text); }
    void SetLines(int lines) { Lines = lines; }
    std::string Label;
    int Lines = 0;
};

class TLabelledPanel : public TPanel, public TStoredLabel {
public:
    using TPanel::TPanel;
};

TEST_F(LayoutTest, PropertiesOfASecondBaseClassAreSetOnThatBase) {
    auto builder = RegisterComponentClass<TLabelledPanel>(Registry, "TLabelledPanel", "TPanel");
    builder.String("Label", &TLabelledPanel::SetLabel).Int("Lines", &TLabelledPanel::SetLines);
    TForm* form = Load(R"(  object Labelled: TLabelledPanel
    Label = 'Below'
    Lines = 3
    Height = 20
  end)");
    auto* panel = dynamic_cast<TLabelledPanel*>(form->FindComponent("Labelled"));
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->Label, "Below");
    EXPECT_EQ(panel->Lines, 3);
    EXPECT_EQ(panel->Height(), 20);
}

} // namespace
