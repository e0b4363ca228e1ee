#include "tlexchange/csv.hpp"

namespace tl::exchange {

char DetectSeparator(std::string_view text) {
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        } else if (!quoted && c == ';') {
            return ';';
        }
    }
    return ',';
}

std::vector<CsvRecord> ReadCsv(std::string_view text, char separator) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::vector<CsvRecord> records;
    CsvRecord record;
    std::string field;
    int line = 1;
    bool quoted = false;      // inside a quoted field
    bool was_quoted = false;  // the field began with a quote that has closed
    bool record_open = false; // something of the current record was read
    const auto end_field = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        was_quoted = false;
    };
    const auto end_record = [&] {
        if (record_open) {
            end_field();
            // A line holding nothing at all is blank, not a record of one empty field.
            if (record.fields.size() > 1 || !record.fields[0].empty()) {
                records.push_back(std::move(record));
            }
        }
        record = CsvRecord{};
        record_open = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!record_open) {
            record.line = line;
            record_open = true;
        }
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
                was_quoted = true;
            } else {
                line += c == '\n';
                field += c;
            }
            continue;
        }
        if (c == separator) {
            end_field();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            end_record();
            ++line;
        } else if (was_quoted) {
            throw CsvError(line, "text after the closing quote of a field");
        } else if (c == '"' && field.empty()) {
            quoted = true;
        } else {
            field += c;
        }
    }
    if (quoted) {
        throw CsvError(record.line, "a quoted field is not closed");
    }
    end_record();
    return records;
}

std::string CsvField(std::string_view value, char separator) {
    if (value.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string_view::npos) {
        return std::string(value);
    }
    std::string quoted = "\"";
    for (const char c : value) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

} // namespace tl::exchange
