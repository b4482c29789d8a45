#include "vigil/forms/event.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

using namespace vigil::forms;

TEST(Event, SubscriptionRemovesItsHandlerWhenDestroyedOrReset) {
    Event<int> event;
    std::string calls;
    event.Add([&](int v) { calls += "a" + std::to_string(v); });
    {
        Subscription scoped = event.Subscribe([&](int v) { calls += "s" + std::to_string(v); });
        Subscription moved = std::move(scoped);
        EXPECT_FALSE(scoped.Active());
        event.Raise(1);
    }
    event.Raise(2);
    Subscription reset = event.Subscribe([&](int v) { calls += "r" + std::to_string(v); });
    event.Raise(3);
    reset.Reset();
    reset.Reset();
    event.Raise(4);
    EXPECT_EQ(calls, "a1s1a2a3r3a4");
    EXPECT_EQ(event.HandlerCount(), 1u);
}

TEST(Event, HandlerRemovedDuringRaiseIsNotCalledAgain) {
    Event<> event;
    std::string calls;
    std::optional<Subscription> second;
    // The first handler drops itself and the one after it; a handler added meanwhile waits for
    // the next raise.
    auto first = std::make_unique<Subscription>();
    *first = event.Subscribe([&] {
        calls += "1";
        first.reset(); // destroys this handler's own token while it runs
        second.reset();
        event.Add([&] { calls += "n"; });
    });
    second = event.Subscribe([&] { calls += "2"; });
    event.Add([&] { calls += "3"; });
    event.Raise();
    event.Raise();
    EXPECT_EQ(calls, "13"
                     "3n");
}

TEST(Event, TokenOutlivingItsEventDoesNothing) {
    Subscription token;
    {
        Event<> event;
        token = event.Subscribe([] {});
    }
    token.Reset(); // must not touch the destroyed event
    EXPECT_FALSE(token.Active());
}
