// Paints the main form's list on the headless platform over a desktop of windows with the
// given captions and writes the list's client area as a binary PPM: the rendering that the
// end-to-end tests hold the real program's screenshots against.
//   varnel_headless_render OUT.ppm CAPTION...
#include "tests/support/HeadlessMainForm.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: varnel_headless_render OUT.ppm CAPTION...\n";
        return 2;
    }
    try {
        testing_support::THeadlessMainForm main(std::vector<std::string>(argv + 2, argv + argc));
        const fw::headless::HeadlessWindow* list =
            main.Platform.Find(main.Form->tlWinList->Handle());
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
