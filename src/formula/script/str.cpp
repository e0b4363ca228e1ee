#include "tlscript/str.hpp"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tl::script {

StrRep* StrCreate(std::string_view text) {
    void* memory = std::malloc(offsetof(StrRep, data) + text.size() + 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
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
    void* memory = std::malloc(offsetof(StrRep, data) + a.size() + b.size() + 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    auto* rep = static_cast<StrRep*>(memory);
    rep->refs = 1;
    rep->size = static_cast<int32_t>(a.size() + b.size());
    std::memcpy(rep->data, a.data(), a.size());
    std::memcpy(rep->data + a.size(), b.data(), b.size());
    rep->data[a.size() + b.size()] = '\0';
    return Str::Adopt(rep);
}

} // namespace tl::script
