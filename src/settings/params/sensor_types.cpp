#include "tlparams/sensor_types.hpp"

namespace tl {

std::string_view SensorTypeName(int32_t code) {
    switch (code) {
    case 0:
        return "Апр";
    case 1:
        return "Аот";
    case 2:
        return "Rпр";
    case 3:
        return "Rот";
    default:
        return "не задан";
    }
}

SensorKind SensorTypeKind(int32_t code) {
    switch (code) {
    case 0:
    case 1:
        return SensorKind::kActive;
    case 2:
    case 3:
        return SensorKind::kReactive;
    default:
        return SensorKind::kNeither;
    }
}

} // namespace tl
