#pragma once
// A multicast event: the handlers of a control's Click, Change or Timer event, called in the
// order they were added. Behaviour code subscribes to react; a Win32 view subscribes to mirror.
#include <functional>
#include <vector>

namespace vigil::forms {

template <typename... Args> class Event {
public:
    using Handler = std::function<void(Args...)>;

    void Add(Handler handler) { handlers_.push_back(std::move(handler)); }

    void Raise(Args... args) const {
        // Copy first: a handler may add handlers while the event is being raised.
        auto handlers = handlers_;
        for (const auto& handler : handlers)
            handler(args...);
    }

private:
    std::vector<Handler> handlers_;
};

} // namespace vigil::forms
