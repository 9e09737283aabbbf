// The main form of the utility.
#pragma once

#include "framework/Form.h"

namespace varnel {

class TfVarnel : public fw::TForm {
public:
    explicit TfVarnel(fw::TComponent* owner);
};

} // namespace varnel
