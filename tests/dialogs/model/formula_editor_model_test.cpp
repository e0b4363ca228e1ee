// The formula editor's texts and rules: what the pickers and the function panel insert, which
// editor line a compiler message leads to, and what OK does.
#include "dialog_fakes.hpp"
#include "tldialogs/engine_script_checker.hpp"
#include "tldialogs/formula_editor_model.hpp"
#include "tldialogs/function_catalogue.hpp"

#include <gtest/gtest.h>

namespace tl::dialogs {
namespace {

TEST(FormulaEditorModelTest, PickersInsertTheirCalls) {
    EXPECT_EQ(EnergyInsertions("P2", {{26, 0, 5}, {0, 2, 7}}),
              (std::vector<std::string>{"P2($1A, 0, 5)\r\n", "P2(0, 2, 7)\r\n"}));
    // Sub-device 2 of device 26 asking for Pb (3); BatLvl (74) is read through M.
    EXPECT_EQ(MomentaryInsertion({{26, 99, 0x0203}, {26, 99, 74}}), "Pb($1A, 98, 2)\r\nM($1A, 99, 0, 74)");
    EXPECT_EQ(DiscreteInputInsertion({{26, 4}}), "DI($1A, 4)\r\n");
    EXPECT_EQ(MeasurementObjectInsertion({5, 6}), "MO(5)\r\nMO(6)\r\n");
}

TEST(FormulaEditorModelTest, TheFunctionPanelListsItsGroupsAndInsertsCallsWithParameterNames) {
    const auto& groups = FunctionCatalogue();
    ASSERT_EQ(groups.size(), 4u);
    const std::pair<const char*, size_t> shapes[] = {
        {"Расчет потерь", 4}, {"Математические", 14}, {"Мгновенные величины", 98}, {"Дополнительные", 10}};
    for (size_t g = 0; g < groups.size(); ++g) {
        EXPECT_EQ(groups[g].caption, shapes[g].first);
        EXPECT_EQ(groups[g].entries.size(), shapes[g].second);
    }
    struct Case {
        size_t group, position;
        const char* entry;
        const char* insertion;
    } const cases[] = {
        {1, 14, "(14) Процент (Percent)", "Percent(Value, Percent)"},
        {3, 5, "(5) Период (час) (T)", "T()"},
        {2, 1, "(1) Активная мощность, сумма фаз (Pabc)", "Pabc(ObjCode, ObjType, ObjItem)"},
        {2, 98, "(98) Качества сигнала GSM (GSMQuality)", "M(ObjCode, ObjType, ObjItem, 98)"},
        {0, 4, "(4) Активные потери в 3х обмоточном трансформаторе (кВт.ч) (T3_LossesW_A)",
         "T3_LossesW_A(Pxx, Pk_up, Pk_mid, Pk_down, Snom_up, Snom_mid, Snom_down, cosf, T, W_up, W_mid, "
         "W_down)"},
    };
    for (const Case& c : cases) {
        const FunctionEntry& entry = groups[c.group].entries[c.position - 1];
        EXPECT_EQ(EntryText(c.position, entry), c.entry);
        EXPECT_EQ(InsertionText(entry), c.insertion);
    }
    EXPECT_EQ(DescriptionText(groups[1].entries[13]),
              "Параметры:\r\nValue - значение\r\nPercent - процент (0-100)");
    EXPECT_EQ(DescriptionText(groups[3].entries[4]), "Нет аргументов");
}

// The line a message selects is the line the compiler complained about; the lines of a common
// script in front of an element's formula are counted by the check script's own test.
TEST(FormulaEditorModelTest, AMessageLeadsToTheEditorLineItNames) {
    EngineScriptChecker checker;
    struct Case {
        bool element;
        std::string common;
        std::string text;
        int32_t line;
    } const cases[] = {
        {true, "", "%Result0% := 1;\r\n%Result1% := ;", 1},
        {false, "", "var a: Integer;\r\nvar b: Integer\r\nvar c: Integer;", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FormulaEditorModel model(c.element, c.text, c.element ? c.common : c.text, checker);
        ASSERT_FALSE(model.Check(c.text));
        ASSERT_GE(model.Messages().size(), 2u);
        EXPECT_EQ(model.Messages()[0], "Проверка синтаксиса...");
        EXPECT_EQ(model.MessageLine(model.Messages()[1], 3), c.line) << model.Messages()[1];
    }
    FormulaEditorModel model(true, "", "", checker);
    EXPECT_EQ(model.MessageLine("Синтаксическая ошибка [строка: 2, столбец: 1]", 3), 0);
    EXPECT_EQ(model.MessageLine("Синтаксическая ошибка [строка: 9, столбец: 1]", 3), std::nullopt);
    EXPECT_EQ(model.MessageLine("Проверка синтаксиса...", 3), std::nullopt);
}

TEST(FormulaEditorModelTest, OkChecksAnUnverifiedChangeAndNormalisesOnlyTheCommonScript) {
    struct Case {
        bool element;
        std::string initial;
        std::string typed;
        bool close, accepted;
        std::string text;
        size_t checks;
    } const cases[] = {
        {true, "W(1, 1)", "W(1, 1)", true, false, "", 0},
        {true, "W(1, 1)", "W(1, <bad>)", false, false, "", 1},
        {true, "", "w(1, 1) + p(1, 2)", true, true, "w(1, 1) + p(1, 2)", 1},
        {false, "", "x := w(1, 1)", true, true, "x := W(1, 1)", 1},
        {false, "x := W(1, 1)", "x := w(1, 1)", true, false, "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        testing::ScriptedChecker checker;
        FormulaEditorModel model(c.element, c.initial, "", checker);
        const FormulaEditorModel::OkResult result = model.Ok(c.typed);
        EXPECT_EQ(result.close, c.close);
        EXPECT_EQ(result.accepted, c.accepted);
        EXPECT_EQ(result.text, c.text);
        EXPECT_EQ(checker.checked.size(), c.checks);
    }
    // After a successful check later edits are taken without another one, errors and all.
    testing::ScriptedChecker checker;
    FormulaEditorModel model(true, "", "", checker);
    ASSERT_TRUE(model.Check("W(1, 1)"));
    EXPECT_EQ(model.Messages(), std::vector<std::string>{"Проверка синтаксиса...Ok"});
    EXPECT_TRUE(model.Ok("W(1, <bad>)").accepted);
    EXPECT_EQ(checker.checked.size(), 1u);
}

} // namespace
} // namespace tl::dialogs
