// Variants and scratch databases for the database library's tests.
#pragma once

#include "tlosses/abi.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace tl::db::test {

template <typename Set>
TlVariant Make(int32_t kind, Set set) {
    TlVariant v{};
    v.kind = kind;
    set(v.v);
    return v;
}
inline TlVariant Null() {
    return Make(TL_VT_NULL, [](auto&) {});
}
inline TlVariant Int(int32_t x) {
    return Make(TL_VT_INT32, [x](auto& v) { v.i32 = x; });
}
inline TlVariant Int64(int64_t x) {
    return Make(TL_VT_INT64, [x](auto& v) { v.i64 = x; });
}
inline TlVariant Double(double x) {
    return Make(TL_VT_DOUBLE, [x](auto& v) { v.f64 = x; });
}
inline TlVariant Date(double x) {
    return Make(TL_VT_DATETIME, [x](auto& v) { v.date_time = x; });
}
inline TlVariant Bool(bool x) {
    return Make(TL_VT_BOOL, [x](auto& v) { v.boolean = x ? 1 : 0; });
}
inline TlVariant Str(const char* x) {
    return Make(TL_VT_STRING, [x](auto& v) { v.str = x; });
}

// A directory of its own under the system's temp directory, removed with everything in it.
class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("tldbd-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace tl::db::test
