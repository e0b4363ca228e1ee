#include "tldialogs/reference_tables.hpp"

#include "line_trim.hpp"

#include <cstdlib>

namespace tl::dialogs {
namespace {

std::vector<std::string> Cells(std::string_view line) {
    std::vector<std::string> cells;
    size_t start = 0;
    while (true) {
        const size_t end = line.find(';', start);
        cells.emplace_back(TrimLine(line.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos) {
            return cells;
        }
        start = end + 1;
    }
}

} // namespace

std::string_view ReferenceTableCaption(ReferenceTableId id) {
    switch (id) {
    case ReferenceTableId::kCorona:
        return "Удельные годовые потери электроэнергии на корону";
    case ReferenceTableId::kInsulators:
        return "Удельные годовые потери от токов утечки по изоляторам";
    case ReferenceTableId::kRegions:
        break;
    }
    return "Распределение территориальных образований РФ по регионам";
}

std::string_view ReferenceTableFile(ReferenceTableId id) {
    switch (id) {
    case ReferenceTableId::kCorona:
        return "corona.csv";
    case ReferenceTableId::kInsulators:
        return "insulators.csv";
    case ReferenceTableId::kRegions:
        break;
    }
    return "regions.csv";
}

ReferenceTable ParseReferenceTable(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    ReferenceTable table;
    bool header_done = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = TrimLine(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!header_done && line.starts_with('#')) {
            const std::string_view entry = TrimLine(line.substr(1));
            for (const auto& [key, target] : {std::pair{std::string_view("source:"), &table.source},
                                              std::pair{std::string_view("title:"), &table.title}}) {
                if (entry.starts_with(key)) {
                    *target = TrimLine(entry.substr(key.size()));
                }
            }
            continue;
        }
        if (line.empty()) {
            continue;
        }
        header_done = true;
        if (table.columns.empty()) {
            table.columns = Cells(line);
        } else {
            table.rows.push_back(Cells(line));
        }
    }
    if (table.source.empty()) {
        throw ReferenceTableError("в файле нет строки \"# source: ...\", называющей источник таблицы");
    }
    if (table.columns.empty()) {
        throw ReferenceTableError("в файле нет строки с заголовками столбцов");
    }
    return table;
}

std::vector<std::filesystem::path> ReferenceDirectories(const std::filesystem::path& library_directory) {
    std::vector<std::filesystem::path> directories;
    if (const char* configured = std::getenv("TLOSSES_REFERENCE_DIR");
        configured != nullptr && *configured != '\0') {
        directories.emplace_back(configured);
    }
    if (!library_directory.empty()) {
        directories.push_back(library_directory / "reference");
    }
    directories.emplace_back("/usr/local/share/tlosses/reference");
    directories.emplace_back("/usr/share/tlosses/reference");
    return directories;
}

std::optional<std::filesystem::path>
FindReferenceTable(ReferenceTableId id, const std::vector<std::filesystem::path>& directories) {
    for (const std::filesystem::path& directory : directories) {
        std::error_code ec;
        const std::filesystem::path file = directory / ReferenceTableFile(id);
        if (std::filesystem::is_regular_file(file, ec)) {
            return file;
        }
    }
    return std::nullopt;
}

} // namespace tl::dialogs
