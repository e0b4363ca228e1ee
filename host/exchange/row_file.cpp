#include "tlexchange/row_file.hpp"

#include "tlcommon/iso_date_time.hpp"
#include "tlexchange/csv.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fmt/format.h>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>

namespace tl::exchange {
namespace {

// A file with thousands of bad lines is reported by its first faults.
constexpr size_t kFaultsShown = 20;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

const ColumnSpec* FindColumn(const RowFormat& format, std::string_view name) {
    const std::string lower = Lower(Trim(name));
    for (const ColumnSpec& column : format.columns) {
        if (lower == column.name || (!column.alias.empty() && lower == column.alias)) {
            return &column;
        }
    }
    return nullptr;
}

std::string ColumnNames(const RowFormat& format, size_t count) {
    std::string names;
    for (size_t i = 0; i < count; ++i) {
        names += (i == 0 ? "" : ", ") + std::string(format.columns[i].name);
    }
    return names;
}

// The whole text as one number (a whole number in `base`, or a decimal real), or nothing.
template <typename Number, typename... Base>
std::optional<Number> ParseNumber(std::string_view text, Base... base) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base...);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The value of one field, or why it is none. An empty text is the column's default.
struct Converted {
    TlVariant value{};
    std::string fault;
};

Converted Convert(const ColumnSpec& column, std::string_view text, bool decimal_comma) {
    Converted result;
    text = Trim(text);
    if (text.empty()) {
        switch (column.missing) {
        case WhenMissing::kRequired:
            result.fault = "a value is required";
            break;
        case WhenMissing::kZero:
            result.value = column.kind == ColumnKind::kReal ? TlVariant{TL_VT_DOUBLE, {.f64 = 0}}
                                                            : TlVariant{TL_VT_INT64, {.i64 = 0}};
            break;
        case WhenMissing::kNull:
            result.value = TlVariant{TL_VT_NULL, {}};
            break;
        }
        return result;
    }
    switch (column.kind) {
    case ColumnKind::kInteger:
        if (const auto n = ParseNumber<int32_t>(text.starts_with('+') ? text.substr(1) : text)) {
            result.value = TlVariant{TL_VT_INT32, {.i32 = *n}};
        } else {
            result.fault = fmt::format("\"{}\" is not a whole number", text);
        }
        break;
    case ColumnKind::kStatusWord: {
        const bool hex = text.starts_with("0x") || text.starts_with("0X");
        if (const auto n = ParseNumber<uint64_t>(hex ? text.substr(2) : text, hex ? 16 : 10)) {
            result.value = TlVariant{TL_VT_INT64, {.i64 = static_cast<int64_t>(*n)}};
        } else {
            result.fault =
                fmt::format("\"{}\" is not a status word (decimal, or hexadecimal after 0x)", text);
        }
        break;
    }
    case ColumnKind::kReal: {
        std::string number(text.starts_with('+') ? text.substr(1) : text);
        if (decimal_comma) {
            std::replace(number.begin(), number.end(), ',', '.');
        }
        const auto n = ParseNumber<double>(number);
        if (n && std::isfinite(*n)) {
            result.value = TlVariant{TL_VT_DOUBLE, {.f64 = *n}};
        } else {
            result.fault = fmt::format("\"{}\" is not a number", text);
        }
        break;
    }
    case ColumnKind::kDateTime:
        if (const auto date = ParseIsoDateTime(text)) {
            result.value = TlVariant{TL_VT_DATETIME, {.date_time = *date}};
        } else {
            result.fault = fmt::format("\"{}\" is not a date-time yyyy-mm-dd hh:nn[:ss[.zzz]]", text);
        }
        break;
    }
    return result;
}

// Collects the faults and the rows; a row with a fault is not kept.
class TableBuilder {
public:
    explicit TableBuilder(const RowFormat& format) : format_(format) {
        for (const ColumnSpec& column : format.columns) {
            table_.db_columns.push_back(column.db_column);
        }
        row_.resize(format.columns.size());
    }

    // `fields[i]` is the text of column i of the format; null: the file has no such column.
    void AddRow(std::span<const std::optional<std::string_view>> fields, std::string_view place,
                bool decimal_comma) {
        bool good = true;
        for (size_t i = 0; i < format_.columns.size(); ++i) {
            const Converted c = Convert(format_.columns[i], fields[i].value_or(""), decimal_comma);
            if (!c.fault.empty()) {
                Fault(fmt::format("{}: {}: {}", place, format_.columns[i].name, c.fault));
                good = false;
            }
            row_[i] = c.value;
        }
        if (good) {
            table_.values.insert(table_.values.end(), row_.begin(), row_.end());
            ++table_.rows;
        }
    }

    void Fault(std::string text) { faults_.push_back(std::move(text)); }

    RowTable Finish() {
        if (!faults_.empty()) {
            throw RowFileError(std::move(faults_));
        }
        return std::move(table_);
    }

private:
    const RowFormat& format_;
    RowTable table_;
    std::vector<TlVariant> row_;
    std::vector<std::string> faults_;
};

std::string FaultList(const std::vector<std::string>& faults) {
    std::string text;
    for (size_t i = 0; i < faults.size() && i < kFaultsShown; ++i) {
        text += (i == 0 ? "" : "\n") + faults[i];
    }
    if (faults.size() > kFaultsShown) {
        text += fmt::format("\n... and {} more", faults.size() - kFaultsShown);
    }
    return text;
}

} // namespace

RowFileError::RowFileError(std::vector<std::string> faults)
    : std::runtime_error(FaultList(faults)), faults_(std::move(faults)) {}

RowTable ReadCsvRows(std::string_view text, const RowFormat& format, std::string_view file_name) {
    const char separator = DetectSeparator(text);
    std::vector<CsvRecord> records;
    try {
        records = ReadCsv(text, separator);
    } catch (const CsvError& e) {
        throw RowFileError({fmt::format("{}:{}: {}", file_name, e.Line(), e.what())});
    }
    TableBuilder builder(format);
    // Which column of the format each field of a record holds.
    std::vector<const ColumnSpec*> layout;
    size_t first = 0;
    if (!records.empty() && FindColumn(format, records[0].fields[0]) != nullptr) {
        for (const std::string& name : records[0].fields) {
            const ColumnSpec* column = FindColumn(format, name);
            if (column == nullptr) {
                builder.Fault(fmt::format("{}:{}: unknown column \"{}\"; the columns are {}", file_name,
                                          records[0].line, name, ColumnNames(format, format.columns.size())));
            } else if (std::find(layout.begin(), layout.end(), column) != layout.end()) {
                builder.Fault(fmt::format("{}:{}: the column {} is named twice", file_name, records[0].line,
                                          column->name));
            }
            layout.push_back(column);
        }
        for (const ColumnSpec& column : format.columns) {
            if (column.missing == WhenMissing::kRequired &&
                std::find(layout.begin(), layout.end(), &column) == layout.end()) {
                builder.Fault(fmt::format("{}:{}: the header has no column {}", file_name, records[0].line,
                                          column.name));
            }
        }
        first = 1;
    } else {
        for (size_t i = 0; i < format.headerless_columns; ++i) {
            layout.push_back(&format.columns[i]);
        }
    }
    std::vector<std::optional<std::string_view>> fields(format.columns.size());
    for (size_t r = first; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        const std::string place = fmt::format("{}:{}", file_name, record.line);
        if (record.fields.size() != layout.size()) {
            builder.Fault(fmt::format("{}: {} fields, expected {} ({})", place, record.fields.size(),
                                      layout.size(),
                                      first == 1 ? "as in the header" : ColumnNames(format, layout.size())));
            continue;
        }
        std::fill(fields.begin(), fields.end(), std::nullopt);
        for (size_t f = 0; f < layout.size(); ++f) {
            if (layout[f] != nullptr) {
                fields[static_cast<size_t>(layout[f] - format.columns.data())] = record.fields[f];
            }
        }
        builder.AddRow(fields, place, separator == ';');
    }
    return builder.Finish();
}

RowTable ReadJsonRows(std::string_view text, const RowFormat& format, std::string_view file_name) {
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        throw RowFileError({fmt::format("{}: not JSON: {}", file_name, e.what())});
    }
    if (!document.is_array()) {
        throw RowFileError({fmt::format("{}: expected an array of {} objects", file_name, format.what)});
    }
    TableBuilder builder(format);
    std::vector<std::string> texts(format.columns.size());
    std::vector<std::optional<std::string_view>> fields(format.columns.size());
    for (size_t r = 0; r < document.size(); ++r) {
        const nlohmann::json& row = document[r];
        const std::string place = fmt::format("{}[{}]", file_name, r);
        if (!row.is_object()) {
            builder.Fault(fmt::format("{}: expected an object", place));
            continue;
        }
        std::fill(fields.begin(), fields.end(), std::nullopt);
        bool good = true;
        for (const auto& [name, value] : row.items()) {
            const ColumnSpec* column = FindColumn(format, name);
            if (column == nullptr) {
                builder.Fault(fmt::format("{}: unknown key \"{}\"", place, name));
                good = false;
                continue;
            }
            const size_t i = static_cast<size_t>(column - format.columns.data());
            const bool text_wanted = column->kind == ColumnKind::kDateTime;
            if (value.is_null()) {
                texts[i].clear();
            } else if (value.is_string() && (text_wanted || column->kind == ColumnKind::kStatusWord)) {
                texts[i] = value.get<std::string>();
            } else if (value.is_number() && !text_wanted) {
                texts[i] = value.is_number_float() ? fmt::format("{}", value.get<double>()) : value.dump();
            } else {
                builder.Fault(fmt::format("{}: {}: expected {}", place, column->name,
                                          text_wanted ? "a string" : "a number"));
                good = false;
                continue;
            }
            fields[i] = texts[i];
        }
        if (good) {
            builder.AddRow(fields, place, false);
        }
    }
    return builder.Finish();
}

} // namespace tl::exchange
