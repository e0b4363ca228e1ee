// A private metering database for the dialog tests: the schema, a device with four channels, and
// the settings access object to look at what a dialog saved.
#pragma once

#include "settings_test_support.hpp"

#include <string>
#include <vector>

namespace tl::test {

class DialogTestDatabase {
public:
    // Opens a new in-memory database as the process-wide connection, with the catalogue.
    DialogTestDatabase();
    ~DialogTestDatabase();
    DialogTestDatabase(const DialogTestDatabase&) = delete;
    DialogTestDatabase& operator=(const DialogTestDatabase&) = delete;

    // "key=value" for every key of the section, in listing order.
    std::vector<std::string> Dump(std::string_view section) {
        return settings::testing::DumpSection(config_, section);
    }
    TSvcConfig& Config() { return config_; }

private:
    TSvcConfig config_{std::string(kScheduleStorage)};
};

} // namespace tl::test
