// Sensor type codes of a coefficient record (the channel kinds) and the voltages the dialog offers.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tl {

enum class SensorKind { kActive, kReactive, kNeither };

// What the coefficient dialog writes for an active and for a reactive channel.
inline constexpr int32_t kActiveSensorType = 1;
inline constexpr int32_t kReactiveSensorType = 3;

// "Апр", "Аот", "Rпр", "Rот" for 0..3, "не задан" for any other code.
std::string_view SensorTypeName(int32_t code);
SensorKind SensorTypeKind(int32_t code);

// Operating and nominal voltages, kV, in the order the coefficient dialog lists them.
inline constexpr std::array<int32_t, 12> kDialogVoltages = {6,   10,  15,  20,  35,  60,
                                                            110, 154, 220, 330, 500, 750};

} // namespace tl
