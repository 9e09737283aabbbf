#include "app/uVarnel.h"

namespace varnel {

TfVarnel::TfVarnel(fw::TComponent* owner) : fw::TForm(owner) {
    WindowClassName = "TfVarnel";
    SetName("fVarnel");
    SetCaption("Varnel - 창 숨기기");
    SetBorderIcons(fw::biSystemMenu | fw::biMinimize);
    SetPosition(fw::poScreenCenter);
    SetBounds(455, 273, 350, 300);
    SetColor(fw::clBtnFace);
    Font().SetName("새굴림");
    Font().SetHeight(-12);
    Font().SetCharset(fw::HANGEUL_CHARSET);
    Font().SetColor(fw::clWindowText);
}

} // namespace varnel
