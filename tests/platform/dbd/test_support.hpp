// Variants and scratch databases for the database library's tests.
#pragma once

#include "tlosses/abi.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace tl::db::test {

inline TlVariant Null() {
    TlVariant v{};
    v.kind = TL_VT_NULL;
    return v;
}
inline TlVariant Int(int32_t x) {
    TlVariant v{};
    v.kind = TL_VT_INT32;
    v.v.i32 = x;
    return v;
}
inline TlVariant Int64(int64_t x) {
    TlVariant v{};
    v.kind = TL_VT_INT64;
    v.v.i64 = x;
    return v;
}
inline TlVariant Double(double x) {
    TlVariant v{};
    v.kind = TL_VT_DOUBLE;
    v.v.f64 = x;
    return v;
}
inline TlVariant Date(double x) {
    TlVariant v{};
    v.kind = TL_VT_DATETIME;
    v.v.date_time = x;
    return v;
}
inline TlVariant Bool(bool x) {
    TlVariant v{};
    v.kind = TL_VT_BOOL;
    v.v.boolean = x ? 1 : 0;
    return v;
}
inline TlVariant Str(const char* x) {
    TlVariant v{};
    v.kind = TL_VT_STRING;
    v.v.str = x;
    return v;
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
