// Program entry: the application object, the main form, the message loop.
#include "app/uVarnel.h"
#include "framework/Application.h"

int main() {
    std::unique_ptr<fw::IPlatform> platform = fw::CreateNativePlatform();
    fw::TApplication application(*platform);
    application.SetTitle("Varnel");
    try {
        application.Initialize();
        application.CreateForm<varnel::TfVarnel>();
        application.Run();
    } catch (const std::exception& error) {
        // The application still frees the main form on the way out, so its destroy handler
        // shows every hidden window again.
        application.HandleException(error);
        return 1;
    }
    return 0;
}
