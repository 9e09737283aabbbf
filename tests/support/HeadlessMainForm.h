// The main form on a headless desktop of windows with given captions, shown and painted once:
// where the paint benchmark and the end-to-end tests' headless renderer start. The including
// target defines VARNEL_SOURCE_DIR (see SourceFile.h) and links varnel_app and varnel_headless.
#pragma once

#include "app/uVarnel.h"
#include "framework/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/SourceFile.h"

#include <string>
#include <vector>

namespace testing_support {

// The main form's stored layout, from the source tree, as the program's resource.
inline void AddMainFormLayout(fw::headless::HeadlessPlatform& platform) {
    platform.AddResource(std::string(varnel::TfVarnel::kLayoutResource),
                         ReadSourceFile("resources/TFVARNEL.layout"));
}

class THeadlessMainForm {
public:
    explicit THeadlessMainForm(const std::vector<std::string>& captions) : Application(Platform) {
        AddMainFormLayout(Platform);
        for (const std::string& caption : captions) {
            fw::headless::FakeWindow window;
            window.Text = caption;
            Platform.FakeDesktop().Add(window);
        }
        Application.Initialize();
        Form = Application.CreateForm<varnel::TfVarnel>();
        Form->Show();
        Platform.PaintAll();
    }
    THeadlessMainForm(const THeadlessMainForm&) = delete;
    THeadlessMainForm& operator=(const THeadlessMainForm&) = delete;

    fw::headless::HeadlessPlatform Platform;
    fw::TApplication Application;
    varnel::TfVarnel* Form = nullptr;
};

} // namespace testing_support
