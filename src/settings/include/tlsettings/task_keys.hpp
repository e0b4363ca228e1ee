// The keys of a task section and their value types.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tl::settings {

inline constexpr std::string_view kDeepBase = "DeepBase";
inline constexpr std::string_view kBeginDateTime = "BeginDateTime";
inline constexpr std::string_view kEndDateTime = "EndDateTime";
inline constexpr std::string_view kIntervalType = "IntervalType";
inline constexpr std::string_view kAdvParNumber = "AdvParNumber";
inline constexpr std::string_view kParNumber = "ParNumber";
inline constexpr std::string_view kDeepAdv = "DeepAdv";
inline constexpr std::string_view kBeginDateTimeAdv = "BeginDateTimeAdv";
inline constexpr std::string_view kEndDateTimeAdv = "EndDateTimeAdv";
inline constexpr std::string_view kIntervalTypeAdv = "IntervalTypeAdv";
inline constexpr std::string_view kMethod = "Method";
inline constexpr std::string_view kCommonScript = "CommonScript";
inline constexpr std::string_view kUpdateFormat0 = "UpdateFormat0";
inline constexpr std::string_view kUpdateFormat1 = "UpdateFormat1";
inline constexpr std::string_view kSCUseCalcEvType = "SCUseCalcEvType";

// The highest ParNumber the settings check accepts: 0..6 the additional powers, 7 the 30-minute one.
inline constexpr int kMaxParNumber = 7;

enum class KeyType { kInteger, kBoolean, kDateTime, kString };

struct TaskKey {
    std::string_view name;
    KeyType type;
};

// Every key a task section may hold: the eleven the dialog writes, in the order it writes them,
// then the common script (written last), then the three the dialog never writes.
inline constexpr std::array<TaskKey, 15> kTaskKeys = {{
    {kDeepBase, KeyType::kInteger},
    {kAdvParNumber, KeyType::kBoolean},
    {kDeepAdv, KeyType::kInteger},
    {kBeginDateTime, KeyType::kDateTime},
    {kEndDateTime, KeyType::kDateTime},
    {kBeginDateTimeAdv, KeyType::kDateTime},
    {kEndDateTimeAdv, KeyType::kDateTime},
    {kIntervalType, KeyType::kInteger},
    {kIntervalTypeAdv, KeyType::kInteger},
    {kParNumber, KeyType::kInteger},
    {kMethod, KeyType::kInteger},
    {kCommonScript, KeyType::kString},
    {kUpdateFormat0, KeyType::kBoolean},
    {kUpdateFormat1, KeyType::kBoolean},
    {kSCUseCalcEvType, KeyType::kBoolean},
}};

// The key of that exact name, or null.
const TaskKey* FindTaskKey(std::string_view name);
// The same, with names compared as the settings service compares them (ASCII letters without
// regard to case; every task key is ASCII).
const TaskKey* FindTaskKeyIgnoringCase(std::string_view name);

// "UpdateFormat0" or "UpdateFormat1".
std::string UpdateFormatKey(int method);

std::string_view KeyTypeName(KeyType type);

} // namespace tl::settings
