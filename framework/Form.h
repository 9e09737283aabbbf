// Top-level windows.
#pragma once

#include "framework/Control.h"

namespace fw {

enum TBorderIconFlag : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};

enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

// A form: a top-level window owned by the application window. Left, Top, Width and
// Height are its outer rectangle on the screen.
class TForm : public TCustomControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition position) { FPosition = position; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int ppi) { FPixelsPerInch = ppi; }
    void SetClientWidth(int width);
    void SetClientHeight(int height);
    TRect ClientRect() const override;

    void Show();
    // Asks OnCloseQuery and OnClose; closing the main form ends the application.
    void Close();
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);

    // Raises OnCreate; the application calls it once the form is fully constructed.
    void DoCreate();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TWindowCreateArgs& args) override;
    void BeforeDestruction() override;
    void DefaultHandler(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TSize FrameExtra() const;
    void CenterOnScreen();

    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TPosition FPosition = poDesigned;
    int FPixelsPerInch = 96;
    bool FShownOnce = false;
    bool FDestroyRaised = false;
    TWinControl* FActiveControl = nullptr;
};

} // namespace fw
