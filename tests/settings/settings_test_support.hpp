// A private settings database per test, and a settings access object that records its calls.
#pragma once

#include "tlsettings/svc_config.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tl::settings::testing {

// Opens a new SQLite database of its own as the process-wide connection; closes and removes it
// at the end of the test.
class SettingsDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // "key=value" for every key of the section, in listing order, values read as strings.
    std::vector<std::string> Dump(std::string_view section);

    TSvcConfig config_{std::string(kScheduleStorage)};

private:
    std::filesystem::path path_;
};

// Forwards to the service and keeps "Operation section key" per call, in order.
class RecordingConfig : public TSvcConfig {
public:
    RecordingConfig() : TSvcConfig(std::string(kScheduleStorage)) {}

    std::vector<std::string> calls;
    // When positive, the write that makes `writes` reach it throws instead of writing.
    int fail_at_write = 0;
    int writes = 0;

    std::string ReadString(std::string_view s, std::string_view k, std::string_view d) override;
    void WriteString(std::string_view s, std::string_view k, std::string_view v) override;
    int32_t ReadInteger(std::string_view s, std::string_view k, int32_t d) override;
    void WriteInteger(std::string_view s, std::string_view k, int32_t v) override;
    bool ReadBool(std::string_view s, std::string_view k, bool d) override;
    void WriteBool(std::string_view s, std::string_view k, bool v) override;
    DateTime ReadDateTime(std::string_view s, std::string_view k, DateTime d) override;
    void WriteDateTime(std::string_view s, std::string_view k, DateTime v) override;
    std::vector<std::string> ReadSection(std::string_view s) override;
    bool ValueExists(std::string_view s, std::string_view k) override;
    void DeleteKey(std::string_view s, std::string_view k) override;
    void EraseSection(std::string_view s) override;
    bool RenameParam(std::string_view s, std::string_view o, std::string_view n) override;

    // The calls whose operation is one of `operations` (all when empty).
    std::vector<std::string> Calls(std::initializer_list<std::string_view> operations) const;

private:
    void Record(std::string_view operation, std::string_view section, std::string_view key = {});
    void CountWrite();
};

} // namespace tl::settings::testing
