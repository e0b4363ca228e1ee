#include "settings_test_support.hpp"
#include "tlcommon/format_settings.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlsettings/required_settings.hpp"
#include "tlsettings/task_keys.hpp"
#include "tlsettings/task_settings_model.hpp"

#include <fmt/format.h>
#include <stdexcept>

namespace tl::settings {
namespace {

using Lines = std::vector<std::string>;

constexpr std::string_view kTaskKey = "\\Scripts\\Losses1\\";
constexpr std::string_view kTask = "\\Scripts\\Losses1\\Object\\";
constexpr std::string_view kDevices1 = "\\Scripts\\Losses1\\Devices1\\";
constexpr std::string_view kDevices2 = "\\Scripts\\Losses1\\Devices2\\";

// Complete coefficient records (a 35 kV line, secondary channel 2), one written with commas.
constexpr std::string_view kCompleteWithCommas = "1;1;3;2;0,1;10;5;0;0,5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;";
constexpr std::string_view kComplete = "1;1;3;2;0.1;10;5;0;0.5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;";
constexpr std::string_view kIncomplete = "1;1;3;0;0.1;10;5;0;0.5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;";

const DateTime kToday = EncodeDate(2024, 3, 15);

// Every field, so that whole settings compare at once.
std::string Text(const TaskSettings& s) {
    return fmt::format("{} {} {} {} {} {} {} {} {} {} {} [{}]", s.deep_base, s.adv_par_number, s.deep_adv,
                       s.begin_date_time, s.end_date_time, s.begin_date_time_adv, s.end_date_time_adv,
                       s.interval_type, s.interval_type_adv, s.par_number, s.method, s.common_script);
}

class TaskSettingsModelTest : public testing::SettingsDatabaseTest {
protected:
    void SetUp() override {
        SettingsDatabaseTest::SetUp();
        SetSystemDecimalSeparator('.');
    }
    void TearDown() override {
        ResetSystemFormat();
        SettingsDatabaseTest::TearDown();
    }

    TaskSettingsModel Loaded() {
        TaskSettingsModel model{std::string(kTaskKey)};
        model.Load(config_, kToday);
        return model;
    }
};

TEST_F(TaskSettingsModelTest, ANeverSavedTaskReadsTheDialogDefaults) {
    const TaskSettingsModel model = Loaded();
    TaskSettings expected; // a week back from today's midnight, everything else zero or empty
    expected.begin_date_time = expected.begin_date_time_adv = EncodeDate(2024, 3, 8);
    expected.end_date_time = expected.end_date_time_adv = kToday;
    EXPECT_EQ(Text(model.Settings()), Text(expected));
    EXPECT_TRUE(model.Elements(0).empty());
    EXPECT_TRUE(model.Elements(1).empty());
    // Loading converted both (empty) element sections and marked them done.
    EXPECT_EQ(Dump(kTask), (Lines{"UpdateFormat0=0", "UpdateFormat1=0"}));
}

TEST_F(TaskSettingsModelTest, SaveWritesInItsOrderAndRemovesWhatItDoesNotWriteAgain) {
    config_.WriteBool(kTask, kSCUseCalcEvType, false);
    config_.WriteString(kTask, "Foreign", "x");
    config_.WriteString(kDevices1, "100.0.1", kComplete);
    TaskSettingsModel model = Loaded();
    TaskSettings& s = model.Settings();
    s.deep_base = 29;
    s.adv_par_number = true;
    s.par_number = 4;
    s.deep_adv = 2;
    s.interval_type = 1;
    s.begin_date_time = EncodeDate(2024, 1, 9) + 0.5;
    s.end_date_time = EncodeDate(2024, 1, 10) + 0.5;
    s.common_script = "// общая часть";
    model.AddElement(0, {100, 0, 2}).params->LoadFromText(kComplete);
    model.FindElement(0, {100, 0, 2})->changed = true;
    model.AddElement(0, {100, 0, 3}); // a new, incomplete record

    testing::RecordingConfig recording;
    model.Save(recording);
    const std::string task(kTask);
    const std::string devices(kDevices1);
    EXPECT_EQ(recording.writes,
              (Lines{"EraseSection " + task, "WriteInteger " + task + " DeepBase",
                     "WriteBool " + task + " AdvParNumber", "WriteInteger " + task + " DeepAdv",
                     "WriteDateTime " + task + " BeginDateTime", "WriteDateTime " + task + " EndDateTime",
                     "WriteDateTime " + task + " BeginDateTimeAdv",
                     "WriteDateTime " + task + " EndDateTimeAdv", "WriteInteger " + task + " IntervalType",
                     "WriteInteger " + task + " IntervalTypeAdv", "WriteInteger " + task + " ParNumber",
                     "WriteInteger " + task + " Method", "WriteString " + devices + " 100.0.2",
                     "DeleteKey " + devices + " 100.0.3", "WriteString " + task + " CommonScript"}));
    EXPECT_FALSE(config_.ValueExists(kTask, "Foreign"));
    EXPECT_TRUE(config_.ReadBool(kTask, kSCUseCalcEvType, true)); // absent: its default again
    EXPECT_TRUE(HasRequiredSettings(config_, kTask));
    EXPECT_EQ(Text(Loaded().Settings()), Text(s));
}

TEST_F(TaskSettingsModelTest, ElementRecordsAreLoadedForBothMethodsAndSavedForTheSelectedOne) {
    const std::vector<std::pair<std::string, std::string>> coefficients = {
        {"100.0.1", std::string(kCompleteWithCommas)}, // unchanged: stays as written
        {"100.0.2", std::string(kComplete)},           // changed below: rewritten
        {"100.0.3", std::string(kIncomplete)},         // incomplete: deleted
        {"100.0.4", "1;2;3"},                          // does not parse: deleted
        {"100.0.5", std::string(kComplete)},           // removed below: deleted
        {"Comment", "x"},                              // no element: left alone
        {"100.0.-1", std::string(kComplete)},          // no element: left alone
        {"100.0.6", ""},                               // empty: left alone
    };
    const std::vector<std::pair<std::string, std::string>> formulas = {
        {"1.2.3", "P(1, 2, 3)"}, {"7.8", "W(7, 0, 8)"}, // older form: converted first, then read
        {"a.b.c", "x"},          {"-1.0.5", "x"},          {"1.0.5", ""},
        {"1.0.5.6", "x"},        {"+4.0.1", "W(4, 0, 1)"},
    };
    for (const auto& [key, value] : coefficients) {
        config_.WriteString(kDevices1, key, value);
    }
    for (const auto& [key, value] : formulas) {
        config_.WriteString(kDevices2, key, value);
    }

    TaskSettingsModel model = Loaded();
    Lines loaded;
    for (const ElementRecord& element : model.Elements(1)) {
        loaded.push_back(ElementKey(element.address) + "=" + element.params->SaveToText());
    }
    EXPECT_EQ(loaded, (Lines{"1.2.3=P(1, 2, 3)", "7.0.8=W(7, 0, 8)", "4.0.1=W(4, 0, 1)"}));
    ASSERT_EQ(model.Elements(0).size(), 5u);
    EXPECT_FALSE(model.FindElement(0, {100, 0, 4})->HasRecord());
    EXPECT_TRUE(model.FindElement(0, {100, 0, 1})->IsComplete());
    static_cast<TMethod1Obj&>(*model.FindElement(0, {100, 0, 2})->params).r0 = 0.25;
    model.FindElement(0, {100, 0, 2})->changed = true;
    EXPECT_TRUE(model.RemoveElement(0, {100, 0, 5}));
    model.FindElement(1, {1, 2, 3})->params->LoadFromText("P(1, 2, 3) * 2");
    model.FindElement(1, {1, 2, 3})->changed = true;
    EXPECT_TRUE(model.RemoveElement(1, {7, 0, 8}));
    EXPECT_TRUE(model.AddElement(1, {26, 99, 3}).changed); // a new default formula
    const Lines formulas_before = Dump(kDevices2);
    model.Save(config_);

    const Lines coefficients_saved = {
        "100.0.1=" + std::string(kCompleteWithCommas),
        "100.0.2=1;1;3;2;0.25;10.00;5.00;0;0.50;35;35;0;700;0.00;0.00;0.00;0.00;0.00;0;0;0;0;0;;",
        "Comment=x",
        "100.0.-1=" + std::string(kComplete),
        "100.0.6=",
    };
    EXPECT_EQ(Dump(kDevices1), coefficients_saved);
    EXPECT_EQ(Dump(kDevices2), formulas_before); // the other method's changes are not saved

    model.Settings().method = 1;
    model.Save(config_);
    EXPECT_EQ(Dump(kDevices1), coefficients_saved);
    EXPECT_EQ(Dump(kDevices2), (Lines{"1.2.3=P(1, 2, 3) * 2", "a.b.c=x", "-1.0.5=x", "1.0.5=", "1.0.5.6=x",
                                      "+4.0.1=W(4, 0, 1)", "26.99.3=%Result% := W2($1A, 99, 3)"}));
    EXPECT_EQ(config_.ReadInteger(kTask, kMethod, -1), 1);
}

TEST_F(TaskSettingsModelTest, AnUnknownMethodIsRefusedBeforeAnythingIsWritten) {
    config_.WriteInteger(kTask, kDeepBase, 5);
    TaskSettingsModel model = Loaded();
    model.Settings().method = 2;
    const auto before = Dump(kTask);
    EXPECT_THROW(model.Save(config_), std::out_of_range);
    EXPECT_EQ(Dump(kTask), before);
}

} // namespace
} // namespace tl::settings
