#pragma once
// A bounded, lock-free queue for exactly one producer thread and one consumer thread.
// The UI thread hands commands to the audio callback through one, and the callback
// hands finished voices back through another; neither side ever waits or allocates.
#include <array>
#include <atomic>
#include <cstddef>
#include <type_traits>

namespace tessaly {

template <typename T, std::size_t Capacity>
class SpscQueue {
    static_assert(Capacity > 0 && (Capacity & (Capacity - 1)) == 0, "capacity must be a power of two");
    static_assert(std::is_trivially_copyable_v<T>, "slots are copied without constructors");

public:
    // Producer only. False when full: the caller keeps the item and tries again later.
    bool push(const T& item) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);  // only we write it
        // Acquire pairs with the consumer's release of head_: once we see a slot as free,
        // the consumer has finished reading it, so overwriting it cannot tear its copy.
        if (tail - head_.load(std::memory_order_acquire) == Capacity) return false;
        slots_[tail & (Capacity - 1)] = item;
        // Release publishes the slot's contents together with the new tail: a consumer
        // that acquires this tail also sees the item fully written.
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer only. False when empty.
    bool pop(T& item) {
        const std::size_t head = head_.load(std::memory_order_relaxed);  // only we write it
        // Acquire pairs with the producer's release of tail_ (see push).
        if (head == tail_.load(std::memory_order_acquire)) return false;
        item = slots_[head & (Capacity - 1)];
        // Release hands the slot back only after our copy of it is complete.
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    // Consumer only: the item pop() would take next, left where it is; null when
    // empty. Valid until the next pop() or dropFront(): the producer does not reuse
    // a slot before the consumer has released it.
    const T* front() {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        // Acquire, as in pop(): the item is fully written before we read it.
        if (head == tail_.load(std::memory_order_acquire)) return nullptr;
        return &slots_[head & (Capacity - 1)];
    }
    // Consumer only: releases the item front() showed (there must be one).
    void dropFront() { head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

private:
    // Indices grow without bound (a 64-bit counter does not wrap in practice) and are
    // reduced to a slot on use, so "full" and "empty" need no spare slot. They sit on
    // separate cache lines so the two threads do not false-share.
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
    alignas(64) std::array<T, Capacity> slots_{};
};

}  // namespace tessaly
