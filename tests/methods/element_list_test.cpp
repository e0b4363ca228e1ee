#include "settings_test_support.hpp"
#include "tlmethods/element_list.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlparams/method2_obj.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tl {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

class Report : public RunReport {
public:
    void LogLine(std::string_view line) override { log.emplace_back(line); }
    void SendStatus(std::string_view line) override { status.emplace_back(line); }
    std::vector<std::string> log;
    std::vector<std::string> status;
};

const std::string kRecord = "1;1;3;2;0.1;10;5;0;0.5;110;110;0;700;0;0;0;0;0;0;0;0;0;0;;";

struct Listing {
    Report report;
    TCalcObjects objects;
    TSQLItemParamContainer filter;
    int32_t count = 0;
};

// Reads an element section holding `entries`, in that listing order.
class ElementListTest : public settings::testing::SettingsDatabaseTest {
protected:
    std::unique_ptr<Listing> Read(const Entries& entries, int32_t method = 0) {
        for (const auto& [key, value] : entries) {
            config_.WriteString(kSection, key, value);
        }
        auto listing = std::make_unique<Listing>();
        listing->count =
            ReadElementList(config_, kSection, method, listing->report, listing->objects, listing->filter);
        config_.EraseSection(kSection);
        return listing;
    }
    static constexpr std::string_view kSection = "\\Scripts\\S\\Devices1\\";
};

// A key that is no number at all ("100.x.5") runs in the scenarios.
TEST_F(ElementListTest, KeysAndRecordsThatFailAreReportedWithTheirDescription) {
    struct Case {
        std::string key;
        std::string record;
        std::string description; // empty: read
    } const cases[] = {
        {"100.0.5", kRecord, ""},
        {"100,0,6", kRecord, ""},
        {"100.0.7.9", kRecord, ""},
        {"100.5", kRecord, "Индекс списка вне границ (2)"},
        {"100", kRecord, "Индекс списка вне границ (1)"},
        {"100.0.-1", kRecord, "Не удалось определить код элемента!"},
        {"100.0.8", "1;1;3", "Некорректное описание параметров объекта: 1;1;3"},
        {"100.0.9", kRecord + ";", "Некорректное описание параметров объекта: " + kRecord + ";"},
        {"100.0.10", "", "Некорректное описание параметров объекта: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const auto listing = Read({{c.key, c.record}});
        if (c.description.empty()) {
            EXPECT_EQ(listing->count, 1);
            EXPECT_TRUE(listing->report.status.empty());
            EXPECT_EQ(listing->filter.Count(), 1);
            continue;
        }
        EXPECT_EQ(listing->count, 0);
        EXPECT_TRUE(listing->filter.Empty());
        const std::string failure = "Ошибка при получении списка объектов: " + c.key;
        EXPECT_EQ(listing->report.status, std::vector<std::string>{failure});
        EXPECT_EQ(
            listing->report.log,
            (std::vector<std::string>{"", "------------Чтение перечня элементов скрипта-------------------",
                                      failure, "Описание: " + c.description}));
    }
}

TEST_F(ElementListTest, AFieldThatDoesNotConvertFailsWithTheConversionsOwnText) {
    const auto listing = Read({{"100.0.5", "1;1;3;2;x;10;5;0;0.5;110;110;0;700;0;0;0;0;0;0;0;0;0;0;;"}});
    EXPECT_EQ(listing->count, 0);
    ASSERT_EQ(listing->report.log.size(), 4u);
    const std::string& description = listing->report.log[3];
    EXPECT_TRUE(description.starts_with("Описание: ")) << description;
    EXPECT_NE(description.find("\"x\""), std::string::npos) << description;
    EXPECT_EQ(description.find("Некорректное описание"), std::string::npos) << description;
}

// A second key for an address already read is refused.
TEST_F(ElementListTest, ElementsAreKeptInAddressOrderAndLoggedInListingOrder) {
    const std::string with_commas = "1;0;3;2;0,1;10;5;0;0,5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;";
    const auto listing = Read({{"200.0.1", kRecord},
                               {"100.0.7", kRecord},
                               {"bad", kRecord},
                               {"100.00.7", kRecord},
                               {"100.0.5", with_commas}});
    ASSERT_EQ(listing->count, 3);
    const TCalcObjects& objects = listing->objects;
    EXPECT_EQ(objects.At(0).address, (ElementAddress{100, 0, 5}));
    EXPECT_EQ(objects.At(1).address, (ElementAddress{100, 0, 7}));
    EXPECT_EQ(objects.At(2).address, (ElementAddress{200, 0, 1}));
    const auto& first = dynamic_cast<const TMethod1Obj&>(*objects.At(0).params);
    EXPECT_DOUBLE_EQ(first.r0, 0.1); // decimal commas read whatever the system separator
    EXPECT_EQ(first.UWork, 35);
    EXPECT_FALSE(objects.At(0).processed);
    EXPECT_EQ(listing->filter.FilterText(), "((object = 100 and objtype = 0 and item in (5, 7)) or (object = "
                                            "200 and objtype = 0 and item in (1)))");
    EXPECT_EQ(listing->report.log,
              (std::vector<std::string>{"", "------------Чтение перечня элементов скрипта-------------------",
                                        "----", "+ 200.0.1", "Параметры:", kRecord, "----", "+ 100.0.7",
                                        "Параметры:", kRecord, "Ошибка при получении списка объектов: bad",
                                        "Описание: Индекс списка вне границ (1)",
                                        "Ошибка при получении списка объектов: 100.00.7",
                                        "Описание: Элемент 100.0.7 уже есть в перечне", "----", "+ 100.0.5",
                                        "Параметры:", with_commas}));
}

TEST_F(ElementListTest, TheFormulaMethodTakesAnyTextAsTheElementsFormula) {
    const auto listing = Read({{"26.99.3", "%Result% := W2($1A, 99, 3)"}}, 1);
    ASSERT_EQ(listing->count, 1);
    EXPECT_EQ(dynamic_cast<const TMethod2Obj&>(*listing->objects.At(0).params).Formula,
              "%Result% := W2($1A, 99, 3)");
}

} // namespace
} // namespace tl
