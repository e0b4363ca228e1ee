#include "tlsettings/svc_config.hpp"

#include "tlplatform/cfgsvc.h"

#include <fmt/format.h>

namespace tl {
namespace {

void Check(bool done, std::string_view what, std::string_view section, std::string_view key) {
    if (!done) {
        throw SvcConfigError(
            fmt::format("the settings service refused to {} \"{}\" in \"{}\"", what, key, section));
    }
}

} // namespace

void TSvcConfig::MakeCurrent() const {
    SvcSetStorageName(storage_name_.c_str());
}

std::string TSvcConfig::ReadString(std::string_view section, std::string_view key,
                                   std::string_view default_value) {
    MakeCurrent();
    return SvcReadString(std::string(section).c_str(), std::string(key).c_str(),
                         std::string(default_value).c_str());
}

void TSvcConfig::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    MakeCurrent();
    Check(SvcWriteString(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str()),
          "write", section, key);
}

int32_t TSvcConfig::ReadInteger(std::string_view section, std::string_view key, int32_t default_value) {
    MakeCurrent();
    return SvcReadInteger(std::string(section).c_str(), std::string(key).c_str(), default_value);
}

void TSvcConfig::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    MakeCurrent();
    Check(SvcWriteInteger(std::string(section).c_str(), std::string(key).c_str(), value), "write", section,
          key);
}

bool TSvcConfig::ReadBool(std::string_view section, std::string_view key, bool default_value) {
    MakeCurrent();
    return SvcReadBool(std::string(section).c_str(), std::string(key).c_str(), default_value);
}

void TSvcConfig::WriteBool(std::string_view section, std::string_view key, bool value) {
    MakeCurrent();
    Check(SvcWriteBool(std::string(section).c_str(), std::string(key).c_str(), value), "write", section, key);
}

DateTime TSvcConfig::ReadDateTime(std::string_view section, std::string_view key, DateTime default_value) {
    MakeCurrent();
    return SvcReadDateTime(std::string(section).c_str(), std::string(key).c_str(), default_value);
}

void TSvcConfig::WriteDateTime(std::string_view section, std::string_view key, DateTime value) {
    MakeCurrent();
    Check(SvcWriteDateTime(std::string(section).c_str(), std::string(key).c_str(), value), "write", section,
          key);
}

std::vector<std::string> TSvcConfig::ReadSection(std::string_view section) {
    MakeCurrent();
    std::vector<std::string> keys;
    SvcReadSection(
        std::string(section).c_str(),
        [](void* context, const char* key) {
            static_cast<std::vector<std::string>*>(context)->emplace_back(key);
        },
        &keys);
    return keys;
}

std::vector<std::string> TSvcConfig::ReadSections(std::string_view section) {
    MakeCurrent();
    std::vector<std::string> names;
    SvcReadSections(
        std::string(section).c_str(),
        [](void* context, const char* name) {
            static_cast<std::vector<std::string>*>(context)->emplace_back(name);
        },
        &names);
    return names;
}

bool TSvcConfig::ValueExists(std::string_view section, std::string_view key) {
    MakeCurrent();
    return SvcValueExists(std::string(section).c_str(), std::string(key).c_str());
}

void TSvcConfig::DeleteKey(std::string_view section, std::string_view key) {
    MakeCurrent();
    Check(SvcDeleteKey(std::string(section).c_str(), std::string(key).c_str()), "delete", section, key);
}

void TSvcConfig::EraseSection(std::string_view section) {
    MakeCurrent();
    if (!SvcEraseSection(std::string(section).c_str())) {
        throw SvcConfigError(
            fmt::format("the settings service refused to erase the section \"{}\"", section));
    }
}

bool TSvcConfig::RenameParam(std::string_view section, std::string_view old_key, std::string_view new_key) {
    MakeCurrent();
    return SvcRenameParam(std::string(section).c_str(), std::string(old_key).c_str(),
                          std::string(new_key).c_str(), false);
}

} // namespace tl
