#pragma once
// Records the messages a window procedure receives, in order, for
// message-sequence tests. It subclasses the window itself and puts the
// previous procedure back when destroyed (or when the window goes away).
#include <windows.h>
#include <string>
#include <vector>

namespace qs::test {

struct RecordedMessage {
    HWND wnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageRecorder {
public:
    // Records everything unless a filter list is given.
    explicit MessageRecorder(HWND wnd, std::vector<UINT> only = {});
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<RecordedMessage>& messages() const { return log_; }
    std::vector<UINT> ids() const;
    size_t count(UINT msg) const;
    void clear() { log_.clear(); }
    // True when `expected` occurs in order (other messages may come between).
    bool containsInOrder(const std::vector<UINT>& expected) const;
    // Readable "0x0085 0x0014 ..." for failure messages.
    std::string describe() const;

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    HWND wnd_;
    WNDPROC previous_ = nullptr;
    std::vector<UINT> only_;
    std::vector<RecordedMessage> log_;
};

}  // namespace qs::test
