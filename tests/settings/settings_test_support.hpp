// A private settings database per test, and a settings access object that records its writes.
#pragma once

#include "tlsettings/svc_config.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::settings::testing {

// "key=value" for every key of the section, in listing order, values read as strings.
std::vector<std::string> DumpSection(TSvcConfig& config, std::string_view section);

// Opens a new in-memory SQLite database as the process-wide connection; closes it at the end of
// the test.
class SettingsDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<std::string> Dump(std::string_view section) { return DumpSection(config_, section); }

    TSvcConfig config_{std::string(kScheduleStorage)};
};

// Forwards to the service and keeps "Operation section [key]" for every call that changes the
// store, in order. The write numbered `fail_at_write` (from 1) throws instead.
class RecordingConfig : public TSvcConfig {
public:
    RecordingConfig() : TSvcConfig(std::string(kScheduleStorage)) {}

    std::vector<std::string> writes;
    size_t fail_at_write = 0;

    void WriteString(std::string_view s, std::string_view k, std::string_view v) override;
    void WriteInteger(std::string_view s, std::string_view k, int32_t v) override;
    void WriteBool(std::string_view s, std::string_view k, bool v) override;
    void WriteDateTime(std::string_view s, std::string_view k, DateTime v) override;
    void DeleteKey(std::string_view s, std::string_view k) override;
    void EraseSection(std::string_view s) override;
    bool RenameParam(std::string_view s, std::string_view o, std::string_view n) override;

private:
    void Record(std::string_view operation, std::string_view section, std::string_view key = {});
};

} // namespace tl::settings::testing
