// The shape checks of InsertOrReplace and InsertOrReplaceRows, alike for every backend.
#pragma once

#include "tlosses/abi.h"

#include <span>
#include <string_view>

namespace tl::db {

// Throws Error unless `values` is one row of the named columns.
void CheckOneRow(std::string_view table, std::span<const std::string_view> names,
                 std::span<const TlVariant> values);

// Throws Error unless `values` is whole rows (none included) of the named columns.
void CheckWholeRows(std::string_view table, std::span<const std::string_view> names,
                    std::span<const TlVariant> values);

} // namespace tl::db
