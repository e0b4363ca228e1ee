#include "insert_arguments.hpp"

#include "tlplatform/db_connection.hpp"

#include <fmt/format.h>

namespace tl::db {

void CheckOneRow(std::string_view table, std::span<const std::string_view> names,
                 std::span<const TlVariant> values) {
    if (names.size() != values.size()) {
        throw Error(fmt::format("{} column names but {} values for {}", names.size(), values.size(), table));
    }
    if (names.empty()) {
        throw Error(fmt::format("no columns to write into {}", table));
    }
}

void CheckWholeRows(std::string_view table, std::span<const std::string_view> names,
                    std::span<const TlVariant> values) {
    if (names.empty() || values.size() % names.size() != 0) {
        throw Error(fmt::format("{} values are no whole rows of {} columns for {}", values.size(),
                                names.size(), table));
    }
}

} // namespace tl::db
