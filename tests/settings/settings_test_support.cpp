#include "settings_test_support.hpp"

#include "tlplatform/db_connection.hpp"
#include "tlplatform/dbd.h"

#include <algorithm>
#include <unistd.h>

namespace tl::settings::testing {

void SettingsDatabaseTest::SetUp() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "-" + test->name();
    std::replace(name.begin(), name.end(), '/', '-');
    path_ = std::filesystem::temp_directory_path() /
            ("tlsettings-" + std::to_string(getpid()) + "-" + name + ".db");
    std::filesystem::remove(path_);
    auto connection = db::Connection::Open(path_.string());
    db::InitSchema(*connection);
    db::SetProcessConnection(std::move(connection));
}

void SettingsDatabaseTest::TearDown() {
    DBCloseDatabase();
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(path_.string() + suffix);
    }
}

std::vector<std::string> SettingsDatabaseTest::Dump(std::string_view section) {
    std::vector<std::string> lines;
    for (const std::string& key : config_.ReadSection(section)) {
        lines.push_back(key + "=" + config_.ReadString(section, key, "<missing>"));
    }
    return lines;
}

void RecordingConfig::Record(std::string_view operation, std::string_view section, std::string_view key) {
    std::string call = std::string(operation) + " " + std::string(section);
    if (!key.empty()) {
        call += " " + std::string(key);
    }
    calls.push_back(std::move(call));
}

void RecordingConfig::CountWrite() {
    if (++writes == fail_at_write) {
        throw SvcConfigError("injected write failure");
    }
}

std::vector<std::string> RecordingConfig::Calls(std::initializer_list<std::string_view> operations) const {
    std::vector<std::string> chosen;
    for (const std::string& call : calls) {
        const std::string_view operation = std::string_view(call).substr(0, call.find(' '));
        if (operations.size() == 0 ||
            std::find(operations.begin(), operations.end(), operation) != operations.end()) {
            chosen.push_back(call);
        }
    }
    return chosen;
}

std::string RecordingConfig::ReadString(std::string_view s, std::string_view k, std::string_view d) {
    Record("ReadString", s, k);
    return TSvcConfig::ReadString(s, k, d);
}
void RecordingConfig::WriteString(std::string_view s, std::string_view k, std::string_view v) {
    Record("WriteString", s, k);
    CountWrite();
    TSvcConfig::WriteString(s, k, v);
}
int32_t RecordingConfig::ReadInteger(std::string_view s, std::string_view k, int32_t d) {
    Record("ReadInteger", s, k);
    return TSvcConfig::ReadInteger(s, k, d);
}
void RecordingConfig::WriteInteger(std::string_view s, std::string_view k, int32_t v) {
    Record("WriteInteger", s, k);
    CountWrite();
    TSvcConfig::WriteInteger(s, k, v);
}
bool RecordingConfig::ReadBool(std::string_view s, std::string_view k, bool d) {
    Record("ReadBool", s, k);
    return TSvcConfig::ReadBool(s, k, d);
}
void RecordingConfig::WriteBool(std::string_view s, std::string_view k, bool v) {
    Record("WriteBool", s, k);
    CountWrite();
    TSvcConfig::WriteBool(s, k, v);
}
DateTime RecordingConfig::ReadDateTime(std::string_view s, std::string_view k, DateTime d) {
    Record("ReadDateTime", s, k);
    return TSvcConfig::ReadDateTime(s, k, d);
}
void RecordingConfig::WriteDateTime(std::string_view s, std::string_view k, DateTime v) {
    Record("WriteDateTime", s, k);
    CountWrite();
    TSvcConfig::WriteDateTime(s, k, v);
}
std::vector<std::string> RecordingConfig::ReadSection(std::string_view s) {
    Record("ReadSection", s);
    return TSvcConfig::ReadSection(s);
}
bool RecordingConfig::ValueExists(std::string_view s, std::string_view k) {
    Record("ValueExists", s, k);
    return TSvcConfig::ValueExists(s, k);
}
void RecordingConfig::DeleteKey(std::string_view s, std::string_view k) {
    Record("DeleteKey", s, k);
    CountWrite();
    TSvcConfig::DeleteKey(s, k);
}
void RecordingConfig::EraseSection(std::string_view s) {
    Record("EraseSection", s);
    CountWrite();
    TSvcConfig::EraseSection(s);
}
bool RecordingConfig::RenameParam(std::string_view s, std::string_view o, std::string_view n) {
    Record("RenameParam", s, std::string(o) + " " + std::string(n));
    CountWrite();
    return TSvcConfig::RenameParam(s, o, n);
}

} // namespace tl::settings::testing
