// The main window: lets the user pick the network line (and, on a page the layout keeps out of
// reach, a folder), runs the package download on the user-interface thread, shows its progress
// and starts the downloaded installer.
#pragma once

#include <string>

#include "app/ProgressDisplay.h"
#include "net/IHttpClient.h"
#include "ui/Form.h"

namespace qv {

class TFormShadow;
class TImage;
class TLabel;
class TPageControl;
class TPanel;
class TPNGImageButtonEx;
class TTabSheet;
class TVantlePanel;
class TXPDorvexEditEx;
class TXPDorvexRadioButton;

class Tfrm_Main : public TForm {
public:
    explicit Tfrm_Main(TComponent* owner);

private:
    enum class TStartOutcome { Stopped, Restart };

    void BuildLayout();  // f_MainLayout.cpp
    void NameControls();

    // Handlers bound by the layout.
    void FormCreate(TComponent* sender);
    void FormShow(TComponent* sender);
    void btnSmallClick(TComponent* sender);
    void btnCloseClick(TComponent* sender);
    void labCustomClick(TComponent* sender);
    void TS2Show(TComponent* sender);
    void labBackClick(TComponent* sender);
    void btnDirClick(TComponent* sender);
    void edtDirExit(TComponent* sender);
    void btnDownloadNowClick(TComponent* sender);
    void btnDownloadClick(TComponent* sender);
    void btnInstallClick(TComponent* sender);
    void imgTopMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);

    void StartDownload();
    TStartOutcome RunOneDownload();
    TStartOutcome AfterFailure();
    TStartOutcome AfterCancel();
    bool ChooseUrl(std::wstring& url) const;
    void DownloadProgress(const THttpDownloadInfo& Info, bool& Cancel);
    void SetProgressPosition(int32_t value);
    void SetProgressTotal(int32_t value);
    void RedrawProgress();
    void ResetDownloadState();
    static bool IsNetworkConnected();
    void ShowPage(TTabSheet* page);

    // Layout (owned by the form).
    TVantlePanel* pnlGg = nullptr;
    TImage* imgTop = nullptr;
    TVantlePanel* pnlMinClose = nullptr;
    TPNGImageButtonEx* btnSmall = nullptr;
    TPNGImageButtonEx* btnClose = nullptr;
    TPageControl* PC = nullptr;
    TTabSheet* TS1 = nullptr;
    TVantlePanel* pnlTS1 = nullptr;
    TLabel* labCustom = nullptr;
    TImage* imgGray = nullptr;
    TImage* btnDownloadNow = nullptr;
    TVantlePanel* pnlRdbtn = nullptr;
    TXPDorvexRadioButton* rdbDX = nullptr;
    TXPDorvexRadioButton* RdbLT = nullptr;
    TTabSheet* TS2 = nullptr;
    TVantlePanel* pnlTS2 = nullptr;
    TLabel* labDirInfo = nullptr;
    TLabel* labBack = nullptr;
    TImage* btnDownload = nullptr;
    TImage* btnDir = nullptr;
    TXPDorvexEditEx* edtDir = nullptr;
    TTabSheet* TS3 = nullptr;
    TVantlePanel* pnlTS3 = nullptr;
    TLabel* labProcess = nullptr;
    TImage* btnInstall = nullptr;
    TPanel* Panel1 = nullptr;
    TImage* imgProcessOuter = nullptr;
    TImage* imgProcessInner = nullptr;

    // State.
    TFormShadow* FShadow = nullptr;
    std::wstring FSaveDir;
    std::wstring FTargetFile;
    bool FCancelRequested = false;
    bool FDownloaded = false;
    bool FFailed = false;
    TProgressCounter FProgress;
};

}  // namespace qv
