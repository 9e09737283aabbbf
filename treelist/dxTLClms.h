// Column kinds beyond text: the graphic column.
#pragma once

#include "treelist/dxTL.h"

namespace dxtl {

// A column whose cells show a picture. Its header spans every free header row below it by
// default (HeaderMaxLineCount 0).
class TdxTreeListGraphicColumn : public TdxTreeListColumn {
public:
    explicit TdxTreeListGraphicColumn(fw::TComponent* owner);
    int DefaultHeaderMaxLineCount() const override { return 0; }
};

// TdxTreeListGraphicColumn for stored layouts (with every property of TdxTreeListColumn).
void RegisterTreeListGraphicColumn(fw::TPropertyRegistry& registry);

} // namespace dxtl
