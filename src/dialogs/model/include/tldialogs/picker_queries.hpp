// What the pickers of the formula editor and the coefficient dialog list, read from the metering
// tables through the database library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tl::dialogs {

struct NamedCode {
    int32_t code = 0;
    std::string name;
};

// Devices (Code, Name) and measurement objects (Code, Name), by code.
std::vector<NamedCode> Devices();
std::vector<NamedCode> MeasurementObjects();

// The item words of the momentary values (parameter 1100) stored for a device: the momentary code
// in the low byte, a sub-device in the high byte.
std::vector<int32_t> StoredMomentaryItems(int32_t device_code);

} // namespace tl::dialogs
