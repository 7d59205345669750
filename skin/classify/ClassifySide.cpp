// The classification answers for the control skins whenever a form skin
// asks: linking this library is what gives form skins their control skins.
#include "Classify.h"
#include "ContentColours.h"
#include "Messages.h"
#include "SkinBars.h"

// Referenced by the link options of skin_classify, so that every program
// that links the library also links this registration.
extern "C" void qs_skin_classify_linked() {}

namespace qs {

namespace {

class TClassifySide final : public TControlSide {
public:
    void SkinAllControls(TWinSkinForm& fs, TCustomForm* form) override { qs::SkinAllControls(fs, form); }
    void SkinChildWindows(TWinSkinForm& fs, HWND handle) override { qs::SkinChildWindows(fs, handle); }
    void ClassifyWindow(TWinSkinForm& fs, HWND handle) override { qs::ClassifyWindow(fs, handle); }
    void ControlSkinsChanged(TWinSkinForm& fs) override { qs::ControlSkinsChanged(fs); }
    bool RebuildScrollbarSkin(TWinSkinForm& fs, HWND handle) override { return qs::RebuildScrollbarSkin(fs, handle); }
    void ApplyContentColours(TWinSkinForm& fs, bool late) override { qs::ApplyContentColours(fs, late); }
    void RestoreContentColours(TWinSkinForm& fs) override { qs::RestoreContentColours(fs); }
    void ContentColoursChanged(TWinSkinForm& fs) override { qs::ContentColoursChanged(fs); }
    bool AnswerContentColour(UINT msg, WPARAM dc, LPARAM child, LRESULT& result) override {
        return qs::AnswerContentColour(msg, dc, child, result);
    }
    bool HasContentColours(HWND wnd) override { return ContentBrushOf(wnd) != nullptr; }
    void AnswerNotify(TMessage& m, const std::function<void()>& passOn) override {
        if (IsContentNotify(m.Msg, m.LParam)) {
            if (!ContentNotifyBefore(m.LParam, m.Result)) {
                passOn();
                ContentNotifyAfter(m.LParam, m.Result);
            }
            return;
        }
        if (!AnswerToolbarCustomDraw(m, [&] {
                passOn();
                return m.Result;
            }))
            passOn();
    }
};

[[maybe_unused]] const bool registered = [] {
    static TClassifySide side;
    SetControlSide(&side);
    return true;
}();

}  // namespace

}  // namespace qs
