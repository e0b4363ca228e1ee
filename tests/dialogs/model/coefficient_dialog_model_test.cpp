// The coefficient dialog's rules: what OK needs, the voltage rules, the part buttons, the channel
// type with its secondary candidates, the state link and what OK writes.
#include "tlcommon/format_settings.hpp"
#include "tldialogs/coefficient_dialog_model.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace tl::dialogs {
namespace {

class CoefficientDialogModelTest : public ::testing::Test {
protected:
    // Device 26: 1 Апр (the element), 2 Rпр, 3 Аот, 4 without kind, 5 Rот configured as active;
    // device 27 follows.
    ElementCatalogue catalogue_{{{{26, 0, 1}, "А+", "ПС", 0},
                                 {{26, 0, 2}, "R+", "ПС", 2},
                                 {{26, 0, 3}, "А-", "ПС", 1},
                                 {{26, 0, 4}, "Без типа", "ПС", std::nullopt},
                                 {{26, 0, 5}, "R-", "ПС", 3},
                                 {{27, 0, 1}, "Чужой", "ПС2", 2}}};
    std::map<ElementAddress, int32_t> record_kinds_{{{26, 0, 5}, 1}};

    CoefficientDialogModel Open(const ElementAddress& element, const TMethod1Obj& record) {
        return CoefficientDialogModel(
            catalogue_, element, record,
            [this](const ElementAddress& address) -> std::optional<int32_t> {
                if (const auto found = record_kinds_.find(address); found != record_kinds_.end()) {
                    return found->second;
                }
                const CatalogueEntry* entry = catalogue_.Find(address);
                return entry != nullptr ? entry->kind : std::nullopt;
            },
            [](int32_t code) {
                return std::vector<StateChoice>{{"(1) Ремонт", 1, "Ремонт"}, {"(2) Резерв", code, "Резерв"}};
            });
    }
};

TEST_F(CoefficientDialogModelTest, OkNeedsASecondaryChannelAndEveryValueOfTheEnabledParts) {
    struct Case {
        const char* name;
        std::function<void(CoefficientDialogModel&)> change;
        bool ok;
        std::set<Field> red;
    } const cases[] = {
        {"a line below 110 kV needs no corona losses", [](auto&) {}, true, {}},
        {"from 110 kV on it does", [](auto& m) { m.SetUp(110); }, false, {Field::kWkor, Field::kLinePart}},
        {"of the chosen variant",
         [](auto& m) {
             m.SetUp(110);
             m.Line().wkor = {0, 2.5};
             m.Line().wkor_variant = 1;
         },
         true,
         {}},
        {"no secondary channel", [](auto& m) { m.SelectCandidate(-1); }, false, {Field::kSecondary}},
        {"the state part alone is not enough",
         [](auto& m) {
             m.SetPartOn(Part::kLine, false);
             m.SetPartOn(Part::kState, true);
             m.SetStateObject({kDiscreteInputType, 26, 4, "ДВ"});
             m.SelectState(0);
         },
         false,
         {}},
        {"a state part without its state",
         [](auto& m) {
             m.SetPartOn(Part::kState, true);
             m.SetStateObject({kMeasurementObjectType, 5, 0, "Выключатель"});
         },
         false,
         {Field::kState, Field::kStatePart}},
        {"a transformer part without its rated power",
         [](auto& m) {
             m.SetPartOn(Part::kTransformer, true);
             m.Transformer() = {700, 1, 2, 3, 4, 0};
         },
         false,
         {Field::kStrnom, Field::kTransformerPart}},
        {"a line without its length", [](auto& m) { m.Line().l = 0; }, false, {Field::kL, Field::kLinePart}},
    };
    TMethod1Obj record;
    record.InTransf = false;
    record.SecondarySensor = 2;
    record.UWork = record.UNominal = 35;
    record.r0 = 0.25;
    record.l = 3.0;
    record.Wiz = 0.1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CoefficientDialogModel model = Open({26, 0, 1}, record);
        c.change(model);
        const Validation v = model.Validate();
        EXPECT_EQ(v.all, c.ok);
        EXPECT_EQ(v.red, c.red);
    }
}

TEST_F(CoefficientDialogModelTest, UpNeverExceedsUNominalAndEnablesCoronaFrom110kV) {
    TMethod1Obj record;
    record.UWork = record.UNominal = 35;
    CoefficientDialogModel model = Open({26, 0, 1}, record);
    model.SetUp(110);
    EXPECT_EQ(model.Line().unominal, 110);
    EXPECT_TRUE(model.WkorEnabled());
    model.SetUNominal(20);
    EXPECT_EQ(model.Line().up, 20);
    EXPECT_FALSE(model.WkorEnabled());
    model.SetUNominal(35);
    EXPECT_EQ(model.Line().up, 20) << "a higher Uном leaves Up";
}

TEST_F(CoefficientDialogModelTest, PartCheckBoxesPressTheirButtonsOnlyFromTheEmptyOrTheirOwnPage) {
    TMethod1Obj record; // line and transformer on: the line page is shown
    CoefficientDialogModel model = Open({26, 0, 1}, record);
    const std::pair<std::function<void()>, Page> steps[] = {
        {[&] { model.SetPartOn(Part::kLine, false); }, Page::kEmpty},
        {[&] { model.SetPartOn(Part::kState, true); }, Page::kState},
        {[&] { model.SetPartOn(Part::kLine, true); }, Page::kState},
        {[&] { model.PressPart(Part::kTransformer); }, Page::kTransformer},
        {[&] { model.PressPart(Part::kTransformer); }, Page::kEmpty},
        {[&] { model.SetPartOn(Part::kState, false); }, Page::kEmpty},
        {[&] { model.PressPart(Part::kState); }, Page::kEmpty}, // its button is disabled
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].first();
        EXPECT_EQ(model.CurrentPage(), steps[i].second) << "step " << i;
    }
    EXPECT_FALSE(model.ButtonEnabled(Part::kState));
}

TEST_F(CoefficientDialogModelTest, TheChannelTypeDecidesTheLabelAndTheCandidates) {
    // The candidates joined by " | ": of the other kind, or every other channel of the device.
    const std::string reactive_ones = "(2) R+ (Тип: Rпр) | (4) Без типа (Тип: не задан)";
    const std::string all_others =
        "(1) А+ (Тип: Апр) | (2) R+ (Тип: Rпр) | (3) А- (Тип: Аот) | (5) R- (Тип: Аот)";
    struct Case {
        ElementAddress element;
        int32_t sensor_type;
        bool type_enabled;
        ChannelType type;
        const char* label;
        std::string candidates;
    } const cases[] = {
        {{26, 0, 1}, 0, false, ChannelType::kActive, "Реактивный канал:", reactive_ones},
        {{26, 0, 4}, 3, true, ChannelType::kReactive, "Активный канал:", all_others},
        {{26, 0, 4}, -1, true, ChannelType::kNone, "Вторичный канал:", all_others},
    };
    for (const Case& c : cases) {
        TMethod1Obj record;
        record.SensorType = c.sensor_type;
        record.SecondarySensor = 2; // listed in any case
        CoefficientDialogModel model = Open(c.element, record);
        EXPECT_EQ(model.TypeEnabled(), c.type_enabled);
        EXPECT_EQ(model.Type(), c.type);
        EXPECT_EQ(model.SecondaryLabel(), c.label);
        std::string texts;
        for (const SecondaryCandidate& candidate : model.Candidates()) {
            texts += (texts.empty() ? "" : " | ") + candidate.text;
        }
        EXPECT_EQ(texts, c.candidates);
        ASSERT_GE(model.SelectedCandidate(), 0);
        EXPECT_EQ(model.Candidates()[static_cast<size_t>(model.SelectedCandidate())].address.item, 2);
    }
}

TEST_F(CoefficientDialogModelTest, OkWritesTheChoicesAndKeepsTheValuesOfPartsSwitchedOff) {
    TMethod1Obj record;
    record.SensorType = -1;
    record.Pxx = 7;
    CoefficientDialogModel model = Open({26, 0, 4}, record);
    EXPECT_EQ(model.Caption(), "ПС.Без типа (001A.4)");
    model.SetType(ChannelType::kActive);
    ASSERT_EQ(model.Candidates().size(), 1u);
    model.SelectCandidate(0); // (2) R+, a channel of a known kind
    model.SetPartOn(Part::kTransformer, false);
    model.Transformer().pxx = 99;
    model.SetUp(35);
    model.Line().r0 = 0.5;
    model.SetPartOn(Part::kState, true);
    model.SetStateObject({kDiscreteInputType, 26, 9, "Ввод 9"});
    ASSERT_EQ(model.States().size(), 2u);
    EXPECT_EQ(model.States()[0].text, "Включен");
    EXPECT_EQ(model.States()[1].text, "Выключен");
    EXPECT_EQ(model.StateObjectText(), "ДВ: ($001A.9) Ввод 9");
    model.SelectState(1);
    model.Apply(record);
    // The element's type, the secondary channel of a known kind, the line, the transformer's values
    // kept while its part is off, the state.
    SetSystemDecimalSeparator('.');
    EXPECT_EQ(record.SaveToText(),
              "1;1;0;2;0.50;0.00;0.00;0;0.00;35;35;0;700;7.00;0.00;0.00;0.00;0.00;1;0;26;97;9;Ввод 9;");

    // A measurement object offers its states from the database, and the record keeps the name; a
    // secondary channel without a kind gets the other type than the element's.
    CoefficientDialogModel other = Open({26, 0, 1}, TMethod1Obj{});
    other.SelectCandidate(1); // (4) Без типа
    other.SetPartOn(Part::kState, true);
    other.SetStateObject({kMeasurementObjectType, 5, 0, "Выключатель"});
    EXPECT_EQ(other.StateObjectText(), "ОИ: (5) Выключатель");
    other.SelectState(1);
    TMethod1Obj second;
    other.Apply(second);
    EXPECT_EQ(
        second.SaveToText(),
        "1;0;3;4;0.00;0.00;0.00;0;0.00;0;0;1;700;0.00;0.00;0.00;0.00;0.00;1;5;5;95;0;Выключатель;Резерв");
    ResetSystemFormat();
}

} // namespace
} // namespace tl::dialogs
