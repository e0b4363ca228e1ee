// The script String: a reference-counted, copy-on-write byte string, so that assigning and
// passing strings costs a counter update, as AnsiString does in Pascal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tl::script {

struct StrRep {
    int32_t refs;
    int32_t size;
    char data[1]; // size bytes follow, then a terminating zero
};

// Raw reference-count helpers for storage slots, which hold a bare StrRep*.
inline void StrAddRef(StrRep* rep) {
    if (rep != nullptr) {
        ++rep->refs;
    }
}
void StrRelease(StrRep* rep);
StrRep* StrCreate(std::string_view text);

inline std::string_view StrView(const StrRep* rep) {
    return rep == nullptr ? std::string_view() : std::string_view(rep->data, static_cast<size_t>(rep->size));
}

class Str {
public:
    Str() = default;
    explicit Str(std::string_view text) : rep_(text.empty() ? nullptr : StrCreate(text)) {}
    Str(const Str& other) : rep_(other.rep_) { StrAddRef(rep_); }
    Str(Str&& other) noexcept : rep_(other.rep_) { other.rep_ = nullptr; }
    Str& operator=(const Str& other) {
        StrAddRef(other.rep_);
        StrRelease(rep_);
        rep_ = other.rep_;
        return *this;
    }
    Str& operator=(Str&& other) noexcept {
        if (this != &other) {
            StrRelease(rep_);
            rep_ = other.rep_;
            other.rep_ = nullptr;
        }
        return *this;
    }
    ~Str() { StrRelease(rep_); }

    // Takes over a reference the caller owns.
    static Str Adopt(StrRep* rep) {
        Str result;
        result.rep_ = rep;
        return result;
    }
    // Hands the reference over to the caller.
    StrRep* Release() {
        StrRep* rep = rep_;
        rep_ = nullptr;
        return rep;
    }
    StrRep* Rep() const { return rep_; }

    std::string_view View() const { return StrView(rep_); }
    size_t Size() const { return rep_ == nullptr ? 0 : static_cast<size_t>(rep_->size); }
    bool Empty() const { return rep_ == nullptr; }
    std::string ToStdString() const { return std::string(View()); }
    // Writable bytes of a string that no one else shares.
    char* MutableData();

private:
    StrRep* rep_ = nullptr;
};

Str Concat(std::string_view a, std::string_view b);

} // namespace tl::script
