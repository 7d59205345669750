#include "SkinListView.h"

#include <commctrl.h>

namespace qs {

const TClassInfo& TSkinListView::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinListView>("TSkinListView", &TSkinScrollbar::StaticClassInfo()).build();
    return info;
}

TSkinListView::~TSkinListView() {
    if (FHeader) FHeader->RemoveFreeNotification(this);
    FHeader = nullptr;
}

void TSkinListView::Notification(TComponent* c, TOperation op) {
    TSkinScrollbar::Notification(c, op);
    if (op == TOperation::opRemove && c == FHeader) FHeader = nullptr;
}

void TSkinListView::AttachScrollbar(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    TSkinScrollbar::AttachScrollbar(control, skinData, skinForm, canvas);
    if (!FHandle || FHeader) return;
    HWND header = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
    if (!header) return;
    // Lives as long as the list view's control (or this skin, for a bare window).
    FHeader = new TSkinHeader(control ? static_cast<TComponent*>(control) : this);
    FHeader->FreeNotification(this);
    FHeader->AttachHandle(header, skinData, skinForm, canvas);
}

}  // namespace qs
