// A setting as stored (a type tag and a text) and its typed readings. A value read as another type
// than it was written with converts where that makes sense: an integer reads as its decimal text,
// the text "12" as the integer 12, "true"/"false" or a number as a boolean, a number or a stamp
// "dd.mm.yyyy[ hh:nn[:ss[.zzz]]]" as a date-time; anything else reads as "no value".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tl::svc {

enum class SettingType : int32_t { String = 0, Integer = 1, Bool = 2, DateTime = 3 };

struct StoredSetting {
    SettingType type = SettingType::String;
    std::string text;
};

StoredSetting StoreString(std::string text);
StoredSetting StoreInteger(int32_t value);
StoredSetting StoreBool(bool value);
StoredSetting StoreDateTime(double value);

// A date-time reads as the stamp "dd.mm.yyyy hh:nn:ss.zzz".
std::string ReadAsString(const StoredSetting& setting);
std::optional<int32_t> ReadAsInteger(const StoredSetting& setting);
std::optional<bool> ReadAsBool(const StoredSetting& setting);
std::optional<double> ReadAsDateTime(const StoredSetting& setting);

} // namespace tl::svc
