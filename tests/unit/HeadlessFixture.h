// A headless platform with an application object, for tests of controls and forms.
#pragma once

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Layout.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace testing_support {

// The message of the layout error `load` raises, or "no error".
inline std::string LayoutErrorOf(const std::function<void()>& load) {
    try {
        load();
    } catch (const fw::ELayoutError& e) {
        return e.what();
    }
    return "no error";
}

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessTest() : Application(Platform) { Application.Initialize(); }

    fw::headless::HeadlessWindow& WindowOf(fw::TWinControl& control) {
        auto* w = Platform.Find(control.Handle());
        if (!w)
            throw std::runtime_error("control has no headless window");
        return *w;
    }
    fw::TColorRef PixelOf(fw::TWinControl& control, int x, int y) {
        return WindowOf(control).Surface().At(x, y);
    }
    void Repaint(fw::TWinControl& control) {
        control.Invalidate();
        Platform.PaintAll();
    }

    fw::headless::HeadlessDesktop& Desktop() { return Platform.FakeDesktop(); }
    // A window of another program, on top of the others.
    fw::TWindowHandle AddWindow(std::string text, bool visible = true, bool iconic = false,
                                fw::TWindowHandle owner = 0) {
        fw::headless::FakeWindow w;
        w.Text = std::move(text);
        w.Visible = visible;
        w.Iconic = iconic;
        w.Owner = owner;
        return Desktop().Add(w);
    }

    // A new form holding a stored layout (named `layoutName` in error messages).
    fw::TForm* LoadForm(const std::string& layout, const fw::TPropertyRegistry& registry,
                        const fw::THandlerTable& handlers = {},
                        const std::string& layoutName = "TEST") {
        auto* form = Application.CreateForm<fw::TForm>();
        fw::LoadLayout(*form, layoutName, layout, registry, handlers);
        return form;
    }

    fw::headless::HeadlessPlatform Platform;
    fw::TApplication Application;
};

} // namespace testing_support
