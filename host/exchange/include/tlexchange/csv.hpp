// Comma-separated text as spreadsheets write it: fields separated by "," (or ";", as spreadsheets
// with a decimal comma write it), quoted with '"' when they hold the separator, a quote or a line
// break, a doubled quote standing for one.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tl::exchange {

struct CsvRecord {
    int line = 0; // of its first character, from 1
    std::vector<std::string> fields;
};

class CsvError : public std::runtime_error {
public:
    CsvError(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
    int Line() const { return line_; }

private:
    int line_;
};

// ";" when the first line holds one outside quotes, else ",".
char DetectSeparator(std::string_view text);

// Every record of the text; a UTF-8 byte order mark in front is passed over, blank lines are
// skipped, CR LF and LF both end a record. Throws CsvError for a quote left open or text after a
// closing quote.
std::vector<CsvRecord> ReadCsv(std::string_view text, char separator);

// The field as written into a record: quoted when it must be.
std::string CsvField(std::string_view value, char separator = ',');

} // namespace tl::exchange
