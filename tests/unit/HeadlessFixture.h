// A headless platform with an application object, for tests of controls and forms.
#pragma once

#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

namespace testing_support {

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

    fw::headless::HeadlessPlatform Platform;
    fw::TApplication Application;
};

} // namespace testing_support
