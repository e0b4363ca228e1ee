// The reference tables that the coefficient dialog's help buttons show (corona losses, insulator
// leakage losses, regions). Their figures are not ours to invent: the operator installs each table
// as a CSV file whose header names its source, and a window without its file says where to put it.
//
// File format (UTF-8): lines beginning with "#" first, "# source: ..." required ("# title: ..."
// optional); then the column captions; then the rows; cells separated by ";".
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tl::dialogs {

enum class ReferenceTableId { kCorona, kInsulators, kRegions };

// "Удельные годовые потери электроэнергии на корону" and so on.
std::string_view ReferenceTableCaption(ReferenceTableId id);
// "corona.csv", "insulators.csv", "regions.csv".
std::string_view ReferenceTableFile(ReferenceTableId id);

struct ReferenceTable {
    std::string source;
    std::string title;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

class ReferenceTableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws ReferenceTableError saying what is wrong (no source, no columns).
ReferenceTable ParseReferenceTable(std::string_view text);

// Where the tables are looked for, in order: $TLOSSES_REFERENCE_DIR when set, then "reference"
// beside `library_directory` (the dialogs library), then /usr/local/share/tlosses/reference and
// /usr/share/tlosses/reference.
std::vector<std::filesystem::path> ReferenceDirectories(const std::filesystem::path& library_directory);
// The first directory that holds the table's file.
std::optional<std::filesystem::path>
FindReferenceTable(ReferenceTableId id, const std::vector<std::filesystem::path>& directories);

} // namespace tl::dialogs
