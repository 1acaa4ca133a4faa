#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// A listener's place in a TMulticastEvent: the listener is called while the connection lives,
// and disconnected when it ends (or by Disconnect). Outliving the event is harmless.
class TEventConnection {
public:
    TEventConnection() = default;
    explicit TEventConnection(std::function<void()> Disconnect)
        : FDisconnect(std::move(Disconnect)) {}
    TEventConnection(TEventConnection&& Other) noexcept
        : FDisconnect(std::exchange(Other.FDisconnect, nullptr)) {}
    TEventConnection& operator=(TEventConnection&& Other) noexcept {
        if (this != &Other) {
            Disconnect();
            FDisconnect = std::exchange(Other.FDisconnect, nullptr);
        }
        return *this;
    }
    TEventConnection(const TEventConnection&) = delete;
    TEventConnection& operator=(const TEventConnection&) = delete;
    ~TEventConnection() { Disconnect(); }

    void Disconnect() {
        if (FDisconnect) {
            std::exchange(FDisconnect, nullptr)();
        }
    }

private:
    std::function<void()> FDisconnect;
};

// An event that any number of listeners follow. Connecting one never replaces another; they are
// called in the order they connected, the sender first by the events' convention. A listener
// may connect or disconnect listeners while the event runs: one connected meanwhile is called
// from the next time on, one disconnected meanwhile is not called any more.
template <typename... TArgs>
class TMulticastEvent {
public:
    using TListener = std::function<void(TArgs...)>;

    [[nodiscard]] TEventConnection Connect(TListener Listener) {
        const std::uint64_t Id = FState->NextId++;
        FState->Listeners.emplace_back(Id, std::move(Listener));
        return TEventConnection([Weak = std::weak_ptr<TState>(FState), Id] {
            if (const std::shared_ptr<TState> State = Weak.lock()) {
                std::erase_if(State->Listeners,
                              [Id](const auto& Entry) { return Entry.first == Id; });
            }
        });
    }

    bool Assigned() const { return !FState->Listeners.empty(); }

    void operator()(TArgs... Args) const {
        const std::shared_ptr<TState> State = FState; // alive while the listeners run
        std::vector<std::uint64_t> Ids;
        Ids.reserve(State->Listeners.size());
        for (const auto& Entry : State->Listeners) {
            Ids.push_back(Entry.first);
        }
        for (const std::uint64_t Id : Ids) {
            const auto Found = std::find_if(State->Listeners.begin(), State->Listeners.end(),
                                            [Id](const auto& Entry) { return Entry.first == Id; });
            if (Found != State->Listeners.end()) {
                const TListener Listener = Found->second; // the list may change while it runs
                Listener(Args...);
            }
        }
    }

private:
    struct TState {
        std::vector<std::pair<std::uint64_t, TListener>> Listeners;
        std::uint64_t NextId = 0;
    };

    std::shared_ptr<TState> FState = std::make_shared<TState>();
};
