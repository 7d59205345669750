#pragma once
// List-view skin: the scroll-bar skin's covers over the list view's bars,
// plus a header skin on the report view's column header.
#include "SkinHeader.h"
#include "SkinScroll.h"

namespace qs {

class TSkinListView : public TSkinScrollbar {
    QS_DECLARE_CLASS(TSkinListView)
public:
    explicit TSkinListView(TComponent* owner) : TSkinScrollbar(owner) {}
    ~TSkinListView() override;

    TSkinHeader* FHeader = nullptr;

    void AttachScrollbar(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) override;

protected:
    void Notification(TComponent* c, TOperation op) override;
};

}  // namespace qs
