// Work handed from one thread to another, in order. Bounded: the giver waits
// while it is full. Closed: the taker finishes what waits, then hears the
// end. Cancelled: what waits is dropped and both sides are released at once.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <limits>
#include <mutex>
#include <optional>
#include <vector>

namespace orb8 {

template <class T>
class WorkQueue {
public:
    explicit WorkQueue(std::size_t capacity = std::numeric_limits<std::size_t>::max()) : capacity_(capacity) {}

    // Waits while full. False, and the item dropped, once closed or cancelled.
    bool Push(T item) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return cancelled_ || closed_ || items_.size() < capacity_; });
        if (cancelled_ || closed_) return false;
        items_.push_back(std::move(item));
        changed_.notify_all();
        return true;
    }
    // As Push, but a waiting item that `same` matches is replaced where it
    // waits (a newer word on the same thing); it never waits for room then.
    template <class Same>
    bool PushReplacing(T item, Same same) {
        {
            std::lock_guard lock(mutex_);
            if (cancelled_ || closed_) return false;
            for (T& waiting : items_)
                if (same(waiting)) {
                    waiting = std::move(item);
                    return true;
                }
        }
        return Push(std::move(item));
    }
    // The next item; none once closed with nothing left, or cancelled.
    std::optional<T> Pop() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return cancelled_ || closed_ || !items_.empty(); });
        if (cancelled_ || items_.empty()) return std::nullopt;
        std::optional<T> item(std::move(items_.front()));
        items_.pop_front();
        working_ = true;
        changed_.notify_all();
        return item;
    }
    // Everything waiting, at least one item (for a taker that merges what
    // piled up); empty once closed with nothing left, or cancelled.
    std::vector<T> PopAll() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return cancelled_ || closed_ || !items_.empty(); });
        std::vector<T> all;
        if (cancelled_) return all;
        all.reserve(items_.size());
        for (T& item : items_) all.push_back(std::move(item));
        items_.clear();
        working_ = !all.empty();
        changed_.notify_all();
        return all;
    }
    // The taker has finished what it took last (a taker whose giver uses
    // WaitIdle calls it after each Pop or PopAll).
    void Done() {
        std::lock_guard lock(mutex_);
        working_ = false;
        changed_.notify_all();
    }
    // Waits until nothing waits and the taker has finished what it took.
    void WaitIdle() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return cancelled_ || (items_.empty() && !working_); });
    }
    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        changed_.notify_all();
    }
    void Cancel() {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        items_.clear();
        changed_.notify_all();
    }
    bool Cancelled() const {
        std::lock_guard lock(mutex_);
        return cancelled_;
    }

private:
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<T> items_;
    bool working_ = false, closed_ = false, cancelled_ = false;
};

}  // namespace orb8
