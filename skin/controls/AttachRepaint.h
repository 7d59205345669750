#pragma once
// Whether attaching a control skin repaints its control. While a
// TAttachRepaintDeferral lives on this thread the one who made it repaints
// everything it attached in one go when done (the classification of a whole
// form invalidates the form and all its children once): under Wine every
// invalidation is a server round trip, and a form of 200 controls paid one
// or two per control for a repaint that one request does as well.
namespace qs {

class TAttachRepaintDeferral {
public:
    TAttachRepaintDeferral() { ++depth(); }
    ~TAttachRepaintDeferral() { --depth(); }
    TAttachRepaintDeferral(const TAttachRepaintDeferral&) = delete;
    TAttachRepaintDeferral& operator=(const TAttachRepaintDeferral&) = delete;

    static bool Active() { return depth() > 0; }
    // True for the outermost deferral only: it owes the repaint.
    bool Outermost() const { return depth() == 1; }

private:
    static int& depth() {
        thread_local int n = 0;
        return n;
    }
};

}  // namespace qs
