#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace bitloom {

// Keeps an observer subscribed for as long as it lives: destroying or
// resetting it unsubscribes. It may outlive what it observes.
class [[nodiscard]] Subscription {
public:
    Subscription() = default;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    Subscription(Subscription&& other) noexcept : mEnd(std::exchange(other.mEnd, {})) {}
    Subscription& operator=(Subscription&& other) noexcept
    {
        if (this != &other) {
            reset();
            mEnd = std::exchange(other.mEnd, {});
        }
        return *this;
    }
    ~Subscription() { reset(); }

    void reset()
    {
        if (auto end = std::exchange(mEnd, {}))
            end();
    }
    bool active() const { return bool(mEnd); }

private:
    template <typename>
    friend class Observers;
    explicit Subscription(std::function<void()> end) : mEnd(std::move(end)) {}

    std::function<void()> mEnd;
};

// The observers of one source, in the order they subscribed. An observer
// may subscribe or unsubscribe observers while it is told: one unsubscribed
// then is not told any more, one subscribed then is told from the next time.
template <typename Event>
class Observers {
public:
    using Observer = std::function<void(const Event&)>;

    Subscription subscribe(Observer observer)
    {
        auto entry = std::make_shared<Entry>(Entry{std::move(observer), true});
        mEntries->push_back(entry);
        return Subscription([list = std::weak_ptr<Entries>(mEntries), weak = std::weak_ptr<Entry>(entry)] {
            const auto entry = weak.lock();
            if (!entry)
                return;
            entry->active = false;
            if (const auto entries = list.lock())
                std::erase(*entries, entry);
        });
    }

    void notify(const Event& event) const
    {
        const Entries current = *mEntries;
        for (const auto& entry : current) {
            if (entry->active)
                entry->observer(event);
        }
    }

    std::size_t size() const { return mEntries->size(); }

private:
    struct Entry {
        Observer observer;
        bool active;
    };
    using Entries = std::vector<std::shared_ptr<Entry>>;

    std::shared_ptr<Entries> mEntries = std::make_shared<Entries>();
};

} // namespace bitloom
