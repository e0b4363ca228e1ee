// Pieces shared by the host tests: a scratch directory with a metering database, and records
// as the driver hands them over.
#pragma once

#include "tlosses/abi.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tl::host::testing {

// A fresh directory under the system's temp directory, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Records as the driver builds them: names and string values in Windows-1251, kept until Release.
class FakeRecords : public TlRecords {
public:
    using Field = std::pair<std::string, TlVariant>;

    FakeRecords();
    // Names and string values are given in UTF-8 and stored in Windows-1251.
    void Add(const std::vector<Field>& fields);

    int ReleaseCount() const { return releases_; }

private:
    static int32_t Count(const TlRecords* self);
    static int32_t FieldCount(const TlRecords* self, int32_t record);
    static const char* FieldName(const TlRecords* self, int32_t record, int32_t field);
    static TlVariant Value(const TlRecords* self, int32_t record, int32_t field);
    static void Release(TlRecords* self);
    static const TlRecordsVtbl kVtbl;

    struct Record {
        std::vector<std::string> names;
        std::vector<std::string> texts;
        std::vector<TlVariant> values;
    };
    std::vector<Record> records_;
    std::atomic<int> releases_{0};
};

inline TlVariant Int32(int32_t x) {
    return {TL_VT_INT32, {.i32 = x}};
}
inline TlVariant Int64(int64_t x) {
    return {TL_VT_INT64, {.i64 = x}};
}
inline TlVariant Double(double x) {
    return {TL_VT_DOUBLE, {.f64 = x}};
}
inline TlVariant DateTime(double x) {
    return {TL_VT_DATETIME, {.date_time = x}};
}
inline TlVariant Bool(bool x) {
    return {TL_VT_BOOL, {.boolean = x ? 1 : 0}};
}
// Not owned: the text must outlive the variant.
inline TlVariant String(const char* x) {
    return {TL_VT_STRING, {.str = x}};
}
inline TlVariant Null() {
    return {TL_VT_NULL, {}};
}
// A double whose eight bytes are those of the status word.
TlVariant StatusCarrier(int64_t word);

} // namespace tl::host::testing
