// Shows the proving window until it is closed (its close picture, top right).
#include <windows.h>

#include "ProvingWindow.h"
#include "ui/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    qv::Application().SetTitle(L"Quorvane toolkit");
    qv::Application().CreateForm<qv::TfrmProving>();
    qv::Application().Run();
    return 0;
}
