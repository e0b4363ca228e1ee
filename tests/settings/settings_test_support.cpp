#include "settings_test_support.hpp"

#include "tlplatform/db_connection.hpp"
#include "tlplatform/dbd.h"

namespace tl::settings::testing {

void SettingsDatabaseTest::SetUp() {
    auto connection = db::Connection::Open(":memory:");
    db::InitSchema(*connection);
    db::SetProcessConnection(std::move(connection));
}

void SettingsDatabaseTest::TearDown() {
    DBCloseDatabase();
}

std::vector<std::string> DumpSection(TSvcConfig& config, std::string_view section) {
    std::vector<std::string> lines;
    for (const std::string& key : config.ReadSection(section)) {
        lines.push_back(key + "=" + config.ReadString(section, key, "<missing>"));
    }
    return lines;
}

void RecordingConfig::Record(std::string_view operation, std::string_view section, std::string_view key) {
    writes.push_back(std::string(operation) + " " + std::string(section) + (key.empty() ? "" : " ") +
                     std::string(key));
    if (writes.size() == fail_at_write) {
        throw SvcConfigError("injected write failure");
    }
}

void RecordingConfig::WriteString(std::string_view s, std::string_view k, std::string_view v) {
    Record("WriteString", s, k);
    TSvcConfig::WriteString(s, k, v);
}
void RecordingConfig::WriteInteger(std::string_view s, std::string_view k, int32_t v) {
    Record("WriteInteger", s, k);
    TSvcConfig::WriteInteger(s, k, v);
}
void RecordingConfig::WriteBool(std::string_view s, std::string_view k, bool v) {
    Record("WriteBool", s, k);
    TSvcConfig::WriteBool(s, k, v);
}
void RecordingConfig::WriteDateTime(std::string_view s, std::string_view k, DateTime v) {
    Record("WriteDateTime", s, k);
    TSvcConfig::WriteDateTime(s, k, v);
}
void RecordingConfig::DeleteKey(std::string_view s, std::string_view k) {
    Record("DeleteKey", s, k);
    TSvcConfig::DeleteKey(s, k);
}
void RecordingConfig::EraseSection(std::string_view s) {
    Record("EraseSection", s);
    TSvcConfig::EraseSection(s);
}
bool RecordingConfig::RenameParam(std::string_view s, std::string_view o, std::string_view n) {
    Record("RenameParam", s, std::string(o) + " " + std::string(n));
    return TSvcConfig::RenameParam(s, o, n);
}

} // namespace tl::settings::testing
