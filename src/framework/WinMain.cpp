// The program's entry point: runs the one application object.
#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    CWinApp* app = CWinApp::Get();
    if (!app)
        return 0;
    if (!app->InitInstance())
        return 0;
    return app->Run();
}
