#include "settings_test_support.hpp"
#include "tlcommon/format_settings.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlparams/method2_obj.hpp"
#include "tlsettings/required_settings.hpp"
#include "tlsettings/task_keys.hpp"
#include "tlsettings/task_settings_model.hpp"

#include <stdexcept>

namespace tl::settings {
namespace {

constexpr std::string_view kTaskKey = "\\Scripts\\Losses1\\";
constexpr std::string_view kTask = "\\Scripts\\Losses1\\Object\\";
constexpr std::string_view kDevices1 = "\\Scripts\\Losses1\\Devices1\\";
constexpr std::string_view kDevices2 = "\\Scripts\\Losses1\\Devices2\\";

// Complete coefficient records (a 35 kV line, secondary channel 2), one written with commas.
constexpr std::string_view kCompleteWithCommas = "1;1;3;2;0,1;10;5;0;0,5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;";
constexpr std::string_view kComplete = "1;1;3;2;0.1;10;5;0;0.5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;";
constexpr std::string_view kIncomplete = "1;1;3;0;0.1;10;5;0;0.5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;";

const DateTime kToday = EncodeDate(2024, 3, 15);

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

TEST_F(TaskSettingsModelTest, ANeverSavedTaskReadsTheDialogDefaultsAndFailsTheCheck) {
    const TaskSettingsModel model = Loaded();
    const TaskSettings& s = model.Settings();
    EXPECT_EQ(s.interval_type, 0);
    EXPECT_EQ(s.deep_base, 0);
    EXPECT_EQ(s.method, 0);
    EXPECT_FALSE(s.adv_par_number);
    EXPECT_EQ(s.common_script, "");
    EXPECT_EQ(s.begin_date_time, EncodeDate(2024, 3, 8));
    EXPECT_EQ(s.end_date_time, kToday);
    EXPECT_EQ(s.begin_date_time_adv, EncodeDate(2024, 3, 8));
    EXPECT_EQ(s.end_date_time_adv, kToday);
    EXPECT_TRUE(model.Elements(0).empty());
    EXPECT_TRUE(model.Elements(1).empty());
    EXPECT_FALSE(HasRequiredSettings(config_, kTask));
    // Loading converted both (empty) element sections and marked them done.
    EXPECT_EQ(Dump(kTask), (std::vector<std::string>{"UpdateFormat0=0", "UpdateFormat1=0"}));
}

TEST_F(TaskSettingsModelTest, SaveKeepsItsOrder) {
    config_.WriteString(kDevices1, "100.0.1", kComplete);
    TaskSettingsModel model = Loaded();
    model.Settings().common_script = "var k: Float;";
    model.AddElement(0, {100, 0, 2}).params->LoadFromText(kComplete);
    model.FindElement(0, {100, 0, 2})->changed = true;
    model.AddElement(0, {100, 0, 3}); // a new, incomplete record

    testing::RecordingConfig recording;
    model.Save(recording);
    const std::string task(kTask);
    const std::string devices(kDevices1);
    EXPECT_EQ(recording.writes, (std::vector<std::string>{
                                    "EraseSection " + task,
                                    "WriteInteger " + task + " DeepBase",
                                    "WriteBool " + task + " AdvParNumber",
                                    "WriteInteger " + task + " DeepAdv",
                                    "WriteDateTime " + task + " BeginDateTime",
                                    "WriteDateTime " + task + " EndDateTime",
                                    "WriteDateTime " + task + " BeginDateTimeAdv",
                                    "WriteDateTime " + task + " EndDateTimeAdv",
                                    "WriteInteger " + task + " IntervalType",
                                    "WriteInteger " + task + " IntervalTypeAdv",
                                    "WriteInteger " + task + " ParNumber",
                                    "WriteInteger " + task + " Method",
                                    "WriteString " + devices + " 100.0.2",
                                    "DeleteKey " + devices + " 100.0.3",
                                    "WriteString " + task + " CommonScript",
                                }));
}

TEST_F(TaskSettingsModelTest, SaveRemovesWhatItDoesNotWriteAgain) {
    config_.WriteBool(kTask, kSCUseCalcEvType, false);
    config_.WriteString(kTask, "Foreign", "x");
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
    model.Save(config_);

    std::vector<std::string> keys = config_.ReadSection(kTask);
    EXPECT_EQ(keys,
              (std::vector<std::string>{"DeepBase", "AdvParNumber", "DeepAdv", "BeginDateTime", "EndDateTime",
                                        "BeginDateTimeAdv", "EndDateTimeAdv", "IntervalType",
                                        "IntervalTypeAdv", "ParNumber", "Method", "CommonScript"}));
    EXPECT_TRUE(config_.ReadBool(kTask, kSCUseCalcEvType, true)); // absent: its default again
    EXPECT_TRUE(HasRequiredSettings(config_, kTask));

    const TaskSettingsModel again = Loaded();
    EXPECT_EQ(again.Settings().deep_base, 29);
    EXPECT_EQ(again.Settings().par_number, 4);
    EXPECT_EQ(again.Settings().interval_type, 1);
    EXPECT_EQ(again.Settings().begin_date_time, EncodeDate(2024, 1, 9) + 0.5);
    EXPECT_EQ(again.Settings().end_date_time, EncodeDate(2024, 1, 10) + 0.5);
    EXPECT_EQ(again.Settings().end_date_time_adv, kToday); // saved from the defaults
    EXPECT_EQ(again.Settings().common_script, "// общая часть");
    // The load after the save converted both sections again.
    EXPECT_FALSE(config_.ReadBool(kTask, kUpdateFormat0, true));
    EXPECT_FALSE(config_.ReadBool(kTask, kUpdateFormat1, true));
}

TEST_F(TaskSettingsModelTest, ElementRecordsOfTheSelectedMethod) {
    const std::vector<std::pair<std::string, std::string>> stored = {
        {"100.0.1", std::string(kCompleteWithCommas)}, // unchanged: stays as written
        {"100.0.2", std::string(kComplete)},           // changed below: rewritten
        {"100.0.3", std::string(kIncomplete)},         // incomplete: deleted
        {"100.0.4", "1;2;3"},                          // does not parse: deleted
        {"100.0.5", std::string(kComplete)},           // removed below: deleted
        {"Comment", "x"},                              // no element: left alone
        {"100.0.-1", std::string(kComplete)},          // no element: left alone
        {"100.0.6", ""},                               // empty: left alone
    };
    for (const auto& [key, value] : stored) {
        config_.WriteString(kDevices1, key, value);
    }
    config_.WriteString(kDevices2, "100.0.1", "W(100, 0, 1)");
    config_.WriteString(kDevices2, "100.0.9", "W(100, 0, 9)");

    TaskSettingsModel model = Loaded();
    ASSERT_EQ(model.Elements(0).size(), 5u);
    EXPECT_FALSE(model.FindElement(0, {100, 0, 4})->HasRecord());
    EXPECT_TRUE(model.FindElement(0, {100, 0, 1})->IsComplete());
    auto& changed = static_cast<TMethod1Obj&>(*model.FindElement(0, {100, 0, 2})->params);
    changed.r0 = 0.25;
    model.FindElement(0, {100, 0, 2})->changed = true;
    EXPECT_TRUE(model.RemoveElement(0, {100, 0, 5}));
    // Changes to the other method's records are not saved with this one.
    model.FindElement(1, {100, 0, 1})->params->LoadFromText("W(100, 0, 1) * 2");
    model.FindElement(1, {100, 0, 1})->changed = true;
    model.RemoveElement(1, {100, 0, 9});
    model.Save(config_);

    EXPECT_EQ(Dump(kDevices1),
              (std::vector<std::string>{
                  "100.0.1=" + std::string(kCompleteWithCommas),
                  "100.0.2=1;1;3;2;0.25;10.00;5.00;0;0.50;35;35;0;700;0.00;0.00;0.00;0.00;0.00;0;0;0;0;0;;",
                  "Comment=x",
                  "100.0.-1=" + std::string(kComplete),
                  "100.0.6=",
              }));
    EXPECT_EQ(Dump(kDevices2), (std::vector<std::string>{"100.0.1=W(100, 0, 1)", "100.0.9=W(100, 0, 9)"}));
}

TEST_F(TaskSettingsModelTest, SavingTheFormulaMethodLeavesTheCoefficientSectionAsItWas) {
    const std::vector<std::string> coefficients = {"100.0.1=" + std::string(kComplete),
                                                   "100.0.2=" + std::string(kIncomplete), "100.0.3=1;2"};
    for (const std::string& line : coefficients) {
        config_.WriteString(kDevices1, line.substr(0, 7), line.substr(8));
    }
    TaskSettingsModel model = Loaded();
    model.Settings().method = 1;
    model.RemoveElement(0, {100, 0, 1});
    ElementRecord& added = model.AddElement(1, {26, 99, 3});
    EXPECT_TRUE(added.changed);
    model.Save(config_);

    EXPECT_EQ(Dump(kDevices1), coefficients);
    EXPECT_EQ(Dump(kDevices2), (std::vector<std::string>{"26.99.3=%Result% := W2($1A, 99, 3)"}));
    EXPECT_EQ(config_.ReadInteger(kTask, kMethod, -1), 1);
}

TEST_F(TaskSettingsModelTest, LoadingTakesOnlyElementKeysWithAValueAfterConvertingThem) {
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"1.2.3", "P(1, 2, 3)"},
             {"7.8", "W(7, 0, 8)"}, // older form: converted first, then read
             {"a.b.c", "x"},
             {"-1.0.5", "x"},
             {"1.0.5", ""},
             {"1.0.5.6", "x"},
             {"+4.0.1", "W(4, 0, 1)"},
         }) {
        config_.WriteString(kDevices2, key, value);
    }
    const TaskSettingsModel model = Loaded();
    std::vector<std::string> loaded;
    for (const ElementRecord& element : model.Elements(1)) {
        loaded.push_back(ElementKey(element.address) + "=" + element.params->SaveToText());
    }
    EXPECT_EQ(loaded, (std::vector<std::string>{"1.2.3=P(1, 2, 3)", "7.0.8=W(7, 0, 8)", "4.0.1=W(4, 0, 1)"}));
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
