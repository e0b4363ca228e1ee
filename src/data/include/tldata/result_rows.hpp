// The rows a calculation stores in the metering `data` table, added to the pass's TDBRecords in
// their compact form (the nine fields of ResultRow, read back through the records' interface).
#pragma once

#include "tldata/db_records.hpp"
#include "tldata/result_row.hpp"

namespace tl {

class ResultRowWriter {
public:
    explicit ResultRowWriter(TDBRecords& records) : records_(records) {}

    // Appends the row; it reads back with integers as 32-bit integers, stamps as date-times, values
    // and the status word as doubles.
    void Add(const ResultRow& row) { records_.AddResultRow(row); }

private:
    TDBRecords& records_;
};

} // namespace tl
