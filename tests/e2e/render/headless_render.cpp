// Paints the main form's list on the headless platform over a desktop of windows with the
// given captions and writes the list's client area as a binary PPM: the rendering that the
// end-to-end tests hold the real program's screenshots against.
//   varnel_headless_render OUT.ppm CAPTION...
#include "app/uVarnel.h"
#include "framework/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/SourceFile.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: varnel_headless_render OUT.ppm CAPTION...\n";
        return 2;
    }
    try {
        fw::headless::HeadlessPlatform platform;
        platform.AddResource("TFVARNEL",
                             testing_support::ReadSourceFile("resources/TFVARNEL.layout"));
        for (int i = 2; i < argc; ++i) {
            fw::headless::FakeWindow window;
            window.Text = argv[i];
            platform.FakeDesktop().Add(window);
        }
        fw::TApplication application(platform);
        application.Initialize();
        auto* form = application.CreateForm<varnel::TfVarnel>();
        form->Show();
        platform.PaintAll();
        const fw::headless::HeadlessWindow* list = platform.Find(form->tlWinList->Handle());
        if (!list || !list->Surface().SavePpm(argv[1])) {
            std::cerr << "varnel_headless_render: cannot write " << argv[1] << "\n";
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "varnel_headless_render: " << e.what() << "\n";
        return 1;
    }
}
