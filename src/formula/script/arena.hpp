// A bump allocator for tree nodes: one allocation per block instead of one per node, and the
// nodes die together with the tree.
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
    ~Arena() {
        for (auto it = destructors_.rbegin(); it != destructors_.rend(); ++it) {
            it->destroy(it->object);
        }
    }

    template <class T, class... Args>
    T* New(Args&&... args) {
        void* memory = Allocate(sizeof(T), alignof(T));
        T* object = new (memory) T(std::forward<Args>(args)...);
        if constexpr (!std::is_trivially_destructible_v<T>) {
            destructors_.push_back({object, [](void* p) { static_cast<T*>(p)->~T(); }});
        }
        return object;
    }

    void* Allocate(size_t size, size_t align) {
        size_t offset = (used_ + align - 1) & ~(align - 1);
        if (blocks_.empty() || offset + size > block_size_) {
            block_size_ = size > kBlockSize ? size : kBlockSize;
            blocks_.push_back(std::make_unique<std::byte[]>(block_size_));
            offset = 0;
        }
        used_ = offset + size;
        return blocks_.back().get() + offset;
    }

private:
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

} // namespace tl::script
