// The multi-column tree list control.
#pragma once

#include "framework/Control.h"
#include "framework/Layout.h"

namespace dxtl {

// Stands in for the list until its nodes, columns and painting exist: it takes its place in
// the layout and paints its background.
class TdxTreeList : public fw::TCustomControl {
public:
    explicit TdxTreeList(fw::TComponent* owner);

protected:
    void Paint() override;
};

void RegisterTreeList(fw::TPropertyRegistry& registry);

} // namespace dxtl
