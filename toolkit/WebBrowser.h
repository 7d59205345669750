#pragma once
// TWebBrowser: the toolkit control that shows the system's web browser in
// place. The window is the toolkit's own; the browser control is activated
// inside it when the window is made and closed when the window goes.
#include <functional>

#include "Controls.h"
#include "WebBrowserHost.h"

namespace qs {

// (sender, the frame's automation object, the document's address)
using TWebBrowserDocumentCompleteEvent = std::function<void(TObject* sender, IDispatch* disp, const VARIANT& url)>;

class TWebBrowser : public TWinControl {
    QS_DECLARE_CLASS(TWebBrowser)
public:
    explicit TWebBrowser(TComponent* owner);
    ~TWebBrowser() override;

    // The browser's automation interface; null when the control could not be
    // made (its window is made first when needed).
    IWebBrowser2* Browser();
    // The operations the viewer relies on; virtual so a test can record them.
    virtual void Navigate(const std::wstring& url);
    // The current document (AddRef'ed), or null while there is none.
    virtual IDispatch* Document();
    virtual bool Silent();
    virtual void SetSilent(bool on);
    // The outcome of making the browser control (S_OK once it exists).
    HRESULT CreateResult() const { return FCreateResult; }

    TWebBrowserDocumentCompleteEvent OnDocumentComplete;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void DestroyWnd() override;
    void WndProc(TMessage& msg) override;
    // Called for every document-complete event of the control.
    virtual void DocumentComplete(IDispatch* disp, const VARIANT& url);

private:
    void CloseHost();
    TWebBrowserHost* FHost = nullptr;
    HRESULT FCreateResult = E_PENDING;
    bool FOleInitialised = false;
};

}  // namespace qs
