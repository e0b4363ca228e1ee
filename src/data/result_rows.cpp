#include "tldata/result_rows.hpp"

#include <string>
#include <vector>

namespace tl {
namespace {

TDBRecords::NameSetId InternResultNames(TDBRecords& records) {
    const std::vector<std::string> names(kResultFieldNames.begin(), kResultFieldNames.end());
    return records.InternNames(names);
}

} // namespace

ResultRowWriter::ResultRowWriter(TDBRecords& records)
    : records_(records), names_(InternResultNames(records)) {}

void ResultRowWriter::Add(const ResultRow& row) {
    const std::array<Variant, kResultFieldNames.size()> values = {
        Variant::Int32(row.par_number),   Variant::DateTime(row.data_date),
        Variant::Int32(row.object),       Variant::Int32(row.item),
        Variant::Int32(row.type),         Variant::Double(row.value0),
        Variant::Double(row.value1),      Variant::Double(StatusWordAsDouble(row.status)),
        Variant::DateTime(row.rcv_stamp),
    };
    records_.Add(names_, values);
}

} // namespace tl
