// What the element grid of the settings dialog shows: the columns of each method and the cell
// texts of a row.
#pragma once

#include "tldialogs/element_catalogue.hpp"
#include "tlsettings/task_settings_model.hpp"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tl::dialogs {

struct GridColumn {
    int band; // 1 line, 2 transformer, 3 state (method 1); 1 for the formula
    std::string_view key;
    std::string_view caption;
    int width;
    // "coltxttlItems" followed by the key.
    std::string Identifier() const { return "coltxttlItems" + std::string(key); }
};

// The columns after "Объект" (and, for method index 0, "Тип потерь").
std::span<const GridColumn> MethodColumns(int method);

struct RowCells {
    std::string object;
    std::string loss_type;           // method index 0 only
    std::vector<std::string> values; // one per MethodColumns
    std::array<bool, 3> band_on{};   // bands 1..3: drawn on the neutral background when off
};

// The cells of an element that has a record.
RowCells CellsOf(const settings::ElementRecord& element, const ElementCatalogue& catalogue, int method);

} // namespace tl::dialogs
