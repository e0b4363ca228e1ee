#include "tldata/db_records_ex.hpp"

#include "tldata/case_fold.hpp"

namespace tl {

int32_t TDBRecordsEx::AddRecord(std::span<const std::string> names, std::span<const Variant> values) {
    AppendRecord(FindOrAddNameSet(names, true), values);
    return Count() - 1;
}

void TDBRecordsEx::GetRecord(int32_t index, std::vector<std::string>& names,
                             std::vector<Variant>& values) const {
    const std::vector<std::string>& set = NameSet(NameSetOf(index));
    names.clear();
    names.reserve(set.size());
    for (const std::string& name : set) {
        names.emplace_back(CutToChars(name, kMaxNameLength));
    }
    const int32_t count = StoredValueCount(index);
    values.clear();
    values.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        values.push_back(StoredValue(index, i));
    }
}

int32_t TDBRecordsEx::ValueCount(int32_t index) const {
    return StoredValueCount(index);
}

} // namespace tl
