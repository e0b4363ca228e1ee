#include "settings_test_support.hpp"
#include "tlsettings/settings_json.hpp"
#include "tlsettings/task_settings_model.hpp"

#include <nlohmann/json.hpp>

namespace tl::settings {
namespace {

constexpr std::string_view kTaskKey = "\\Scripts\\Losses1\\";
constexpr std::string_view kTask = "\\Scripts\\Losses1\\Object\\";
constexpr std::string_view kDevices1 = "\\Scripts\\Losses1\\Devices1\\";
constexpr std::string_view kDevices2 = "\\Scripts\\Losses1\\Devices2\\";
constexpr std::string_view kRecord =
    "1;1;3;2;0.10;10.00;5.00;0;0.50;35;35;0;700;0.00;0.00;0.00;0.00;0.00;0;0;0;0;0;;";

// Every test starts with one task stored.
class SettingsJson : public testing::SettingsDatabaseTest {
protected:
    void SetUp() override {
        SettingsDatabaseTest::SetUp();
        config_.WriteInteger(kTask, kDeepBase, 48);
        config_.WriteBool(kTask, kAdvParNumber, true);
        config_.WriteInteger(kTask, kDeepAdv, 2);
        config_.WriteInteger(kTask, kParNumber, 4);
        config_.WriteDateTime(kTask, kBeginDateTime, EncodeDate(2024, 2, 29) + 0.25);
        config_.WriteInteger(kTask, kMethod, 1);
        config_.WriteString(kTask, kCommonScript, "var k: Float;\r\nk := 0.5; // доля");
        config_.WriteBool(kTask, kSCUseCalcEvType, false);
        config_.WriteString(kDevices1, "100.0.2", kRecord);
        config_.WriteString(kDevices1, "100.0.1", "1;1;3;2;0,1;10;5;0;0,5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;");
        config_.WriteString(kDevices2, "26.99.3", "%Result% := W2($1A, 99, 3)");
    }

    // Everything of the task and a neighbour, to see that nothing changed.
    std::vector<std::string> Snapshot() {
        std::vector<std::string> all;
        for (std::string_view section :
             {kTask, kDevices1, kDevices2, std::string_view("\\Scripts\\Other\\Object\\")}) {
            for (const std::string& line : Dump(section)) {
                all.push_back(std::string(section) + line);
            }
        }
        return all;
    }
};

TEST_F(SettingsJson, ExportThenImportGivesBackTheSameTask) {
    const ExportedSettings exported = ExportTaskSettings(config_, kTaskKey);
    EXPECT_TRUE(exported.warnings.empty());
    // The document's layout is pinned end to end by the tlhost test; the date-time form here.
    EXPECT_EQ(nlohmann::json::parse(exported.json)["task"]["BeginDateTime"], "2024-02-29 06:00:00.000");

    const auto before = Snapshot();
    config_.EraseSection(kTask);
    config_.EraseSection(kDevices1);
    config_.WriteString(kDevices2, "1.0.1", "stale");
    WriteTaskSettings(config_, ParseTaskSettingsJson(exported.json));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(ExportTaskSettings(config_, kTaskKey).json, exported.json);
}

TEST_F(SettingsJson, ExportLeavesOutWhatNoReaderWouldTake) {
    config_.WriteString(kTask, "Foreign", "x");
    config_.WriteString(kTask, kIntervalType, "two");
    config_.WriteString(kDevices1, "100.5", kRecord);
    config_.WriteString(kDevices1, "100.0.3", "1;2;3");
    config_.WriteString(kDevices2, "100.0.4", "");
    const ExportedSettings exported = ExportTaskSettings(config_, kTaskKey);
    const std::string expected[] = {"Foreign", "IntervalType: the stored value is not integer",
                                    "100.5: the key is not an element address",
                                    "100.0.3: the coefficient record does not parse: Число полей 3",
                                    "100.0.4: the value is empty"};
    ASSERT_EQ(exported.warnings.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_NE(exported.warnings[i].find(expected[i]), std::string::npos) << exported.warnings[i];
    }
    // What is exported can be imported.
    EXPECT_NO_THROW(ParseTaskSettingsJson(exported.json));
}

TEST_F(SettingsJson, ImportRefusesAFaultyDocumentAndChangesNothing) {
    const std::string good = ExportTaskSettings(config_, kTaskKey).json;
    struct Case {
        std::string json;
        std::string message; // a fragment
    };
    using J = nlohmann::ordered_json;
    const J erase(J::value_t::discarded);
    // The good document with the values at those JSON pointers replaced, or erased.
    const auto with = [&good](std::initializer_list<std::pair<const char*, J>> changes) {
        J document = J::parse(good);
        for (const auto& [pointer, value] : changes) {
            const J::json_pointer at(pointer);
            if (value.is_discarded()) {
                document[at.parent_pointer()].erase(at.back());
            } else {
                document[at] = value;
            }
        }
        return document.dump();
    };
    // The required DeepBase and a NUL in the common script are refused by the fuzz regressions.
    const std::vector<Case> cases = {
        {good.substr(0, good.size() / 2), "malformed JSON: parse error at line"},
        {"[]", "document: expected a JSON object"},
        {with({{"/comment", "x"}}), "document: unknown member \"comment\""},
        {with({{"/task", erase}}), "document: the member \"task\" is missing"},
        {with({{"/format", "other"}}), "format: expected \"tlosses-task-settings\""},
        {with({{"/version", 2}}), "version: expected 1, got 2"},
        {with({{"/task_key", "Losses1"}}), "task_key: expected a task key of the form"},
        {with({{"/task/Deepbase", 1}}), "task.Deepbase: not a key of a task section"},
        {with({{"/task/DeepBase", "48"}}), "task.DeepBase: expected integer, got \"48\""},
        {with({{"/task/DeepBase", 4294967296LL}}), "task.DeepBase: 4294967296 does not fit"},
        {with({{"/task/AdvParNumber", 1}}), "task.AdvParNumber: expected boolean"},
        {with({{"/task/BeginDateTime", "2024-02-30 00:00:00"}}), "task.BeginDateTime: expected"},
        {with({{"/task/EndDateTime", 45000.5}}), "task.EndDateTime: expected date-time"},
        {with({{"/task/CommonScript", nullptr}}), "task.CommonScript: expected string, got null"},
        {with({{"/elements/Devices3", J::array()}}), "elements: unknown member \"Devices3\""},
        {with({{"/elements/Devices1", J::object()}}), "elements.Devices1: expected an array"},
        {with({{"/elements/Devices2/0/key", "26.99"}}),
         "elements.Devices2[0].key: \"26.99\" is not an element address"},
        {with({{"/elements/Devices2/0/value", 5}}), "elements.Devices2[0].value: expected a string"},
        {with({{"/elements/Devices2/0/value", erase}}),
         "elements.Devices2[0]: the member \"value\" is missing"},
        {with({{"/elements/Devices1/1/key", "100.0.2"}}),
         "elements.Devices1[1].key: the element 100.0.2 is listed twice"},
        {with({{"/elements/Devices1/1/value", "1;1;3;2;0.1;10"}}),
         "elements.Devices1[1].value: the coefficient record does not parse: Число полей 6"},
        {with({{"/elements/Devices1/0/value", std::string(kRecord).replace(4, 1, "x")}}),
         "elements.Devices1[0].value: the coefficient record does not parse: Поле 3"},
        // Well typed, but no run could use it.
        {with({{"/task/ParNumber", erase}}), "task: the required key \"ParNumber\" is missing"},
        {with({{"/task/Method", 2}}), "task.Method: expected 0 (defined formula) or 1"},
        {with({{"/task/ParNumber", 8}}), "task.ParNumber: expected 0..7, got 8"},
        {with({{"/task/ParNumber", -1}}), "task.ParNumber: expected 0..7, got -1"},
        {with({{"/task/EndDateTime", "2024-02-29 05:59:59.999"}}),
         "task.EndDateTime: 2024-02-29 05:59:59.999 lies before task.BeginDateTime 2024-02-29 06:00:00.000"},
        {with({{"/task/BeginDateTimeAdv", "2024-03-02 00:00:00"},
               {"/task/EndDateTimeAdv", "2024-03-01 00:00:00"}}),
         "task.EndDateTimeAdv: 2024-03-01 00:00:00.000 lies before task.BeginDateTimeAdv"},
        {with({{"/task/DeepBase", 2147483647}}),
         "task.DeepBase: 2147483647 hours back from now leave the calendar"},
        {with({{"/task/DeepAdv", -2147483647}}),
         "task.DeepAdv: -2147483647 hours back from now leave the calendar"},
        // 2030 years back from 2024.
        {with({{"/task/IntervalType", 1}, {"/task/DeepAdv", 17800000}}),
         "task.DeepAdv: 17800000 hours back from the base end 2024-02-29 06:00:00.000 leave the calendar"},
        {with({{"/task_key", std::string("\\Scripts\\Loss\0es1\\", 18)}}), "task_key: holds a NUL character"},
        {with({{"/elements/Devices2/0/value", std::string("W(1, 1)\0", 8)}}),
         "elements.Devices2[0].value: holds a NUL character"},
    };
    const auto before = Snapshot();
    for (const Case& c : cases) {
        try {
            WriteTaskSettings(config_, ParseTaskSettingsJson(c.json));
            ADD_FAILURE() << "imported: " << c.json;
        } catch (const SettingsJsonError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << "message: " << e.what() << "\nexpected: " << c.message;
        }
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(SettingsJson, AnImportThatFailsHalfWayIsRolledBack) {
    const auto before = Snapshot();
    auto document = ParseTaskSettingsJson(ExportTaskSettings(config_, kTaskKey).json);
    document.elements[1].push_back({"27.99.1", "W(27, 99, 1)"});
    testing::RecordingConfig failing;
    failing.fail_at_write = 10; // after the erasures and some of the writes
    EXPECT_THROW(WriteTaskSettings(failing, document), SvcConfigError);
    EXPECT_EQ(Snapshot(), before);
    // The connection is usable afterwards and the same import goes through.
    WriteTaskSettings(config_, document);
    EXPECT_TRUE(config_.ValueExists(kDevices2, "27.99.1"));
}

} // namespace
} // namespace tl::settings
