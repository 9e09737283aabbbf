// Program entry: the application object, the main form, the message loop.
#include "app/uVarnel.h"
#include "framework/Application.h"

int main() {
    std::unique_ptr<fw::IPlatform> platform = fw::CreateNativePlatform();
    fw::TApplication application(*platform);
    application.SetTitle("Varnel");
    application.Initialize();
    application.CreateForm<varnel::TfVarnel>();
    application.Run();
    return 0;
}
