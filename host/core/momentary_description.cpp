#include "momentary_description.hpp"

#include <cctype>

namespace tl::host {
namespace {

// Letters compared without case and runs of blanks as one, so a reworded spacing still matches.
std::string Normalized(std::string_view text) {
    std::string out;
    bool blank = false;
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            blank = !out.empty();
            continue;
        }
        if (blank) {
            out.push_back(' ');
            blank = false;
        }
        out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return out;
}

} // namespace

bool IsMomentaryDescriptionQuery(std::string_view sql) {
    constexpr std::string_view kQuery = "select * from parameters where parnumber = 1100";
    // The data queries run to hundreds of kilobytes: they are told apart by their length alone.
    return sql.size() <= 4 * kQuery.size() && Normalized(sql) == kQuery;
}

std::string MomentaryDescriptionProblem(tl::db::ResultSet& answer) {
    constexpr std::string_view kWhat =
        "the description of parameter 1100 (momentary values) cannot be read: ";
    const int32_t kind = answer.FieldIndex("discrettype");
    const int32_t value = answer.FieldIndex("discretvalue");
    if (kind < 0 || value < 0) {
        return std::string(kWhat) + "table parameters has no column discrettype or discretvalue";
    }
    answer.First();
    if (answer.Eof()) {
        return std::string(kWhat) + "table parameters has no row with parnumber 1100";
    }
    if (answer.IsNull(kind) || answer.IsNull(value)) {
        return std::string(kWhat) + "its discrettype or discretvalue is empty";
    }
    return {};
}

} // namespace tl::host
