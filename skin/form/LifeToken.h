#pragma once
// Skins call into loops of the system that dispatch messages until they end
// (scroll-bar and move tracking, menus, drop-downs, a control's own handler
// that opens a dialog). Anything dispatched there may free the skin that
// made the call: the manager's timer carrying out a deactivation, a window
// destroyed from a timer. A skin keeps one TLifeToken; before such a call it
// takes a watch, and after it touches nothing of itself unless the watch
// says it is still alive.
#include <memory>

namespace qs {

class TLifeToken {
public:
    class Watch {
    public:
        explicit Watch(const TLifeToken& token) : FToken(token.FToken) {}
        bool Alive() const { return !FToken.expired(); }

    private:
        std::weak_ptr<const char> FToken;
    };

    TLifeToken() = default;
    TLifeToken(const TLifeToken&) = delete;
    TLifeToken& operator=(const TLifeToken&) = delete;

    Watch Watching() const { return Watch(*this); }

private:
    std::shared_ptr<const char> FToken = std::make_shared<const char>('\0');
};

}  // namespace qs
