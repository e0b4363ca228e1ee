// tlhost data import, events import, results export and tasks as an operator runs them: separate
// processes on the test database (SQLite, or PostgreSQL under scripts/with-postgres.sh).
#include "host_test_support.hpp"
#include "tlplatform/db_connection.hpp"
#include "tltest/test_database.hpp"

#include <fmt/format.h>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tl::host {
namespace {

using namespace tl::host::testing;
namespace fs = std::filesystem;

class ExchangeCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Run({"db", "init"}).status, 0); }

    Outcome Run(std::vector<std::string> args) { return RunOn(database_, std::move(args)); }
    Outcome RunOn(const tl::testing::TestDatabase& database, std::vector<std::string> args) {
        return RunTlhost(dir_.Path(), database.Uri(), std::move(args));
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    int64_t Count(const std::string& sql) {
        auto db = db::Connection::OpenExisting(database_.Uri());
        return db->Query(sql, {})->AsInt64(0);
    }

    ScratchDir dir_;
    tl::testing::TestDatabase database_{dir_ / "t.db"};
};

const char* const kElements[] = {"--element", "5.0.1", "--element", "5.0.2"};

std::vector<std::string> ExportArgs(std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"results", "export"};
    args.insert(args.end(), std::begin(kElements), std::end(kElements));
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST_F(ExchangeCli, ImportsRowsExportsThemAndReadsTheExportBack) {
    // A spreadsheet's export: semicolons, decimal commas, a header in its own order, a date
    // without seconds, a status word, and a later row replacing an earlier one.
    Write("data.csv", "object;type;item;parameter;date;season;value;value1;status\n"
                      "5;0;1;30012;2025-01-01 00:30;0;1,5;0,25;0\n"
                      "5;0;2;30012;2025-01-01 00:30;0;2;;0x40000\n"
                      "5;0;1;30012;2025-01-01 01:00:00;0;3;;\n"
                      "5;0;1;30026;2025-01-02 00:00;0;40;1;0\n"
                      "5;0;9;30012;2025-01-01 00:30;0;99;;0\n"
                      "5;0;1;30012;2025-01-01 00:30;0;1,75;0,5;0\n");
    const Outcome import = Run({"data", "import", "data.csv"});
    ASSERT_EQ(import.status, 0) << import.err;
    EXPECT_EQ(import.out, "data.csv: 6 metering rows written\n");

    const std::string all = "parameter,object,type,item,date,season,value0,value1,status\n"
                            "30012,5,0,1,2025-01-01 00:30:00,0,1.75,0.5,0x0\n"
                            "30012,5,0,1,2025-01-01 01:00:00,0,3,0,0x0\n"
                            "30012,5,0,2,2025-01-01 00:30:00,0,2,0,0x40000\n"
                            "30026,5,0,1,2025-01-02 00:00:00,0,40,1,0x0\n";
    const Outcome exported = Run(ExportArgs());
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, all);

    struct Filter {
        std::vector<std::string> args;
        size_t rows;
    };
    for (const Filter& f :
         {Filter{{"--interval", "30min"}, 3}, Filter{{"--interval", "26", "--interval", "hour"}, 1},
          Filter{{"--from", "2025-01-01 00:45"}, 2},
          Filter{{"--from", "2025-01-01 00:30", "--to", "2025-01-01 00:30"}, 2}}) {
        const Outcome filtered = Run(ExportArgs(f.args));
        ASSERT_EQ(filtered.status, 0) << filtered.err;
        EXPECT_EQ(std::count(filtered.out.begin(), filtered.out.end(), '\n'), static_cast<long>(f.rows + 1))
            << fmt::format("{}", fmt::join(f.args, " "));
    }

    // The export is an import file: another database gets the same rows.
    ASSERT_EQ(Run(ExportArgs({"-o", "all.csv"})).status, 0);
    const tl::testing::TestDatabase copy(dir_ / "copy.db");
    ASSERT_EQ(RunOn(copy, {"db", "init"}).status, 0);
    ASSERT_EQ(RunOn(copy, {"data", "import", "all.csv"}).status, 0);
    const Outcome again = RunOn(copy, ExportArgs());
    EXPECT_EQ(again.out, all);

    // JSON: the same columns as keys.
    Write("more.json", R"([{"parameter": 30012, "object": 5, "type": 0, "item": 2, "date": "2025-01-01 01:00",
                            "value": 4.5, "status": "0x40000"}])");
    ASSERT_EQ(Run({"data", "import", "more.json"}).status, 0);
    EXPECT_EQ(Count("select count(*) from data where object = 5 and item = 2 and tvkstatus = 262144"), 2);
}

TEST_F(ExchangeCli, AFaultyFileIsRefusedWithItsLinesAndWritesNothing) {
    Write("good.csv", "12,7,0,1,2025-01-01 00:30,0,1.5,0\n");
    ASSERT_EQ(Run({"data", "import", "good.csv"}).status, 0);
    struct Case {
        const char* name;
        const char* text;
        std::vector<std::string> args;
        std::vector<std::string> fragments;
    };
    const Case cases[] = {
        {"data.csv",
         "12,7,0,2,2025-01-01 00:30,0,1.5,0\n12,7,0,2,2025-01-01 25:00,0,1.5,0\n12,7,0,2\n",
         {"data", "import"},
         {"data.csv:2: date: \"2025-01-01 25:00\"", "data.csv:3: 4 fields, expected 8",
          "2 faults; nothing was imported"}},
        {"data.json", "[{\"parameter\": 12}", {"data", "import"}, {"data.json: not JSON"}},
        {"data.txt",
         "[{\"parameter\": 12, \"object\": 7, \"type\": 0, \"item\": 3, \"date\": \"2025-01-01 00:30\", "
         "\"value\": \"x\"}]",
         {"data", "import", "--format", "json"},
         {"data.txt[0]: value: expected a number"}},
        {"events.csv",
         "2,3001,12,97,1,2025-01-01 00:00,,,\n2,3002,12,97,1,yesterday,,,\n",
         {"events", "import"},
         {"events.csv:2: evgenesisdt: \"yesterday\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(c.name, c.text);
        std::vector<std::string> args = c.args;
        args.push_back(c.name);
        const Outcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 1) << outcome.err;
        EXPECT_EQ(outcome.out, "");
        for (const std::string& fragment : c.fragments) {
            EXPECT_NE(outcome.err.find(fragment), std::string::npos) << fragment << "\n" << outcome.err;
        }
    }
    EXPECT_EQ(Count("select count(*) from data where object = 7"), 1);
    EXPECT_EQ(Count("select count(*) from eventlist"), 0);
    EXPECT_EQ(Run({"data", "import", "missing.csv"}).status, 1);
}

TEST_F(ExchangeCli, EventsReplaceTheSameEventAndKeepOthers) {
    // Without a header: evtype, evcode, objcode, objtype, objitem, evgenesisdt, evaltdt, season,
    // evidprotect; the season may be null.
    Write("events.csv", "2,3001,12,97,1,2025-01-01 00:00,,,\n"
                        "2,3002,12,97,1,2025-01-01 06:00,2025-01-01 06:01,0,5\n"
                        "2,4002,7,96,3,2025-01-01 00:00,,,\n");
    ASSERT_EQ(Run({"events", "import", "events.csv"}).status, 0);
    Write("again.csv", "evtype,evcode,objcode,objtype,objitem,evgenesisdt,evidprotect\n"
                       "2,3001,12,97,1,2025-01-01 00:00,9\n");
    const Outcome again = Run({"events", "import", "again.csv"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "again.csv: 1 events written\n");
    EXPECT_EQ(Count("select count(*) from eventlist"), 3);
    EXPECT_EQ(Count("select evidprotect from eventlist where evcode = 3001"), 9);
    EXPECT_EQ(Count("select count(*) from eventlist where season is null and evaltdt is null"), 2);
}

// Two tasks written through settings import, then listed, copied, renamed and deleted.
TEST_F(ExchangeCli, ListsCopiesRenamesAndDeletesTasks) {
    Write(
        "lines.json",
        R"({"format": "tlosses-task-settings", "version": 1, "task_key": "\\Scripts\\Lines\\",)"
        R"( "task": {"DeepBase": 0, "AdvParNumber": false, "IntervalType": 1, "Method": 0,)"
        R"( "BeginDateTime": "2025-01-01 00:00", "EndDateTime": "2025-01-08 00:00:00.000"},)"
        R"( "elements": {"Devices2": [], "Devices1": [)"
        R"({"key": "5.0.1", "value": "1;1;3;2;0.10;10.00;5.00;0;0.50;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;"},)"
        R"({"key": "5.0.2", "value": "1;3;1;1;0.10;10.00;5.00;0;0.50;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;"}]}})");
    Write("formulas.json",
          R"({"format": "tlosses-task-settings", "version": 1, "task_key": "\\Scripts\\Formulas\\",)"
          R"( "task": {"DeepBase": 48, "AdvParNumber": false, "Method": 1}, "elements":)"
          R"( {"Devices1": [], "Devices2": [{"key": "5.0.1", "value": "W(5, 1) * 0.02"}]}})");
    for (const char* file : {"lines.json", "formulas.json"}) {
        ASSERT_EQ(Run({"settings", "import", file}).status, 0) << file;
    }

    const Outcome list = Run({"tasks"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out,
              "TASK                METHOD  ELEMENTS  PERIOD\n"
              "\\Scripts\\Formulas\\  1              1  48 h back from the run\n"
              "\\Scripts\\Lines\\     0              2  2025-01-01 00:00:00 .. 2025-01-08 00:00:00\n");
    const Outcome json = Run({"tasks", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::parse(R"([
        {"task_key": "\\Scripts\\Formulas\\", "scenario": "Formulas", "ready": true, "method": 1,
         "method_name": "2. Расчет по произвольной формуле", "elements": 1, "period": {"type": "depth", "hours": 48},
         "additional": null},
        {"task_key": "\\Scripts\\Lines\\", "scenario": "Lines", "ready": true, "method": 0,
         "method_name": "1. Расчет потерь в линии передачи и трансформаторах", "elements": 2,
         "period": {"type": "fixed", "begin": "2025-01-01 00:00:00", "end": "2025-01-08 00:00:00"}, "additional": null}])"));

    struct Step {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> listed; // task keys afterwards
    };
    const Step steps[] = {
        {{"tasks", "copy", "\\Scripts\\Lines\\", "\\Scripts\\Copy"}, 0, {"Copy", "Formulas", "Lines"}},
        {{"tasks", "copy", "\\Scripts\\Lines\\", "\\Scripts\\Copy"}, 1, {"Copy", "Formulas", "Lines"}},
        {{"tasks", "copy", "\\Scripts\\Lines\\", "\\Scripts\\LINES\\"}, 1, {"Copy", "Formulas", "Lines"}},
        {{"tasks", "rename", "\\Scripts\\Copy\\", "\\Scripts\\Formulas\\", "--force"},
         0,
         {"Formulas", "Lines"}},
        {{"tasks", "delete", "\\Scripts\\Lines\\"}, 0, {"Formulas"}},
        {{"tasks", "delete", "\\Scripts\\Lines\\"}, 1, {"Formulas"}},
        {{"tasks", "rename", "\\Scripts\\Nothing\\", "\\Scripts\\Else\\"}, 1, {"Formulas"}},
    };
    for (const Step& step : steps) {
        const Outcome outcome = Run(step.args);
        EXPECT_EQ(outcome.status, step.status) << fmt::format("{}", fmt::join(step.args, " ")) << outcome.err;
        std::vector<std::string> listed;
        for (const auto& task : nlohmann::json::parse(Run({"tasks", "--json"}).out)) {
            listed.push_back(task["scenario"]);
        }
        EXPECT_EQ(listed, step.listed) << fmt::format("{}", fmt::join(step.args, " "));
    }
    // The renamed copy took the method-0 settings over the formula task.
    const auto renamed = nlohmann::json::parse(Run({"tasks", "--json"}).out);
    EXPECT_EQ(renamed[0]["method"], 0);
    EXPECT_EQ(renamed[0]["elements"], 2);

    const Outcome missing = Run({"results", "export", "\\Scripts\\Lines\\"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("there is no task \\Scripts\\Lines\\"), std::string::npos) << missing.err;
}

} // namespace
} // namespace tl::host
