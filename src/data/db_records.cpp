#include "tldata/db_records.hpp"

#include "tldata/case_fold.hpp"

#include <stdexcept>
#include <vector>

namespace tl {
namespace {

bool NeedsCut(std::span<const std::string> names) {
    for (const std::string& name : names) {
        if (name.size() > TDBRecords::kMaxNameLength) { // bytes >= characters
            return true;
        }
    }
    return false;
}

} // namespace

TDBRecords::NameSetId TDBRecords::InternNames(std::span<const std::string> names) {
    if (!NeedsCut(names)) {
        return FindOrAddNameSet(names, false);
    }
    std::vector<std::string> cut;
    cut.reserve(names.size());
    for (const std::string& name : names) {
        cut.emplace_back(CutToChars(name, kMaxNameLength));
    }
    return FindOrAddNameSet(cut, false);
}

bool TDBRecords::Add(std::span<const std::string> names, std::span<const Variant> values) {
    if (names.size() != values.size()) {
        return false;
    }
    AppendRecord(InternNames(names), values);
    return true;
}

void TDBRecords::Add(NameSetId names, std::span<const Variant> values) {
    if (NameSet(names).size() != values.size()) {
        throw std::invalid_argument("record values do not match its field names");
    }
    AppendRecord(names, values);
}

RecordView TDBRecords::Get(int32_t index) const {
    if (index < 0 || index >= Count()) {
        throw std::out_of_range("record index out of range");
    }
    return RecordView(*this, index);
}

} // namespace tl
