// Rows of a database table read from a CSV or JSON file and checked as a whole before anything is
// written: the columns a file may hold, their conversions, and every fault with its place.
#pragma once

#include "tlosses/abi.h"

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tl::exchange {

enum class ColumnKind {
    kInteger,    // 32-bit, decimal
    kStatusWord, // 64-bit, decimal or 0x hexadecimal
    kReal,       // "." as decimal separator (also "," in a ";"-separated file)
    kDateTime,   // "yyyy-mm-dd hh:nn[:ss[.zzz]]", local time
};

enum class WhenMissing { kRequired, kZero, kNull };

struct ColumnSpec {
    std::string_view name;  // in headers, JSON objects and messages
    std::string_view alias; // another name accepted for it ("" none)
    std::string_view db_column;
    ColumnKind kind;
    WhenMissing missing;
};

struct RowFormat {
    std::string_view what; // "metering row", "event"
    std::span<const ColumnSpec> columns;
    // A CSV file without a header line holds the first `headerless_columns` columns in order.
    size_t headerless_columns;
};

// Every row with a value for every column of the format, in the format's column order.
struct RowTable {
    std::vector<std::string_view> db_columns;
    std::vector<TlVariant> values; // db_columns.size() per row
    size_t rows = 0;

    std::span<const TlVariant> Row(size_t index) const {
        return std::span<const TlVariant>(values).subspan(index * db_columns.size(), db_columns.size());
    }
};

// The faults of a file, each with its place ("data.csv:12: date: ..."); the message lists the
// first of them.
class RowFileError : public std::runtime_error {
public:
    explicit RowFileError(std::vector<std::string> faults);
    const std::vector<std::string>& Faults() const { return faults_; }

private:
    std::vector<std::string> faults_;
};

// A header line is recognised by a first field that names a column; without one the columns are
// the headerless ones in order.
RowTable ReadCsvRows(std::string_view text, const RowFormat& format, std::string_view file_name);
// An array of objects with the column names as keys; dates as strings, numbers as numbers (a
// status word may also be a string such as "0x40000").
RowTable ReadJsonRows(std::string_view text, const RowFormat& format, std::string_view file_name);

} // namespace tl::exchange
