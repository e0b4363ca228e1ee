// TDBRecords: a list of records of named variant fields, handed to the host for writing. Each
// record has as many names as values; names longer than 255 characters keep their first 255.
#pragma once

#include "tldata/record_store.hpp"

#include <cstdint>
#include <span>
#include <string>

namespace tl {

class TDBRecords : public RecordStore {
public:
    using NameSetId = int32_t;
    static constexpr size_t kMaxNameLength = 255;

    TDBRecords() = default;

    // Adds one record with copies of the names and values; nothing is added (false) when the two
    // lists differ in length.
    bool Add(std::span<const std::string> names, std::span<const Variant> values);

    // For rows of one fixed shape: intern the names once, then add values only.
    NameSetId InternNames(std::span<const std::string> names);
    // Throws std::invalid_argument when the values do not match the set's names in number.
    void Add(NameSetId names, std::span<const Variant> values);

    RecordView Get(int32_t index) const;
};

} // namespace tl
