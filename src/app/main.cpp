// Program entry: the log folder first, then the single-instance guard, the title and the main
// window. An argument or a running instance ends the program at once.
#include <windows.h>

#include <string>

#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "app/f_GlobalVar.h"
#include "app/f_Main.h"
#include "ui/Application.h"

namespace {

constexpr wchar_t kApplicationTitle[] = L"Quorvane";
constexpr int kStartFailed = 1;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring loggerError;
    if (!qv::CreateGlobalLogger(loggerError)) {
        // No window may exist yet; the reason goes to the debugger.
        OutputDebugStringW((L"[Quorvane] " + loggerError + L"\n").c_str());
        return kStartFailed;
    }
    qv::TApplication& application = qv::Application();
    if (!qv::FirstArgument(GetCommandLineW()).empty()) return 0;

    const qv::TSingleInstanceGuard guard;
    if (guard.AnotherInstanceRuns()) return 0;

    application.SetTitle(kApplicationTitle);
    application.CreateForm<qv::Tfrm_Main>();
    application.Run();
    return 0;
}
