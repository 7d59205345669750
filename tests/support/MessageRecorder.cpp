#include "MessageRecorder.h"

#include <algorithm>
#include <cstdio>

namespace qs::test {

static const wchar_t* const kProp = L"qs.test.MessageRecorder";

MessageRecorder::MessageRecorder(HWND wnd, std::vector<UINT> only) : wnd_(wnd), only_(std::move(only)) {
    SetPropW(wnd_, kProp, this);
    previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&proc)));
}

MessageRecorder::~MessageRecorder() {
    if (wnd_ && IsWindow(wnd_) && GetPropW(wnd_, kProp) == this) {
        SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropW(wnd_, kProp);
    }
}

LRESULT CALLBACK MessageRecorder::proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<MessageRecorder*>(GetPropW(wnd, kProp));
    if (!self) return DefWindowProcW(wnd, msg, wp, lp);
    if (self->only_.empty() || std::find(self->only_.begin(), self->only_.end(), msg) != self->only_.end())
        self->log_.push_back({wnd, msg, wp, lp});
    WNDPROC prev = self->previous_;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
        RemovePropW(wnd, kProp);
        self->wnd_ = nullptr;
    }
    return CallWindowProcW(prev, wnd, msg, wp, lp);
}

std::vector<UINT> MessageRecorder::ids() const {
    std::vector<UINT> out;
    for (auto& m : log_) out.push_back(m.msg);
    return out;
}

size_t MessageRecorder::count(UINT msg) const {
    return size_t(std::count_if(log_.begin(), log_.end(), [&](auto& m) { return m.msg == msg; }));
}

bool MessageRecorder::containsInOrder(const std::vector<UINT>& expected) const {
    size_t i = 0;
    for (auto& m : log_)
        if (i < expected.size() && m.msg == expected[i]) ++i;
    return i == expected.size();
}

std::string MessageRecorder::describe() const {
    std::string s;
    char buf[16];
    for (auto& m : log_) {
        std::snprintf(buf, sizeof buf, "0x%04X ", m.msg);
        s += buf;
    }
    return s;
}

}  // namespace qs::test
