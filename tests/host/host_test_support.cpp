#include "host_test_support.hpp"

#include "tlcommon/text_codec.hpp"

#include <cstring>
#include <random>
#include <unistd.h>

namespace tl::host::testing {

ScratchDir::ScratchDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("tlhost-test-" + std::to_string(getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

const TlRecordsVtbl FakeRecords::kVtbl = {&FakeRecords::Count, &FakeRecords::FieldCount,
                                          &FakeRecords::FieldName, &FakeRecords::Value,
                                          &FakeRecords::Release};

FakeRecords::FakeRecords() : TlRecords{&kVtbl} {}

void FakeRecords::Add(const std::vector<Field>& fields) {
    Record record;
    record.texts.resize(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
        record.names.push_back(Utf8ToCp1251(fields[i].first));
        TlVariant value = fields[i].second;
        if (value.kind == TL_VT_STRING) {
            record.texts[i] = Utf8ToCp1251(value.v.str);
        }
        record.values.push_back(value);
    }
    records_.push_back(std::move(record));
}

int32_t FakeRecords::Count(const TlRecords* self) {
    return static_cast<int32_t>(static_cast<const FakeRecords*>(self)->records_.size());
}

int32_t FakeRecords::FieldCount(const TlRecords* self, int32_t record) {
    return static_cast<int32_t>(static_cast<const FakeRecords*>(self)->records_.at(record).names.size());
}

const char* FakeRecords::FieldName(const TlRecords* self, int32_t record, int32_t field) {
    return static_cast<const FakeRecords*>(self)->records_.at(record).names.at(field).c_str();
}

TlVariant FakeRecords::Value(const TlRecords* self, int32_t record, int32_t field) {
    const Record& r = static_cast<const FakeRecords*>(self)->records_.at(record);
    TlVariant value = r.values.at(field);
    if (value.kind == TL_VT_STRING) {
        value.v.str = r.texts.at(field).c_str();
    }
    return value;
}

void FakeRecords::Release(TlRecords* self) {
    ++static_cast<FakeRecords*>(self)->releases_;
}

TlVariant StatusCarrier(int64_t word) {
    double carrier = 0;
    std::memcpy(&carrier, &word, sizeof(carrier));
    return Double(carrier);
}

} // namespace tl::host::testing
