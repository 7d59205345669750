#pragma once
// What the page area shows when the channel page cannot be shown inside the
// window (no browser control, or no document in it): a short explanation in
// the viewer's language, the page's address, and a button that opens that
// address in the user's default browser. Painted in the colours of the skin
// in use, or the system's while skinning is off.
#include <string>

#include "Controls.h"
#include "StdCtrlsButtons.h"

namespace qs {
class TSkinData;
}

namespace qv {

using namespace qs;

class TQvPageNotice : public TCustomControl {
    QS_DECLARE_CLASS(TQvPageNotice)
public:
    explicit TQvPageNotice(TComponent* owner);

    // Whose colours the notice is drawn in; null for the system's.
    void SetSkinData(TSkinData* skin);
    // The address the explanation names and the button opens.
    void SetAddress(const std::wstring& address);
    const std::wstring& Address() const { return FAddress; }
    TButton* OpenButton() const { return FOpen; }

    // The texts, as the notice shows them.
    static const wchar_t kHeading[];
    static const wchar_t kHint[];
    static const wchar_t kOpenCaption[];

protected:
    void Paint() override;
    void WndProc(TMessage& msg) override;
    void Notification(TComponent* c, TOperation op) override;

private:
    void Layout();
    TSkinData* FSkin = nullptr;
    TButton* FOpen = nullptr;
    std::wstring FAddress;
};

}  // namespace qv
