// A metering installation in a scratch directory for whole runs: the test database (SQLite, or
// PostgreSQL under scripts/with-postgres.sh) with the metering schema (settings included), a private copy of
// the driver and its platform libraries, the host service with its event loop, and what a run leaves behind.
#pragma once

#include "host_test_support.hpp"
#include "tlcommon/date_time.hpp"
#include "tlsettings/svc_config.hpp"
#include "tltest/test_database.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tl::test {

using Lines = std::vector<std::string>;

inline constexpr int64_t kBit = 0x40000;
inline constexpr const char* kSuccess = "Статус выполнения: Успешный расчёт";
inline constexpr const char* kClosingBanner = "----------------Не рассчитанные объекты-------------------";

struct StoredRow {
    int32_t par_number = 0;
    std::string stamp;   // "dd.mm.yyyy hh:nn:ss"
    std::string element; // "object.type.item"
    double value0 = 0;
    double value1 = 0;
    int64_t status = 0;
    std::string received;
};

struct RunOutcome {
    int32_t code = -100;
    std::vector<std::pair<int32_t, int32_t>> extra_completions;
    int64_t queries = 0;
};

class Installation {
public:
    static constexpr const char* kKey = "\\Scripts\\Losses\\";
    static constexpr const char* kSection = "\\Scripts\\Losses\\Object\\";
    static constexpr const char* kElements = "\\Scripts\\Losses\\Devices1\\";
    static constexpr const char* kFormulas = "\\Scripts\\Losses\\Devices2\\";

    Installation();
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    TSvcConfig& Settings() { return settings_; }
    // The settings every run needs, with a fixed period.
    void FixedPeriod(DateTime begin, DateTime end);
    // A task of the arbitrary formula over a fixed period, with its common script.
    void FormulaTask(DateTime begin, DateTime end, const std::string& common_script = "");
    // The coefficient record or the formula of element `key` ("object.type.item").
    void Element(const std::string& key, const std::string& record);
    void Formula(const std::string& key, const std::string& formula);
    // How momentary values (parameter 1100) are stored: kind 5 minutes, 6 seconds, ...
    void MomentaryDiscreteness(int32_t kind, int32_t value);
    // A file of the include directory, which the host names to the driver once it holds one.
    void IncludeFile(const std::string& name, const std::string& text);
    // The date-time the host names to the driver as "now".
    void Clock(DateTime now) { clock_ = now; }

    void AddRow(int32_t par_number, const std::string& key, DateTime stamp, double value, int64_t status = 0);
    void AddEvent(int32_t evcode, int32_t objcode, int32_t objtype, int32_t objitem, DateTime stamp);

    // Starts the task, optionally stops it at once, and runs the host's loop until everything
    // has come back.
    RunOutcome Run(bool stop_at_once = false);

    // Rows stored under result parameters, by parameter, stamp, object, type and item.
    std::vector<StoredRow> Results();
    const Lines& Status() const { return status_; }
    // tlosses.log of the last run, in UTF-8, lines without their CR LF.
    Lines RunLog() const;
    std::filesystem::path LibraryDir() const { return root_ / "lib"; }

private:
    host::testing::ScratchDir scratch_;
    const std::filesystem::path& root_ = scratch_.Path();
    std::unique_ptr<testing::TestDatabase> database_;
    TSvcConfig settings_{"TKEY_SCHEDULE"};
    Lines status_;
    bool includes_ = false;
    std::optional<double> clock_;
};

DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// A coefficient record for a channel of `sensor_type` whose secondary channel is `secondary`,
// with a line of 0.1 Ohm/km over 10 km at 10 kV and a transformer of 100 kV*A (Pkz 2, Pxx 0.5,
// Ixx 1 %, Ukz 2 %).
std::string ChannelRecord(int32_t sensor_type, int32_t secondary, int32_t state_value = -1,
                          int32_t state_object = 0, int32_t state_type = 0, int32_t state_item = 0);

struct Expected {
    int32_t par_number;
    const char* stamp;
    const char* element;
    double value0;
    double value1;
    int64_t status = 0;
};

// Compares the stored rows in order; `received`, when given, is the stamp every row was built at.
void ExpectRows(const std::vector<StoredRow>& rows, const std::vector<Expected>& expected,
                const char* received = nullptr);

size_t CountLines(const Lines& lines, const std::string& line);
// The lines of the log from the one after `banner` up to the next empty line.
Lines Section(const Lines& log, const std::string& banner);

} // namespace tl::test
