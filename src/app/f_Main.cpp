#include "app/f_Main.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include "app/AppFolders.h"
#include "app/MirrorHosts.h"
#include "app/PackageSource.h"
#include "app/TerminateSelf.h"
#include "app/f_GlobalVar.h"
#include "app/f_Info.h"
#include "common/StringConv.h"
#include "controls/FormShadow.h"
#include "controls/XPDorvexEditEx.h"
#include "controls/XPDorvexRadioButton.h"
#include "dialogs/MsgBox.h"
#include "ui/Application.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/PageControl.h"

namespace qv {
namespace {

constexpr wchar_t kMsgNoFolder[] = L"请选择保存路径。";
constexpr wchar_t kMsgNoUrl[] = L"找不到下载文件。";
constexpr wchar_t kMsgBadUrl[] = L"解析URL失败！";
constexpr wchar_t kMsgNoFileName[] = L"不存在下载文件！";
constexpr wchar_t kMsgNoNetwork[] = L"网络异常，请检查网络后重试！";
constexpr wchar_t kMsgAlreadyThere[] = L"已存在，需要重新下载吗？";
constexpr wchar_t kMsgConfirmQuit[] =
    L"当前下载还没有完成，如果关闭软件，需要重新下载，确定关闭软件吗？";
constexpr wchar_t kMsgCannotOpen[] = L"无法自动打开下载的文件。";
constexpr wchar_t kFolderBrowserTitle[] = L"请选择目录";
constexpr wchar_t kLogFail[] = L"下载失败dsFail。[";
constexpr wchar_t kLogError[] = L"下载失败dsError。[";

// The fill picture is drawn unscaled: beyond its own width a wider control uncovers nothing.
constexpr int kProgressFillPictureWidth = 736;

HWND ApplicationWindow() {
    TForm* mainForm = Application().MainForm();
    return mainForm ? mainForm->Handle() : nullptr;
}

// Opens a file or URL with the program associated with it; true when the shell took it.
bool OpenWithShell(const std::wstring& target) {
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        ApplicationWindow(), nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

// The system folder browser; empty when the user cancels.
std::wstring BrowseForFolder(const wchar_t* title) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BROWSEINFOW info{};
    info.hwndOwner = ApplicationWindow();
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    std::wstring folder;
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(chosen, path)) folder = path;
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return folder;
}

// Handles pending messages, then idles for a moment so that the window's fresh drawing reaches
// the screen before the engine blocks in its next read. Windows shows it at once anyway; under
// Wine the window's drawing is only put on the display while the program waits for input, and
// without this the page would show the report before last for as long as a read blocks.
void PumpMessages() {
    Application().ProcessMessages();
    constexpr DWORD kIdleMs = 1;
    MsgWaitForMultipleObjectsEx(0, nullptr, kIdleMs, QS_ALLINPUT, 0);
}

void LogEngineReport(const wchar_t* prefix, const std::wstring& message) {
    GlobalLogger().WriteLog(WideToAnsi(prefix + message + L"]"), llInformation);
}

}  // namespace

Tfrm_Main::Tfrm_Main(TComponent* owner) : TForm(owner) {
    BuildLayout();
    OnCreate = [this](TComponent* sender) { FormCreate(sender); };
    OnShow = [this](TComponent* sender) { FormShow(sender); };
}

void Tfrm_Main::FormCreate(TComponent*) {
    FShadow = new TFormShadow(this);
    FShadow->AttachForm(this);
    ResetDownloadState();
    for (int i = 0; i < PC->PageCount(); ++i) PC->Pages(i)->SetTabVisible(false);
    ShowPage(TS1);
}

void Tfrm_Main::FormShow(TComponent*) {
    FShadow->SetShadowVisible(true);
    const std::wstring folder = DefaultDownloadFolder();
    EnsureFolderExists(folder);  // a failure shows later, when the download cannot write
    FSaveDir = folder;
}

void Tfrm_Main::ResetDownloadState() {
    FCancelRequested = false;
    FDownloaded = false;
    FFailed = false;
    FProgress.Reset();
    GetHttpClient()->SetAllowResume(true);
}

bool Tfrm_Main::IsNetworkConnected() {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

void Tfrm_Main::ShowPage(TTabSheet* page) {
    PC->SetActivePage(page);
}

void Tfrm_Main::btnSmallClick(TComponent*) {
    Application().Minimize();
}

void Tfrm_Main::btnCloseClick(TComponent*) {
    const bool downloading = PC->ActivePage() == TS3 && !FFailed && !FDownloaded;
    if (!downloading) TerminateSelf();
    // The engine sees this in its next progress report and ends with "cancelled".
    FCancelRequested = true;
}

void Tfrm_Main::labCustomClick(TComponent*) {
    ShowPage(TS2);
}

void Tfrm_Main::labBackClick(TComponent*) {
    ShowPage(TS1);
}

void Tfrm_Main::TS2Show(TComponent*) {
    edtDir->SetText(FSaveDir);
}

void Tfrm_Main::edtDirExit(TComponent*) {
    FSaveDir = edtDir->Text();
}

void Tfrm_Main::btnDirClick(TComponent*) {
    const std::wstring folder = BrowseForFolder(kFolderBrowserTitle);
    if (folder.empty()) return;
    edtDir->SetText(WithTrailingSeparator(folder));
    FSaveDir = edtDir->Text();
}

void Tfrm_Main::btnDownloadNowClick(TComponent*) {
    StartDownload();
}

void Tfrm_Main::btnDownloadClick(TComponent*) {
    StartDownload();
}

void Tfrm_Main::btnInstallClick(TComponent*) {
    if (!OpenWithShell(FTargetFile)) {
        MsgBox(mkInfo, kMsgCannotOpen);
        return;
    }
    TerminateSelf();
}

void Tfrm_Main::imgTopMouseDown(TComponent*, TMouseButton, TShiftState, int, int) {
    // Moves the borderless window as if its caption were dragged.
    ReleaseCapture();
    SendMessageW(Handle(), WM_SYSCOMMAND, 0xF012, 0);
}

void Tfrm_Main::StartDownload() {
    // "Download again" and "keep going after all" restart the whole sequence; a loop rather than
    // recursion keeps any number of restarts off the stack.
    while (RunOneDownload() == TStartOutcome::Restart) {
    }
}

bool Tfrm_Main::ChooseUrl(std::wstring& url) const {
    if (rdbDX->Checked()) {
        url = PackageUrl(TMirrorLine::FirstLine);
    } else if (RdbLT->Checked()) {
        url = PackageUrl(TMirrorLine::SecondLine);
    } else {
        return false;
    }
    return true;
}

Tfrm_Main::TStartOutcome Tfrm_Main::RunOneDownload() {
    if (PC->ActivePage() == TS2) FSaveDir = edtDir->Text();
    if (FSaveDir.empty()) {
        MsgBox(mkInfo, kMsgNoFolder);
        return TStartOutcome::Stopped;
    }
    std::wstring url;
    if (!ChooseUrl(url)) {
        MsgBox(mkInfo, kMsgNoUrl);
        return TStartOutcome::Stopped;
    }
    TURLParts parts;
    if (!GetHttpClient()->ParseUrl(url, parts)) {
        MsgBox(mkInfo, kMsgBadUrl);
        return TStartOutcome::Stopped;
    }
    const std::wstring fileName = FileNameOfUrlPath(parts.UrlPath);
    if (fileName.empty()) {
        MsgBox(mkInfo, kMsgNoFileName);
        return TStartOutcome::Stopped;
    }
    if (!IsNetworkConnected()) {
        MsgBox(mkInfo, kMsgNoNetwork);
        ResetDownloadState();
        ShowPage(TS1);
        return TStartOutcome::Stopped;
    }
    FTargetFile = WithTrailingSeparator(FSaveDir) + fileName;
    if (FileExists(FTargetFile)) {
        if (MsgBox(mkOkCancel, FTargetFile + kMsgAlreadyThere) != kMsgAnswerFirst) {
            return TStartOutcome::Stopped;
        }
        DeleteFileW(FTargetFile.c_str());  // a failure shows when the engine replaces it
    }
    ShowPage(TS3);
    const int32_t result = GetHttpClient()->DownloadFile(
        url, FTargetFile,
        [this](const THttpDownloadInfo& info, bool& cancel) { DownloadProgress(info, cancel); }, 0,
        L"GET", L"");
    switch (result) {
        case kDownloadFailed:
            return AfterFailure();
        case kDownloadDone:
            FDownloaded = true;
            btnInstall->Show();
            return TStartOutcome::Stopped;
        case kDownloadCancelled:
            return AfterCancel();
        default:
            return TStartOutcome::Stopped;
    }
}

Tfrm_Main::TStartOutcome Tfrm_Main::AfterFailure() {
    FFailed = true;
    switch (ShowInfo()) {
        case kInfoAnswerClose:
            ResetDownloadState();
            ShowPage(TS1);
            return TStartOutcome::Stopped;
        case kInfoAnswerBrowser:
            OpenWithShell(PackageUrl(TMirrorLine::FirstLine));
            TerminateSelf();
        case kInfoAnswerReload:
            ResetDownloadState();
            return TStartOutcome::Restart;
        default:
            return TStartOutcome::Stopped;
    }
}

Tfrm_Main::TStartOutcome Tfrm_Main::AfterCancel() {
    if (MsgBox(mkOkCancel, kMsgConfirmQuit) == kMsgAnswerFirst) TerminateSelf();
    ResetDownloadState();
    // When the application is ending, the question was answered for the user; do not start over.
    return Application().Terminated() ? TStartOutcome::Stopped : TStartOutcome::Restart;
}

void Tfrm_Main::DownloadProgress(const THttpDownloadInfo& Info, bool& Cancel) {
    switch (Info.Status) {
        case dsStart:
        case dsFinish:
            PumpMessages();
            break;
        case dsProgress:
            SetProgressPosition(static_cast<int32_t>(Info.Position));
            SetProgressTotal(static_cast<int32_t>(Info.Size));
            PumpMessages();
            Cancel = FCancelRequested;
            break;
        case dsFail:
            LogEngineReport(kLogFail, Info.Message);
            PumpMessages();
            break;
        case dsError:
            LogEngineReport(kLogError, Info.Message);
            PumpMessages();
            break;
    }
}

void Tfrm_Main::SetProgressPosition(int32_t value) {
    FProgress.SetPosition(value);
    RedrawProgress();
}

void Tfrm_Main::SetProgressTotal(int32_t value) {
    FProgress.SetTotal(value);
    RedrawProgress();
}

void Tfrm_Main::RedrawProgress() {
    const int64_t percent = FProgress.Percent();
    labProcess->SetCaption(ProgressCaption(percent));
    imgProcessInner->SetWidth(
        ProgressFillWidth(percent, imgProcessOuter->Width(), kProgressFillPictureWidth));
}

}  // namespace qv
