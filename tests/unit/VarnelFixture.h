// The main form on the headless platform, with its stored layout read from the source tree.
#pragma once

#include "HeadlessFixture.h"
#include "app/uVarnel.h"

#include <fstream>
#include <sstream>

namespace testing_support {

inline std::string ReadSourceFile(const std::string& relative) {
    std::ifstream in(std::string(VARNEL_SOURCE_DIR) + "/" + relative, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + relative);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class VarnelTest : public HeadlessTest {
protected:
    VarnelTest() { Platform.AddResource("TFVARNEL", ReadSourceFile("resources/TFVARNEL.layout")); }
    varnel::TfVarnel* CreateMainForm() {
        Form = Application.CreateForm<varnel::TfVarnel>();
        return Form;
    }

    varnel::TfVarnel* Form = nullptr;
};

} // namespace testing_support
