// TDBRecordsEx: the compact record list whose records share their field-name sets. Names match a
// set without regard to letter case and position by position; the first matching set is shared.
#pragma once

#include "tldata/record_store.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tl {

class TDBRecordsEx : public RecordStore {
public:
    static constexpr size_t kMaxNameLength = 255;

    TDBRecordsEx() = default;

    // Appends a record on the matching name set (added when none matches) with a copy of each
    // value; returns its index. The numbers of names and values are not compared.
    int32_t AddRecord(std::span<const std::string> names, std::span<const Variant> values);

    // Fills the outputs from the record: the names of its set, each cut to 255 characters, and a
    // copy of its values.
    void GetRecord(int32_t index, std::vector<std::string>& names, std::vector<Variant>& values) const;

    // The record's own values, also those beyond its set's names.
    int32_t ValueCount(int32_t index) const;
};

} // namespace tl
