#pragma once
// A multicast event: the handlers of a control's Click, Change or Timer event, called in the
// order they were added. Behaviour code subscribes to react; a Win32 view subscribes to mirror.
//
// Add keeps a handler for as long as the event lives (behaviour wired to the forms at start-up).
// Subscribe returns a token that removes its handler when it is destroyed, so a window that
// closes leaves no handler behind. A handler may add or remove handlers, itself included, while
// the event is being raised: a removed handler is not called again, not even later in the same
// raise, and a handler added during a raise is first called by the next one.
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace vigil::forms {

// Owns one subscription; move-only. Reset (or destruction) removes the handler. A token that
// outlives its event does nothing.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> remove) : remove_(std::move(remove)) {}
    Subscription(Subscription&& other) noexcept : remove_(std::exchange(other.remove_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            Reset();
            remove_ = std::exchange(other.remove_, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { Reset(); }

    void Reset() {
        if (auto remove = std::exchange(remove_, {}))
            remove();
    }
    bool Active() const { return static_cast<bool>(remove_); }

private:
    std::function<void()> remove_;
};

template <typename... Args> class Event {
public:
    using Handler = std::function<void(Args...)>;

    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Add(Handler handler) { Insert(std::move(handler)); }

    [[nodiscard]] Subscription Subscribe(Handler handler) {
        std::weak_ptr<Slot> slot = Insert(std::move(handler));
        std::weak_ptr<State> state = state_;
        return Subscription([state, slot] {
            auto liveState = state.lock();
            auto liveSlot = slot.lock();
            if (!liveState || !liveSlot)
                return;
            liveSlot->live = false;
            auto& slots = liveState->slots;
            for (auto it = slots.begin(); it != slots.end(); ++it) {
                if (*it == liveSlot) {
                    slots.erase(it);
                    break;
                }
            }
        });
    }

    void Raise(Args... args) const {
        // Work on a copy: the handlers may change the list. The copy also keeps every slot, and
        // with it the running handler's captures, alive until the raise is over.
        auto slots = state_->slots;
        for (const auto& slot : slots) {
            if (slot->live)
                slot->handler(args...);
        }
    }

    std::size_t HandlerCount() const { return state_->slots.size(); }

private:
    struct Slot {
        Handler handler;
        bool live = true;
    };
    struct State {
        std::vector<std::shared_ptr<Slot>> slots;
    };

    std::shared_ptr<Slot> Insert(Handler handler) {
        auto slot = std::make_shared<Slot>(Slot{std::move(handler)});
        state_->slots.push_back(slot);
        return slot;
    }

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace vigil::forms
