// The settings dialog's logic on a real settings store: pairing, the method switch, the list
// commands with their questions, the script check before a save, and what a save writes.
#include "dialog_fakes.hpp"
#include "settings_test_support.hpp"
#include "tldialogs/task_dialog_model.hpp"
#include "tlparams/method1_obj.hpp"

#include <gtest/gtest.h>

namespace tl::dialogs::testing {
namespace {

using settings::testing::RecordingConfig;
using settings::testing::SettingsDatabaseTest;

constexpr std::string_view kTaskKey = "\\Scripts\\T\\";
constexpr std::string_view kTaskSection = "\\Scripts\\T\\Object\\";
constexpr std::string_view kCoefficients = "\\Scripts\\T\\Devices1\\";
constexpr std::string_view kFormulas = "\\Scripts\\T\\Devices2\\";

// A complete line record of an active received channel whose secondary is item 2.
constexpr std::string_view kLine3to2 =
    "1;0;2;2;0.10;10.00;0.00;0;0.50;35;35;0;700;0.00;0.00;0.00;0.00;0.00;0;0;0;0;0;;";
constexpr std::string_view kLine2to3 =
    "1;2;0;3;0.10;10.00;0.00;0;0.50;35;35;0;700;0.00;0.00;0.00;0.00;0.00;0;0;0;0;0;;";

CatalogueEntry Channel(int32_t device, int32_t item, int32_t kind) {
    return {{device, 0, item}, "К" + std::to_string(item), "ПС" + std::to_string(device), kind};
}

class TaskDialogModelTest : public SettingsDatabaseTest {
protected:
    void SetUp() override {
        SettingsDatabaseTest::SetUp();
        catalogue_ = ElementCatalogue({Channel(26, 1, 0),
                                       Channel(26, 2, 2),
                                       Channel(26, 3, 0),
                                       Channel(26, 4, 2),
                                       Channel(27, 1, 2),
                                       {{0, 2, 7}, "Абонент", "", std::nullopt}});
    }

    // Both stored methods: the paired channels 26.0.3 and 26.0.2, and three formulas.
    void StoreTask(int method) {
        config_.WriteInteger(kTaskSection, "Method", method);
        config_.WriteString(kCoefficients, "26.0.3", kLine3to2);
        config_.WriteString(kCoefficients, "26.0.2", kLine2to3);
        for (const char* key : {"26.0.1", "26.0.2", "26.0.3"}) {
            config_.WriteString(kFormulas, key, std::string("W(26, ") + key[5] + ")");
        }
    }

    TaskDialogModel& Open() {
        model_ = std::make_unique<TaskDialogModel>(
            std::string(kTaskKey), recording_, catalogue_,
            TaskDialogServices{&boxes_, &selection_, &editors_, &panel_, &checker_});
        model_->Load(EncodeDate(2026, 3, 10));
        recording_.writes.clear();
        panel_.texts.clear();
        boxes_.questions.clear();
        return *model_;
    }

    const TMethod1Obj& Coefficients(const ElementAddress& address) {
        const settings::ElementRecord* element = model_->Element(address);
        EXPECT_TRUE(element != nullptr && element->HasRecord()) << settings::ElementKey(address);
        static const TMethod1Obj kNone;
        return element != nullptr && element->HasRecord() ? static_cast<const TMethod1Obj&>(*element->params)
                                                          : kNone;
    }
    std::string Formula(const ElementAddress& address) {
        const settings::ElementRecord* element = model_->Element(address);
        return element != nullptr && element->HasRecord() ? element->params->SaveToText() : "<none>";
    }

    ElementCatalogue catalogue_;
    RecordingConfig recording_;
    ScriptedBoxes boxes_;
    ScriptedSelection selection_;
    ScriptedEditors editors_;
    RecordingPanel panel_;
    ScriptedChecker checker_;
    std::unique_ptr<TaskDialogModel> model_;
};

TEST_F(TaskDialogModelTest, AddedChannelsPairWithTheNearestFreeChannelOfTheOtherKindOnTheirDevice) {
    struct Case {
        ElementAddress added;
        int32_t secondary; // 0: none found
    } const cases[] = {
        {{26, 0, 1}, 4}, // reactive wanted, searched upwards: 2 is paired, 3 is active
        {{26, 0, 4}, 1}, // active wanted, searched downwards: 3 is paired, 2 is reactive
        {{27, 0, 1}, 0}, // the only channel of its device
        {{0, 2, 7}, 0},  // a client has no kind
    };
    StoreTask(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(settings::ElementKey(c.added));
        TaskDialogModel& model = Open();
        EXPECT_FALSE(model.ListChanged()) << "the stored pair is consistent";
        selection_.next = std::vector<ElementAddress>{{26, 0, 2}, {26, 0, 3}, c.added};
        EXPECT_EQ(model.ConfigureList(), c.added);
        const TMethod1Obj& added = Coefficients(c.added);
        EXPECT_EQ(added.SecondarySensor, c.secondary);
        if (c.secondary != 0) {
            const TMethod1Obj& partner = Coefficients({c.added.object_code, 0, c.secondary});
            EXPECT_EQ(partner.SecondarySensor, c.added.item);
            EXPECT_EQ(partner.SensorType, added.SecondarySensorType);
            EXPECT_EQ(partner.SecondarySensorType, added.SensorType);
        }
        EXPECT_EQ(Coefficients({26, 0, 3}).SecondarySensor, 2) << "a paired channel keeps its partner";
        EXPECT_TRUE(model.ListChanged());
    }
}

TEST_F(TaskDialogModelTest, TheSelectionWindowIsPresetWithTheElementsThatHaveRecords) {
    struct Case {
        int method;
        int32_t offered;
        std::vector<ElementAddress> records;
    } const cases[] = {
        {0, 16, {{26, 0, 3}, {26, 0, 2}}}, // in stored order
        {1, 52, {{26, 0, 1}, {26, 0, 2}, {26, 0, 3}}},
    };
    for (const Case& c : cases) {
        StoreTask(c.method);
        TaskDialogModel& model = Open();
        selection_.next.reset();
        EXPECT_EQ(model.ConfigureList(), std::nullopt);
        EXPECT_EQ(selection_.options, (SelectionOptions{263, c.offered, -1, 0, 0}));
        EXPECT_EQ(selection_.preselected, c.records);
        EXPECT_FALSE(model.ListChanged()) << "a window left without OK changes nothing";
    }
}

TEST_F(TaskDialogModelTest, LoadingGivesAStoredChannelItsMissingPartnerAsAChange) {
    config_.WriteString(kCoefficients, "26.0.3", kLine3to2);
    TaskDialogModel& model = Open();
    const TMethod1Obj& partner = Coefficients({26, 0, 2});
    EXPECT_EQ(partner.SecondarySensor, 3);
    EXPECT_EQ(partner.SensorType, 2);
    EXPECT_EQ(partner.r0, 0.10) << "an incomplete partner takes the element's values";
    EXPECT_TRUE(model.Element({26, 0, 2})->changed);
    EXPECT_FALSE(model.Element({26, 0, 3})->changed);
    EXPECT_TRUE(model.ListChanged());
}

TEST_F(TaskDialogModelTest, SwitchingTheMethodAsksToSaveOnlyAChangedList) {
    for (const Answer answer : {Answer::kYes, Answer::kNo}) {
        StoreTask(0);
        TaskDialogModel& model = Open();
        model.SelectMethod(1);
        model.SelectMethod(0);
        EXPECT_TRUE(boxes_.questions.empty()) << "nothing changed, nothing asked";

        editors_.coefficients = [](TMethod1Obj& record) { record.r0 = 0.25; };
        ASSERT_TRUE(model.EditElement({26, 0, 3}));
        boxes_.answers = {answer};
        model.SelectMethod(1);
        EXPECT_EQ(boxes_.questions,
                  std::vector<std::string>{"Сохранение: Настройки были изменены. Сохранить?"});
        const std::string stored = config_.ReadString(kCoefficients, "26.0.3", "");
        EXPECT_EQ(stored.starts_with("1;0;2;2;0.25;"), answer == Answer::kYes) << stored;
        EXPECT_FALSE(model.ListChanged());
        model.SelectMethod(0);
        EXPECT_EQ(Coefficients({26, 0, 3}).r0, answer == Answer::kYes ? 0.25 : 0.10);
        EXPECT_EQ(boxes_.questions.size(), 1u);
    }
}

// The order of a save and what it leaves alone are the settings model's own test.
TEST_F(TaskDialogModelTest, SaveWritesChangedRecordsAndDeletesDroppedOnes) {
    StoreTask(0);
    TaskDialogModel& model = Open();
    // The operator moves 26.0.3's secondary channel from 2 to 4: 2 is dropped, 4 is paired.
    editors_.coefficients = [](TMethod1Obj& record) { record.SecondarySensor = 4; };
    ASSERT_TRUE(model.EditElement({26, 0, 3}));
    EXPECT_FALSE(model.Element({26, 0, 2})->HasRecord());
    ASSERT_TRUE(model.Save());
    std::vector<std::string> element_writes;
    for (const std::string& write : recording_.writes) {
        if (write.find("Devices") != std::string::npos) {
            element_writes.push_back(write);
        }
    }
    EXPECT_EQ(element_writes, (std::vector<std::string>{"WriteString \\Scripts\\T\\Devices1\\ 26.0.3",
                                                        "DeleteKey \\Scripts\\T\\Devices1\\ 26.0.2",
                                                        "WriteString \\Scripts\\T\\Devices1\\ 26.0.4"}));
}

TEST_F(TaskDialogModelTest, PasteAsksPerConfiguredRowUntilAnAnswerForAll) {
    struct Case {
        std::deque<Answer> answers;
        size_t questions;
        std::vector<bool> replaced; // 26.0.2, 26.0.3, 27.0.1
    } const cases[] = {
        {{Answer::kYesToAll}, 1, {true, true, true}},
        {{Answer::kNoToAll}, 1, {false, false, false}},
        {{Answer::kNo, Answer::kYesToAll}, 2, {false, true, true}},
        {{Answer::kYes, Answer::kNo, Answer::kYes}, 3, {true, false, true}},
    };
    StoreTask(1);
    config_.WriteString(kFormulas, "27.0.1", "W(27, 1)");
    for (const Case& c : cases) {
        TaskDialogModel& model = Open();
        editors_.formula = "P(26, 1)";
        ASSERT_TRUE(model.EditElement({26, 0, 1}));
        EXPECT_FALSE(model.CanPaste());
        model.Copy({26, 0, 1});
        boxes_.answers = c.answers;
        model.Paste({{26, 0, 1}, {26, 0, 2}, {26, 0, 3}, {27, 0, 1}});
        EXPECT_EQ(boxes_.questions.size(), c.questions);
        EXPECT_EQ(boxes_.questions.front(), "Подтверждение: Объект \"($001A.0.2) ПС26.К2\" имеет настроенные "
                                            "параметры. Заменить?");
        const ElementAddress targets[] = {{26, 0, 2}, {26, 0, 3}, {27, 0, 1}};
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(Formula(targets[i]) == "P(26, 1)", c.replaced[i]) << i;
            EXPECT_EQ(model.Element(targets[i])->changed, c.replaced[i]) << i;
        }
    }
}

TEST_F(TaskDialogModelTest, DeleteAsksOnceAndOnNoKeepsTheConfiguredRows) {
    for (const Answer answer : {Answer::kYes, Answer::kNo}) {
        StoreTask(1);
        TaskDialogModel& model = Open();
        editors_.formula = ""; // an empty formula is not complete
        ASSERT_TRUE(model.EditElement({26, 0, 2}));
        model.Copy({26, 0, 2});
        boxes_.answers = {answer};
        model.Delete({{26, 0, 1}, {26, 0, 2}, {26, 0, 3}});
        EXPECT_EQ(boxes_.questions.size(), 1u);
        const std::vector<ElementAddress> left = answer == Answer::kYes
                                                     ? std::vector<ElementAddress>{}
                                                     : std::vector<ElementAddress>{{26, 0, 1}, {26, 0, 3}};
        EXPECT_EQ(model.Rows(), left);
        EXPECT_FALSE(model.CanPaste()) << "the copied row is gone";
        ASSERT_TRUE(model.Save());
        EXPECT_EQ(Dump(kFormulas).size(), left.size());
    }
}

TEST_F(TaskDialogModelTest, TheScriptCheckStopsAtTheFirstFailureAndOffersItsEditor) {
    struct Case {
        std::string common;
        std::vector<std::string> formulas; // for 26.0.1, 26.0.2, 26.0.3, all changed
        std::vector<std::string> texts;    // the panel's texts up to the question
        std::string failed;                // in the question, and the editor it opens
    } const cases[] = {
        {"",
         {"W(26, 1)", "<bad>", "W(26, 3)"},
         {"Проверка скриптов [0 из 3]...", "Проверка скриптов [0 из 3]\r\nОбъект: \"Общий скрипт\"",
          "Проверка скриптов [1 из 3]\r\nОбъект: \"($001A.0.1) ПС26.К1\"",
          "Проверка скриптов [2 из 3]\r\nОбъект: \"($001A.0.2) ПС26.К2\"", "<grid>"},
         "($001A.0.2) ПС26.К2"},
        {"var <bad>",
         {"W(26, 1)", "W(26, 2)", "W(26, 3)"},
         {"Проверка скриптов [0 из 3]...", "Проверка скриптов [0 из 3]\r\nОбъект: \"Общий скрипт\"",
          "<grid>"},
         "Общий скрипт"},
    };
    for (const Case& c : cases) {
        StoreTask(1);
        config_.WriteString(kTaskSection, "CommonScript", c.common);
        TaskDialogModel& model = Open();
        const ElementAddress rows[] = {{26, 0, 1}, {26, 0, 2}, {26, 0, 3}};
        for (size_t i = 0; i < 3; ++i) {
            editors_.formula = c.formulas[i];
            ASSERT_TRUE(model.EditElement(rows[i]));
        }
        editors_.opened.clear();
        editors_.formula.reset();
        checker_.checked.clear();
        panel_.texts.clear();
        boxes_.answers = {Answer::kYes};
        EXPECT_FALSE(model.Save());
        EXPECT_EQ(std::vector<std::string>(panel_.texts.begin(), panel_.texts.begin() + c.texts.size()),
                  c.texts);
        EXPECT_EQ(boxes_.questions.back(),
                  "Проверка скриптов: Проверка выполнена с ошибками.\r\nЭлемент: \"" + c.failed +
                      "\"\r\nОткрыть диалог редактирования скрипта элемента?");
        EXPECT_EQ(editors_.opened.size(), 1u);
        EXPECT_EQ(editors_.opened.front(), c.failed == "Общий скрипт" ? "common" : "formula 26.0.2");
        EXPECT_EQ(editors_.errors_seen,
                  std::vector<std::string>{"Синтаксическая ошибка [строка: 3, столбец: 1]"});
        EXPECT_EQ(checker_.checked.size(), c.failed == "Общий скрипт" ? 1u : 3u)
            << "the third is not compiled";
        EXPECT_TRUE(recording_.writes.empty());
    }
}

TEST_F(TaskDialogModelTest, OnlyAChangedCommonScriptIsSavedWithoutAnyCompilation) {
    StoreTask(1);
    TaskDialogModel& model = Open();
    editors_.common = "var <bad>";
    ASSERT_TRUE(model.EditCommonScript());
    EXPECT_TRUE(model.ListChanged());
    EXPECT_TRUE(model.Save());
    EXPECT_TRUE(checker_.checked.empty());
    EXPECT_EQ(config_.ReadString(kTaskSection, "CommonScript", ""), "var <bad>");
}

} // namespace
} // namespace tl::dialogs::testing
