#include "pg_result_reader.hpp"

#include "pg_wire.hpp"
#include "tlcommon/date_time.hpp"
#include "value_conversion.hpp"

#include <cmath>
#include <fmt/format.h>
#include <libpq-fe.h>

namespace tl::db::pg {
namespace {

enum class Decoder { Bool, Int2, Int4, Int8, Oid, Float4, Float8, Text, Numeric, Date, Timestamp };

// Days from 30.12.1899 to 01.01.2000, the epoch of PostgreSQL's dates and timestamps.
constexpr int64_t kServerEpochDays = 36'526;
constexpr int64_t kMicrosPerMs = 1'000;

Decoder DecoderFor(const pg_result* result, int column) {
    const Oid type = PQftype(result, column);
    switch (type) {
    case kBoolOid:
        return Decoder::Bool;
    case kInt2Oid:
        return Decoder::Int2;
    case kInt4Oid:
        return Decoder::Int4;
    case kInt8Oid:
        return Decoder::Int8;
    case kOidOid:
        return Decoder::Oid;
    case kFloat4Oid:
        return Decoder::Float4;
    case kFloat8Oid:
        return Decoder::Float8;
    case kTextOid:
    case kVarcharOid:
    case kBpcharOid:
    case kNameOid:
    case kUnknownOid:
    case kJsonOid:
        return Decoder::Text;
    case kNumericOid:
        return Decoder::Numeric;
    case kDateOid:
        return Decoder::Date;
    case kTimestampOid:
        return Decoder::Timestamp;
    default:
        throw Error(fmt::format("the result column \"{}\" has a type (oid {}) this library does not read; "
                                "cast it to text in the query",
                                PQfname(result, column), type));
    }
}

// A numeric's base-10000 digits as decimal text ("-12.50"; "NaN", "Infinity" as the server
// writes them).
void NumericText(const char* p, int length, std::string& out) {
    out.clear();
    if (length < 8) {
        throw Error("a numeric value arrived malformed");
    }
    const int digits = GetInt16(p);
    const int weight = GetInt16(p + 2);
    const auto sign = static_cast<uint16_t>(GetInt16(p + 4));
    const int scale = GetInt16(p + 6);
    if (length < 8 + 2 * digits || digits < 0 || scale < 0) {
        throw Error("a numeric value arrived malformed");
    }
    switch (sign) {
    case 0xC000:
        out = "NaN";
        return;
    case 0xD000:
        out = "Infinity";
        return;
    case 0xF000:
        out = "-Infinity";
        return;
    case 0x4000:
        out += '-';
        break;
    default:
        break;
    }
    const auto digit = [&](int index) {
        return index >= 0 && index < digits ? GetInt16(p + 8 + 2 * index) : 0;
    };
    // Digit i stands for 10000^(weight - i).
    if (weight < 0) {
        out += '0';
    } else {
        fmt::format_to(std::back_inserter(out), "{}", digit(0));
        for (int i = 1; i <= weight; ++i) {
            fmt::format_to(std::back_inserter(out), "{:04}", digit(i));
        }
    }
    if (scale > 0) {
        out += '.';
        std::string fraction;
        for (int i = weight + 1; static_cast<int>(fraction.size()) < scale; ++i) {
            fmt::format_to(std::back_inserter(fraction), "{:04}", digit(i));
        }
        out.append(fraction, 0, static_cast<size_t>(scale));
    }
}

void TimestampText(int64_t micros, bool with_time, std::string& out) {
    const int64_t ms = micros >= 0 ? micros / kMicrosPerMs : -((-micros + kMicrosPerMs - 1) / kMicrosPerMs);
    const DateTimeParts p = DecodeDateTime(FromMillis(kServerEpochDays * kMsPerDay + ms));
    out = with_time ? fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}.{:03}", p.year, p.month, p.day, p.hour,
                                  p.minute, p.second, p.millisecond)
                    : fmt::format("{:04}-{:02}-{:02}", p.year, p.month, p.day);
}

void AddDecoded(Decoder decoder, const char* p, int length, int column, MemoryResultSet& set,
                std::string& scratch) {
    switch (decoder) {
    case Decoder::Bool:
        set.AddInteger(column, p[0] != 0 ? 1 : 0);
        break;
    case Decoder::Int2:
        set.AddInteger(column, GetInt16(p));
        break;
    case Decoder::Int4:
        set.AddInteger(column, GetInt32(p));
        break;
    case Decoder::Int8:
        set.AddInteger(column, GetInt64(p));
        break;
    case Decoder::Oid:
        set.AddInteger(column, static_cast<uint32_t>(GetInt32(p)));
        break;
    case Decoder::Float4:
        set.AddReal(column, GetFloat4(p));
        break;
    case Decoder::Float8:
        set.AddReal(column, GetFloat8(p));
        break;
    case Decoder::Text:
        set.AddText(column, std::string_view(p, static_cast<size_t>(length)));
        break;
    case Decoder::Numeric:
        NumericText(p, length, scratch);
        if (const auto whole = ParseInteger(scratch)) {
            set.AddInteger(column, *whole);
        } else if (const auto real = ParseNumber(scratch)) {
            set.AddReal(column, *real);
        } else {
            set.AddText(column, scratch);
        }
        break;
    case Decoder::Date:
        TimestampText(int64_t{GetInt32(p)} * kMsPerDay * kMicrosPerMs, false, scratch);
        set.AddText(column, scratch);
        break;
    case Decoder::Timestamp:
        TimestampText(GetInt64(p), true, scratch);
        set.AddText(column, scratch);
        break;
    }
}

// The byte length each fixed-size decoder needs.
int FixedLength(Decoder decoder) {
    switch (decoder) {
    case Decoder::Bool:
        return 1;
    case Decoder::Int2:
        return 2;
    case Decoder::Int4:
    case Decoder::Oid:
    case Decoder::Float4:
    case Decoder::Date:
        return 4;
    case Decoder::Int8:
    case Decoder::Float8:
    case Decoder::Timestamp:
        return 8;
    case Decoder::Text:
    case Decoder::Numeric:
        break;
    }
    return -1;
}

} // namespace

std::vector<std::string> ColumnNames(const pg_result* result) {
    const int columns = PQnfields(result);
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        names.emplace_back(PQfname(result, c));
    }
    return names;
}

void AppendRows(const pg_result* result, MemoryResultSet& set) {
    const int columns = PQnfields(result);
    if (columns != set.ColumnCount()) {
        throw Error("a result arrived with another number of columns");
    }
    std::vector<Decoder> decoders;
    std::vector<int> lengths;
    decoders.reserve(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        if (PQfformat(result, c) != 1) {
            throw Error("a result arrived in text form where binary was asked for");
        }
        decoders.push_back(DecoderFor(result, c));
        lengths.push_back(FixedLength(decoders.back()));
    }
    std::string scratch;
    const int rows = PQntuples(result);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(result, r, c) != 0) {
                set.AddNull(c);
                continue;
            }
            const int length = PQgetlength(result, r, c);
            const int fixed = lengths[static_cast<size_t>(c)];
            if (fixed >= 0 && length != fixed) {
                throw Error(fmt::format("the value of column \"{}\" arrived with {} bytes instead of {}",
                                        PQfname(result, c), length, fixed));
            }
            AddDecoded(decoders[static_cast<size_t>(c)], PQgetvalue(result, r, c), length, c, set, scratch);
        }
        set.FinishRow();
    }
}

} // namespace tl::db::pg
