#include "core/multicast_event.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

// Listeners follow one event side by side, and a listener that ends while the event runs (a
// window closed by a handler) is not called after its end, nor is the event harmed by a
// connection that outlives it.
TEST(MulticastEvent, ListenersAddUpAndEndSafely) {
    std::optional<TMulticastEvent<int>> Event(std::in_place);
    std::vector<int> Calls;
    TEventConnection Second;
    TEventConnection First = Event->Connect([&](int Value) {
        Calls.push_back(Value);
        Second.Disconnect(); // ends the listener after it
    });
    Second = Event->Connect([&](int Value) { Calls.push_back(100 + Value); });
    TEventConnection Third = Event->Connect([&](int Value) { Calls.push_back(200 + Value); });
    (*Event)(1);
    EXPECT_EQ(Calls, (std::vector<int>{1, 201}));

    Calls.clear();
    First = TEventConnection(); // moving over a connection ends the one it replaces
    (*Event)(2);
    EXPECT_EQ(Calls, (std::vector<int>{202}));
    EXPECT_TRUE(Event->Assigned());
    Third.Disconnect();
    EXPECT_FALSE(Event->Assigned());

    TEventConnection Late = Event->Connect([](int) {});
    Event.reset();
    Late.Disconnect(); // the event is gone: nothing to do
}
