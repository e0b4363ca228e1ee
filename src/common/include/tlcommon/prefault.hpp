// Memory about to be filled at once: its pages are mapped in one call instead of one fault each,
// which on a virtual machine costs far more than the filling.
#pragma once

#include <cstddef>
#include <memory>

namespace tl {

// Maps the whole pages inside [data, data + bytes) for writing. Best effort: without the kernel's
// support the pages fault in as they are first written.
void PrefaultForWriting(void* data, size_t bytes) noexcept;

// For a vector that grows to megabytes (a day of momentary values read into one list): each new
// buffer of 64 KiB or more is mapped before the old elements are copied into it.
template <class T>
struct PrefaultingAllocator : std::allocator<T> {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = PrefaultingAllocator<U>;
    };
    PrefaultingAllocator() = default;
    template <class U>
    PrefaultingAllocator(const PrefaultingAllocator<U>&) noexcept {}

    T* allocate(size_t count) {
        T* data = std::allocator<T>::allocate(count);
        if (count * sizeof(T) >= kPrefaultBytes) {
            PrefaultForWriting(data, count * sizeof(T));
        }
        return data;
    }

    static constexpr size_t kPrefaultBytes = size_t{64} * 1024;
};

} // namespace tl
