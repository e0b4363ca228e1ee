// The settings access object: every read and write of task settings goes through one of these,
// bound to one storage of the settings service. Each operation first makes its storage the
// service's current one and then makes exactly one service call.
#pragma once

#include "tlcommon/date_time.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

// The storage of all task settings.
inline constexpr std::string_view kScheduleStorage = "TKEY_SCHEDULE";

// A write, deletion or erasure that the settings service refused (no database, or the database
// refused it). Reads never fail: they give the default.
class SvcConfigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSvcConfig {
public:
    explicit TSvcConfig(std::string storage_name) : storage_name_(std::move(storage_name)) {}
    virtual ~TSvcConfig() = default;
    TSvcConfig(const TSvcConfig&) = delete;
    TSvcConfig& operator=(const TSvcConfig&) = delete;

    const std::string& StorageName() const { return storage_name_; }

    virtual std::string ReadString(std::string_view section, std::string_view key,
                                   std::string_view default_value);
    virtual void WriteString(std::string_view section, std::string_view key, std::string_view value);
    virtual int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value);
    virtual void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    virtual bool ReadBool(std::string_view section, std::string_view key, bool default_value);
    virtual void WriteBool(std::string_view section, std::string_view key, bool value);
    virtual DateTime ReadDateTime(std::string_view section, std::string_view key, DateTime default_value);
    virtual void WriteDateTime(std::string_view section, std::string_view key, DateTime value);
    // The section's key names in the service's listing order.
    virtual std::vector<std::string> ReadSection(std::string_view section);
    // The names of the sections directly below `section` ("Demo" for "\Scripts\Demo\Object\"
    // below "\Scripts\"), ordered by name.
    virtual std::vector<std::string> ReadSections(std::string_view section);
    virtual bool ValueExists(std::string_view section, std::string_view key);
    virtual void DeleteKey(std::string_view section, std::string_view key);
    virtual void EraseSection(std::string_view section);
    // True when the key bears the new name afterwards.
    virtual bool RenameParam(std::string_view section, std::string_view old_key, std::string_view new_key);

private:
    void MakeCurrent() const;

    std::string storage_name_;
};

} // namespace tl
