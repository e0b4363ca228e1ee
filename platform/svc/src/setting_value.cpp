#include "setting_value.hpp"

#include "tlcommon/date_time.hpp"
#include "value_conversion.hpp"

#include <fmt/format.h>
#include <limits>

namespace tl::svc {
namespace {

std::optional<int32_t> ParseInt32(const std::string& text) {
    const auto value = db::ParseInteger(text);
    if (!value || *value < std::numeric_limits<int32_t>::min() ||
        *value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*value);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

StoredSetting StoreString(std::string text) {
    return {SettingType::String, std::move(text)};
}

StoredSetting StoreInteger(int32_t value) {
    return {SettingType::Integer, fmt::format("{}", value)};
}

StoredSetting StoreBool(bool value) {
    return {SettingType::Bool, value ? "1" : "0"};
}

StoredSetting StoreDateTime(double value) {
    // The shortest text that reads back as exactly this double.
    return {SettingType::DateTime, fmt::format("{}", value)};
}

std::string ReadAsString(const StoredSetting& setting) {
    if (setting.type == SettingType::DateTime) {
        if (const auto value = db::ParseNumber(setting.text)) {
            return FormatStamp(*value);
        }
    }
    return setting.text;
}

std::optional<int32_t> ReadAsInteger(const StoredSetting& setting) {
    switch (setting.type) {
    case SettingType::String:
    case SettingType::Integer:
    case SettingType::Bool:
        return ParseInt32(setting.text);
    case SettingType::DateTime:
        break;
    }
    return std::nullopt;
}

std::optional<bool> ReadAsBool(const StoredSetting& setting) {
    switch (setting.type) {
    case SettingType::String:
        if (EqualsIgnoringAsciiCase(setting.text, "true")) {
            return true;
        }
        if (EqualsIgnoringAsciiCase(setting.text, "false")) {
            return false;
        }
        [[fallthrough]];
    case SettingType::Integer:
    case SettingType::Bool:
        if (const auto value = db::ParseInteger(setting.text)) {
            return *value != 0;
        }
        break;
    case SettingType::DateTime:
        break;
    }
    return std::nullopt;
}

std::optional<double> ReadAsDateTime(const StoredSetting& setting) {
    switch (setting.type) {
    case SettingType::DateTime:
    case SettingType::Integer:
        return db::ParseNumber(setting.text);
    case SettingType::String:
        if (const auto number = db::ParseNumber(setting.text)) {
            return number;
        }
        return db::ParseDateTimeText(setting.text);
    case SettingType::Bool:
        break;
    }
    return std::nullopt;
}

} // namespace tl::svc
