// One row a calculation stores in the metering `data` table: nine fields in a fixed order.
#pragma once

#include "tlcommon/date_time.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

namespace tl {

inline constexpr std::array<std::string_view, 9> kResultFieldNames = {
    "ParNumber", "Data_Date", "Object", "Item", "ObjType", "Value0", "Value1", "TvkStatus", "RCVStamp"};

struct ResultRow {
    int32_t par_number = 0; // the pass's result parameter number
    DateTime data_date = 0; // the stamp
    int32_t object = 0;
    int32_t item = 0;
    int32_t type = 0;
    double value0 = 0;
    double value1 = 0;
    int64_t status = 0; // status word
    DateTime rcv_stamp = 0;
};

// The store takes the 64-bit status word as a double whose eight bytes are the word's.
inline double StatusWordAsDouble(int64_t word) {
    return std::bit_cast<double>(word);
}

} // namespace tl
