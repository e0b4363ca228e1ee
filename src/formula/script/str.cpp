#include "tlscript/str.hpp"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tl::script {
namespace {

// Far beyond any formula's needs and well inside the 32-bit size; a script that grows a string
// past it (doubling in a loop) ends with the out-of-memory error instead of wrapping the size.
constexpr size_t kMaxStrBytes = size_t{64} * 1024 * 1024;

void* AllocateRep(size_t size) {
    void* memory = size > kMaxStrBytes ? nullptr : std::malloc(offsetof(StrRep, data) + size + 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

} // namespace

StrRep* StrCreate(std::string_view text) {
    void* memory = AllocateRep(text.size());
    auto* rep = static_cast<StrRep*>(memory);
    rep->refs = 1;
    rep->size = static_cast<int32_t>(text.size());
    std::memcpy(rep->data, text.data(), text.size());
    rep->data[text.size()] = '\0';
    return rep;
}

void StrRelease(StrRep* rep) {
    if (rep != nullptr && --rep->refs == 0) {
        std::free(rep);
    }
}

char* Str::MutableData() {
    if (rep_ != nullptr && rep_->refs > 1) {
        StrRep* copy = StrCreate(View());
        StrRelease(rep_);
        rep_ = copy;
    }
    return rep_ == nullptr ? nullptr : rep_->data;
}

Str Concat(std::string_view a, std::string_view b) {
    void* memory = AllocateRep(a.size() + b.size());
    auto* rep = static_cast<StrRep*>(memory);
    rep->refs = 1;
    rep->size = static_cast<int32_t>(a.size() + b.size());
    std::memcpy(rep->data, a.data(), a.size());
    std::memcpy(rep->data + a.size(), b.data(), b.size());
    rep->data[a.size() + b.size()] = '\0';
    return Str::Adopt(rep);
}

} // namespace tl::script
