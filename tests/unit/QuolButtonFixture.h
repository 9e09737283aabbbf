// Flat buttons on a panel of a form on the headless platform, which carries the program's
// bitmap resources. Pixel helpers read the button's own window surface.
#pragma once

#include "HeadlessFixture.h"
#include "flatbutton/QuolButton.h"
#include "framework/Panel.h"
#include "tests/support/ProgramResources.h"

#include <optional>

namespace testing_support {

class QuolButtonTest : public HeadlessTest {
protected:
    // The main form's button strip colour, so that the parent's colour is easy to tell.
    static constexpr fw::TColor kPanelColor = 0x00F9FEFF;
    static constexpr fw::TColorRef kBlue = 0xFF0000;
    static constexpr fw::TColorRef kBlack = 0x000000;

    QuolButtonTest() {
        for (const ScriptResource& r : ResourceScriptEntries())
            if (r.Type == "BITMAP")
                Platform.AddBitmapResource(r.Name, DecodeBmp(ReadSourceFile(r.File)));
        Form = Application.CreateForm<fw::TForm>();
        Form->SetBounds(0, 0, 300, 200);
        // 12-pixel text: wide characters advance 12 pixels, ASCII ones 6.
        Form->Font().SetHeight(-12);
        Panel = new fw::TPanel(Form);
        Panel->SetBevelOuter(fw::bvNone);
        Panel->SetColor(kPanelColor);
        Panel->SetBounds(0, 0, 300, 150);
        Panel->SetParent(Form);
    }

    // A button on the panel at (left, top) of the given size.
    quol::TQuolButton* MakeButton(const std::string& caption, int left = 10, int top = 10,
                                  int width = 60, int height = 24) {
        auto* button = new quol::TQuolButton(Form);
        button->SetBounds(left, top, width, height);
        button->SetCaption(caption);
        button->SetParent(Panel);
        return button;
    }
    // Shows the form and paints every window, as the platform does when idle.
    void ShowAll() {
        Form->Show();
        Platform.PaintAll();
    }

    // Pointer input in the button's client coordinates.
    void MoveTo(fw::TWinControl& control, int x, int y) {
        Platform.MouseMoveTo(control.ClientToScreen({x, y}));
    }
    void Press(fw::TWinControl& control, int x, int y) {
        Platform.MouseButton(fw::Msg::LButtonDown, control.ClientToScreen({x, y}));
    }
    void Release(fw::TWinControl& control, int x, int y) {
        Platform.MouseButton(fw::Msg::LButtonUp, control.ClientToScreen({x, y}));
    }
    // Over the panel, clear of every button the tests make.
    void MoveAway() { Platform.MouseMoveTo(Panel->ClientToScreen({290, 140})); }

    // The smallest rectangle holding every pixel of that colour; none when there is none.
    std::optional<fw::TRect> InkBox(fw::TWinControl& control, fw::TColorRef colour) {
        const auto& surface = WindowOf(control).Surface();
        std::optional<fw::TRect> box;
        for (int y = 0; y < surface.Height; ++y)
            for (int x = 0; x < surface.Width; ++x) {
                if (surface.At(x, y) != colour)
                    continue;
                if (!box)
                    box = fw::TRect{x, y, x + 1, y + 1};
                box = fw::UnionRect(*box, {x, y, x + 1, y + 1});
            }
        return box;
    }
    int CountPixels(fw::TWinControl& control, fw::TColorRef colour) {
        const auto& surface = WindowOf(control).Surface();
        int count = 0;
        for (fw::TColorRef pixel : surface.Pixels)
            count += pixel == colour ? 1 : 0;
        return count;
    }
    fw::TColorRef Sys(int index) { return Platform.SysColor(index); }

    fw::TForm* Form = nullptr;
    fw::TPanel* Panel = nullptr;
};

} // namespace testing_support
