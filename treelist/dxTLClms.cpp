#include "treelist/dxTLClms.h"

#include "framework/StandardClasses.h"

namespace dxtl {

TdxTreeListGraphicColumn::TdxTreeListGraphicColumn(fw::TComponent* owner)
    : TdxTreeListColumn(owner) {
    FHeaderMaxLineCount = TdxTreeListGraphicColumn::DefaultHeaderMaxLineCount();
}

void RegisterTreeListGraphicColumn(fw::TPropertyRegistry& registry) {
    fw::RegisterComponentClass<TdxTreeListGraphicColumn>(registry, "TdxTreeListGraphicColumn",
                                                         "TdxTreeListColumn");
}

} // namespace dxtl
