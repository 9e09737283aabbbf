#include "treelist/dxTL.h"

#include "framework/StandardClasses.h"

namespace dxtl {

using namespace fw;

TdxTreeList::TdxTreeList(TComponent* owner) : TCustomControl(owner) {
    WindowClassName = "TdxTreeList";
    SetBounds(0, 0, 250, 150);
    SetColor(clWindow);
    SetTabStop(true);
}

void TdxTreeList::Paint() {
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(ClientRect());
}

void RegisterTreeList(TPropertyRegistry& registry) {
    RegisterComponentClass<TdxTreeList>(registry, "TdxTreeList", "TCustomControl");
}

} // namespace dxtl
