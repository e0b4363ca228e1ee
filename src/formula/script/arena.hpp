// A bump allocator for tree nodes: one allocation per block instead of one per node, and the
// nodes die together with the tree (or with Reset, which keeps the first block for reuse).
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace tl::script {

class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena() { RunDestructors(); }

    template <class T, class... Args>
    T* New(Args&&... args) {
        void* memory = Allocate(sizeof(T), alignof(T));
        T* object = new (memory) T(std::forward<Args>(args)...);
        if constexpr (!std::is_trivially_destructible_v<T>) {
            destructors_.push_back({object, [](void* p) { static_cast<T*>(p)->~T(); }});
        }
        return object;
    }

    // An uninitialised array of trivially destructible elements.
    template <class T>
    T* NewArray(size_t count) {
        static_assert(std::is_trivially_destructible_v<T>);
        return static_cast<T*>(Allocate(sizeof(T) * (count == 0 ? 1 : count), alignof(T)));
    }

    void* Allocate(size_t size, size_t align) {
        size_t offset = (used_ + align - 1) & ~(align - 1);
        if (blocks_.empty() || offset + size > block_size_) {
            block_size_ = size > kBlockSize ? size : kBlockSize;
            blocks_.emplace_back(new std::byte[block_size_]);
            offset = 0;
        }
        used_ = offset + size;
        return blocks_.back().get() + offset;
    }

    // Exchanges everything allocated, so that a compiler can direct its allocations to another
    // arena for a while.
    void Swap(Arena& other) noexcept {
        blocks_.swap(other.blocks_);
        destructors_.swap(other.destructors_);
        std::swap(used_, other.used_);
        std::swap(block_size_, other.block_size_);
    }

    // Destroys everything allocated so far.
    void Reset() {
        RunDestructors();
        destructors_.clear();
        if (blocks_.size() > 1 || block_size_ != kBlockSize) {
            blocks_.clear();
            block_size_ = 0;
        }
        used_ = 0;
    }

private:
    void RunDestructors() {
        for (auto it = destructors_.rbegin(); it != destructors_.rend(); ++it) {
            it->destroy(it->object);
        }
    }

    static constexpr size_t kBlockSize = 64 * 1024;
    struct Destructor {
        void* object;
        void (*destroy)(void*);
    };
    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::vector<Destructor> destructors_;
    size_t used_ = 0;
    size_t block_size_ = 0;
};

// A fixed-size array allocated in an arena.
template <class T>
struct ArenaSpan {
    T* data = nullptr;
    size_t size = 0;
    T* begin() const { return data; }
    T* end() const { return data + size; }
    T& operator[](size_t i) const { return data[i]; }
    bool empty() const { return size == 0; }

    // count default-constructed elements.
    static ArenaSpan Allocate(Arena& arena, size_t count) {
        ArenaSpan span;
        span.size = count;
        span.data = arena.NewArray<T>(count);
        for (size_t i = 0; i < count; ++i) {
            new (span.data + i) T();
        }
        return span;
    }

    template <class Vector>
    static ArenaSpan From(Arena& arena, const Vector& items) {
        ArenaSpan span;
        span.size = items.size();
        span.data = arena.NewArray<T>(span.size);
        for (size_t i = 0; i < span.size; ++i) {
            new (span.data + i) T(items[i]);
        }
        return span;
    }
};

} // namespace tl::script
