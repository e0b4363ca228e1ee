// The address of a network element: object code, element type, item. Lists of addresses are kept
// ascending by object code, then element type, then item; logs write an address "%d.%d.%d".
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace tl {

struct ElementAddress {
    int32_t object = 0;
    int32_t type = 0;
    int32_t item = 0;

    friend auto operator<=>(const ElementAddress&, const ElementAddress&) = default;
};

// Element types the data side tells apart.
inline constexpr int32_t kTypeChannel = 0;
inline constexpr int32_t kTypeMeasurementObject = 95;
inline constexpr int32_t kTypeStateSource = 96;
inline constexpr int32_t kTypeDiscreteInput = 97;
inline constexpr int32_t kTypeSubDevice = 98;
inline constexpr int32_t kTypeDevice = 99;

// "object.type.item".
std::string FormatAddress(const ElementAddress& address);

} // namespace tl
