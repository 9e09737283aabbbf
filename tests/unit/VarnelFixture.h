// The main form on the headless platform, with its stored layout read from the source tree.
#pragma once

#include "HeadlessFixture.h"
#include "app/uVarnel.h"
#include "tests/support/HeadlessMainForm.h"

namespace testing_support {

class VarnelTest : public HeadlessTest {
protected:
    VarnelTest() { AddMainFormLayout(Platform); }
    varnel::TfVarnel* CreateMainForm() {
        Form = Application.CreateForm<varnel::TfVarnel>();
        return Form;
    }

    varnel::TfVarnel* Form = nullptr;
};

} // namespace testing_support
