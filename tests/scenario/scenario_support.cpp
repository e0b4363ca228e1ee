#include "scenario_support.hpp"

#include "tlcommon/text_codec.hpp"
#include "tlhost/driver_library.hpp"
#include "tlhost/host_service.hpp"
#include "tlhost/task_runner.hpp"
#include "tlplatform/db_connection.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fmt/format.h>
#include <fstream>
#include <gtest/gtest.h>

namespace tl::test {
namespace fs = std::filesystem;

db::Connection& Db() {
    return *db::ProcessConnection();
}

DateTime At(int year, int month, int day, int hour, int minute, int second) {
    return EncodeDateTime({year, month, day, hour, minute, second, 0});
}

std::string ChannelRecord(int32_t sensor_type, int32_t secondary, int32_t state_value, int32_t state_object,
                          int32_t state_type, int32_t state_item) {
    return fmt::format(
        "1;{};{};{};0.10;10.00;0.00;0;0.00;10;10;1;700;0.50;2.00;1.00;2.00;100.00;{};{};{};{};{};;",
        sensor_type, sensor_type == 1 ? 3 : 1, secondary, state_value >= 0 ? 1 : 0, std::max(state_value, 0),
        state_object, state_type, state_item);
}

Installation::Installation() {
    fs::create_directories(root_ / "lib");
    fs::create_directories(root_ / "logs");
    // The driver names its element-state log after its own file: a private copy keeps parallel
    // runs apart.
    for (const auto& entry : fs::directory_iterator(TL_DRIVER_BIN_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("libtl", 0) == 0 && entry.path().extension() == ".so") {
            fs::copy_file(entry.path(), root_ / "lib" / name, fs::copy_options::overwrite_existing);
        }
    }
    database_ = std::make_unique<testing::TestDatabase>(root_ / "metering.db");
    auto connection = db::Connection::Open(database_->Uri());
    db::InitSchema(*connection);
    db::SetProcessConnection(std::move(connection));
}

Installation::~Installation() {
    db::SetProcessConnection(nullptr);
    database_.reset();
}

void Installation::FixedPeriod(DateTime begin, DateTime end) {
    settings_.WriteInteger(kSection, "DeepBase", 0);
    settings_.WriteInteger(kSection, "Method", 0);
    settings_.WriteBool(kSection, "AdvParNumber", false);
    settings_.WriteInteger(kSection, "IntervalType", 1);
    settings_.WriteDateTime(kSection, "BeginDateTime", begin);
    settings_.WriteDateTime(kSection, "EndDateTime", end);
}

void Installation::FormulaTask(DateTime begin, DateTime end, const std::string& common_script) {
    FixedPeriod(begin, end);
    settings_.WriteInteger(kSection, "Method", 1);
    settings_.WriteString(kSection, "CommonScript", common_script);
}

void Installation::IncludeFile(const std::string& name, const std::string& text) {
    fs::create_directories(root_ / "scripts");
    std::ofstream(root_ / "scripts" / name, std::ios::binary) << text;
    includes_ = true;
}

void Installation::Element(const std::string& key, const std::string& record) {
    settings_.WriteString(kElements, key, record);
}

void Installation::Formula(const std::string& key, const std::string& formula) {
    settings_.WriteString(kFormulas, key, formula);
}

void Installation::MomentaryDiscreteness(int32_t kind, int32_t value) {
    Db().Execute(fmt::format(
        "update parameters set discrettype = {}, discretvalue = {} where parnumber = 1100", kind, value));
}

// Values go into the SQL as text: the shortest text of a double reads back as the same double.

void Installation::AddRow(int32_t par_number, const std::string& key, DateTime stamp, double value,
                          int64_t status) {
    int object = 0, type = 0, item = 0;
    ASSERT_EQ(std::sscanf(key.c_str(), "%d.%d.%d", &object, &type, &item), 3) << key;
    Db().Execute(fmt::format("insert into data (parnumber, object, objtype, item, data_date, season, value0, "
                             "tvkstatus) values ({}, {}, {}, {}, {}, 0, {}, {})",
                             par_number, object, type, item, stamp, value, status));
}

void Installation::AddEvent(int32_t evcode, int32_t objcode, int32_t objtype, int32_t objitem,
                            DateTime stamp) {
    Db().Execute(fmt::format("insert into eventlist (evtype, evcode, objcode, objtype, objitem, evgenesisdt, "
                             "season) values (2, {}, {}, {}, {}, {}, 0)",
                             evcode, objcode, objtype, objitem, stamp));
}

RunOutcome Installation::Run(bool stop_at_once) {
    RunOutcome outcome;
    auto driver = host::DriverLibrary::Load((root_ / "lib" / "libtlosses.so").string());
    host::HostServiceOptions options;
    options.database_uri = database_->Uri();
    options.log_directory = (root_ / "logs").string();
    options.clock = clock_;
    if (includes_) {
        options.include_directory = (root_ / "scripts").string();
    }
    options.status = [this](std::string_view, std::string_view line) { status_.emplace_back(line); };
    options.diagnostics = [](std::string_view) {};
    host::HostServicePtr service = host::HostService::Create(std::move(options));
    {
        host::TaskRunner runner(driver->Exports(), *service);
        runner.InitDriver();
        runner.Start(kKey);
        if (stop_at_once) {
            runner.StopRunning();
        }
        host::RunLimits limits;
        limits.timeout = std::chrono::seconds(60);
        runner.Run(limits);
        if (!runner.Tasks().empty() && runner.Tasks()[0].finished) {
            outcome.code = runner.Tasks()[0].code;
        }
        outcome.extra_completions = runner.ExtraCompletions();
        outcome.queries = service->Stats().queries;
        runner.DeInitDriver();
    }
    service->Shutdown();
    driver.reset();
    return outcome;
}

std::vector<StoredRow> Installation::Results() {
    std::vector<StoredRow> rows;
    auto set =
        Db().Query("select parnumber, data_date, object, objtype, item, value0, value1, tvkstatus, rcvstamp "
                   "from data where parnumber >= 30000 order by parnumber, data_date, object, objtype, item",
                   {});
    for (set->First(); !set->Eof(); set->Next()) {
        rows.push_back({set->AsInteger(0), FormatDateTimeSeconds(set->AsDateTime(1)),
                        fmt::format("{}.{}.{}", set->AsInteger(2), set->AsInteger(3), set->AsInteger(4)),
                        set->AsDouble(5), set->AsDouble(6), set->StatusWord(),
                        FormatDateTimeSeconds(set->AsDateTime(8))});
    }
    return rows;
}

Lines Installation::RunLog() const {
    const std::string text = Cp1251ToUtf8(host::testing::ReadFile(root_ / "logs" / "tlosses.log"));
    Lines lines;
    for (size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

void ExpectRows(const std::vector<StoredRow>& rows, const std::vector<Expected>& expected,
                const char* received) {
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(fmt::format("{}: {} {} {}", i, e.par_number, e.stamp, e.element));
        EXPECT_EQ(rows[i].par_number, e.par_number);
        EXPECT_EQ(rows[i].stamp, e.stamp);
        EXPECT_EQ(rows[i].element, e.element);
        EXPECT_NEAR(rows[i].value0, e.value0, 1e-9 * std::max(1.0, std::fabs(e.value0)));
        EXPECT_NEAR(rows[i].value1, e.value1, 1e-9 * std::max(1.0, std::fabs(e.value1)));
        EXPECT_EQ(rows[i].status, e.status);
        if (received != nullptr) {
            EXPECT_EQ(rows[i].received, received);
        }
    }
}

size_t CountLines(const Lines& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

Lines Section(const Lines& log, const std::string& banner) {
    auto at = std::find(log.begin(), log.end(), banner);
    if (at == log.end()) {
        return {"<no section " + banner + ">"};
    }
    const auto end = std::find(++at, log.end(), std::string());
    return Lines(at, end);
}

} // namespace tl::test
