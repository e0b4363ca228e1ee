// The losses a run stored, per channel and interval kind: the sum of Value0 (line losses) or
// Value1 (transformer losses) over the stored rows, with the number of rows.
#pragma once

#include "tldemo/network.hpp"
#include "tlplatform/db_connection.hpp"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace tl::demo {

// Result parameters in the table's column order: 5 min, 30 min, hour, day, month, quarter, year.
inline constexpr std::array<int32_t, 7> kReportParNumbers = {30007, 30012, 30018, 30026, 30036, 30046, 30056};

struct LossCell {
    double sum = 0; // kW*h for an active channel, kvar*h for a reactive one
    int64_t rows = 0;
};

struct LossRow {
    int32_t object = 0;
    int32_t type = 0;
    int32_t item = 0;
    std::string name;
    bool active = true;
    std::array<LossCell, kReportParNumbers.size()> cells{};
};

// Stored sums by result parameter, object and item.
using LossSums = std::map<std::tuple<int32_t, int32_t, int32_t>, LossCell>;

// The row's cells from the sums under its object and item, one per report column.
void FillCells(LossRow& row, const LossSums& sums);

// One row per channel of the network, in network order.
std::vector<LossRow> ReadStoredLosses(tl::db::Connection& connection, const Network& network);

// One row per network element of the formula task (sums of Value0), in network order.
std::vector<LossRow> ReadFormulaLosses(tl::db::Connection& connection, const Network& network);

// A fixed-width text table with a line of row counts under each channel's values.
std::string FormatLossTable(const std::vector<LossRow>& rows);

} // namespace tl::demo
