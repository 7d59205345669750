#pragma once
// The viewer's main form: a fixed-size window whose client area is the
// embedded browser showing the live channel, with the hot key, the keep-on-top
// menu, the help link on the status bar and the one-time desktop shortcut.
#include <memory>
#include <string>

#include "Application.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "ExtCtrlsTimer.h"
#include "Forms.h"
#include "Menus.h"
#include "QvPageNotice.h"
#include "QvTray.h"
#include "SkinData.h"
#include "StreamAdapter.h"
#include "WebBrowser.h"

namespace qv {

using namespace qs;

constexpr int kHotKeyId = 9563;  // 0x255B
constexpr UINT kHotKeyModifiers = MOD_ALT;
constexpr UINT kHotKeyKey = 'Z';
// Mouse events on the notification-area icon.
constexpr UINT kTrayMessage = WM_APP + 1;
// The viewer's name, as its notification-area icon and its shortcut give it.
inline constexpr wchar_t kViewerName[] = L"Qelvo\u7f51\u7edc\u7535\u89c6V1.24";

class TF_qv : public TForm {
    QS_DECLARE_CLASS(TF_qv)
public:
    explicit TF_qv(TComponent* owner);
    ~TF_qv() override;

    // Components, in the order the definition creates them.
    TStatusBar* STB_main = nullptr;
    TPanel* Panel1 = nullptr;
    TPanel* Panel2 = nullptr;
    TWebBrowser* WB_qv = nullptr;
    TSkinData* SD = nullptr;
    TTimer* T_1 = nullptr;
    TPopupMenu* PM_1 = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* N2 = nullptr;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void OnWMHotKey(TMessage& msg);
    void N1Click(TObject* sender);
    void N2Click(TObject* sender);
    void STB_mainDblClick(TObject* sender);
    void T_1Timer(TObject* sender);
    void WB_qvDocumentComplete(TObject* sender, IDispatch* disp, const VARIANT& url);
    void createlnk();

    // The fragment's stream once the document took it; lives until the end.
    TMemoryStream* PageStream() const { return FPageStream.get(); }
    // What the page area shows instead of the channel page; null while the
    // browser shows it (or may still).
    TQvPageNotice* PageNotice() const { return FPageNotice; }
    // The notification-area icon, up while Alt+Z keeps the window hidden.
    const TQvTrayIcon& TrayIcon() const { return FTray; }

protected:
    void Loaded() override;
    void DoShow() override;

private:
    void ShowPageNotice();
    void OnTrayIcon(TMessage& msg);
    void TrayMenu();
    std::unique_ptr<TMemoryStream> FPageStream;
    TQvPageNotice* FPageNotice = nullptr;
    TQvTrayIcon FTray{kTrayMessage};
};

extern TF_qv* F_qv;

// How the program was started (QvMain reads the command line):
//   --no-skin            the skin data stays loaded but skins nothing
//   --first-frame FILE   the time from entry to the main window's first frame
//                        (skinned, unless --no-skin) and the private bytes a
//                        second later go to FILE, and the program closes
struct TViewerOptions {
    bool skinningOff = false;
    std::wstring firstFrameReport;
};
TViewerOptions& ViewerOptions();

// Makes every class the viewer's definition names known to the form reader.
void RegisterViewerClasses();

}  // namespace qv
