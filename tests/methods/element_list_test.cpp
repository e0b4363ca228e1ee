#include "tlmethods/element_list.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlparams/method2_obj.hpp"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tl {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// An element section as the settings service lists it.
class SectionConfig : public TSvcConfig {
public:
    explicit SectionConfig(Entries entries) : TSvcConfig("TKEY_SCHEDULE"), entries_(std::move(entries)) {}

    std::vector<std::string> ReadSection(std::string_view section) override {
        EXPECT_EQ(section, "\\Scripts\\S\\Devices1\\");
        std::vector<std::string> keys;
        for (const auto& entry : entries_) {
            keys.push_back(entry.first);
        }
        return keys;
    }
    std::string ReadString(std::string_view, std::string_view key, std::string_view default_value) override {
        for (const auto& entry : entries_) {
            if (entry.first == key) {
                return entry.second;
            }
        }
        return std::string(default_value);
    }

private:
    Entries entries_;
};

class Report : public RunReport {
public:
    void LogLine(std::string_view line) override { log.emplace_back(line); }
    void SendStatus(std::string_view line) override { status.emplace_back(line); }
    std::vector<std::string> log;
    std::vector<std::string> status;
};

const std::string kRecord = "1;1;3;2;0.1;10;5;0;0.5;110;110;0;700;0;0;0;0;0;0;0;0;0;0;;";

TEST(ElementListTest, KeysAndRecordsThatFailAreReportedWithTheirDescription) {
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
        {"100.x.5", kRecord, "Не удалось определить код элемента!"},
        {"100.0.-1", kRecord, "Не удалось определить код элемента!"},
        {"100.0.8", "1;1;3", "Некорректное описание параметров объекта: 1;1;3"},
        {"100.0.9", kRecord + ";", "Некорректное описание параметров объекта: " + kRecord + ";"},
        {"100.0.10", "", "Некорректное описание параметров объекта: "},
    };
    for (const auto& c : cases) {
        SectionConfig config(Entries{{c.key, c.record}});
        Report report;
        TCalcObjects objects;
        TSQLItemParamContainer filter;
        const int32_t count = ReadElementList(config, "\\Scripts\\S\\Devices1\\", 0, report, objects, filter);
        if (c.description.empty()) {
            EXPECT_EQ(count, 1) << c.key;
            EXPECT_TRUE(report.status.empty()) << c.key;
            EXPECT_EQ(filter.Count(), 1) << c.key;
            continue;
        }
        EXPECT_EQ(count, 0) << c.key;
        EXPECT_TRUE(filter.Empty()) << c.key;
        const std::string failure = "Ошибка при получении списка объектов: " + c.key;
        EXPECT_EQ(report.status, std::vector<std::string>{failure});
        EXPECT_EQ(report.log, (std::vector<std::string>{
                                  "", "------------Чтение перечня элементов скрипта-------------------",
                                  failure, "Описание: " + c.description}));
    }
}

TEST(ElementListTest, AFieldThatDoesNotConvertFailsWithTheConversionsOwnText) {
    SectionConfig config(Entries{{"100.0.5", "1;1;3;2;x;10;5;0;0.5;110;110;0;700;0;0;0;0;0;0;0;0;0;0;;"}});
    Report report;
    TCalcObjects objects;
    TSQLItemParamContainer filter;
    EXPECT_EQ(ReadElementList(config, "\\Scripts\\S\\Devices1\\", 0, report, objects, filter), 0);
    ASSERT_EQ(report.log.size(), 4u);
    EXPECT_EQ(report.log[3].rfind("Описание: ", 0), 0u);
    EXPECT_NE(report.log[3].find("\"x\""), std::string::npos) << report.log[3];
    EXPECT_EQ(report.log[3].find("Некорректное описание"), std::string::npos) << report.log[3];
}

TEST(ElementListTest, ElementsAreKeptInAddressOrderAndLoggedInListingOrder) {
    SectionConfig config(Entries{{"200.0.1", kRecord},
                                 {"100.0.7", kRecord},
                                 {"bad", kRecord},
                                 {"100.0.5", "1;0;3;2;0,1;10;5;0;0,5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;"}});
    Report report;
    TCalcObjects objects;
    TSQLItemParamContainer filter;
    ASSERT_EQ(ReadElementList(config, "\\Scripts\\S\\Devices1\\", 0, report, objects, filter), 3);
    EXPECT_EQ(objects.At(0).address, (ElementAddress{100, 0, 5}));
    EXPECT_EQ(objects.At(1).address, (ElementAddress{100, 0, 7}));
    EXPECT_EQ(objects.At(2).address, (ElementAddress{200, 0, 1}));
    const auto& first = dynamic_cast<const TMethod1Obj&>(*objects.At(0).params);
    EXPECT_DOUBLE_EQ(first.r0, 0.1); // decimal commas read whatever the system separator
    EXPECT_EQ(first.UWork, 35);
    EXPECT_FALSE(objects.At(0).processed);
    EXPECT_EQ(filter.FilterText(), "((object = 100 and objtype = 0 and item in (5, 7)) or (object = 200 and "
                                   "objtype = 0 and item in (1)))");
    const std::vector<std::string> expected_log = {
        "",
        "------------Чтение перечня элементов скрипта-------------------",
        "----",
        "+ 200.0.1",
        "Параметры:",
        kRecord,
        "----",
        "+ 100.0.7",
        "Параметры:",
        kRecord,
        "Ошибка при получении списка объектов: bad",
        "Описание: Индекс списка вне границ (1)",
        "----",
        "+ 100.0.5",
        "Параметры:",
        "1;0;3;2;0,1;10;5;0;0,5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;",
    };
    EXPECT_EQ(report.log, expected_log);
}

TEST(ElementListTest, TheFormulaMethodTakesAnyTextAsTheElementsFormula) {
    SectionConfig config(Entries{{"26.99.3", "%Result% := W2($1A, 99, 3)"}});
    Report report;
    TCalcObjects objects;
    TSQLItemParamContainer filter;
    ASSERT_EQ(ReadElementList(config, "\\Scripts\\S\\Devices1\\", 1, report, objects, filter), 1);
    EXPECT_EQ(dynamic_cast<const TMethod2Obj&>(*objects.At(0).params).Formula, "%Result% := W2($1A, 99, 3)");
}

TEST(ElementListTest, ASecondKeyForTheSameAddressIsRefused) {
    SectionConfig config(Entries{{"100.0.5", kRecord}, {"100.00.5", kRecord}});
    Report report;
    TCalcObjects objects;
    TSQLItemParamContainer filter;
    EXPECT_EQ(ReadElementList(config, "\\Scripts\\S\\Devices1\\", 0, report, objects, filter), 1);
    EXPECT_EQ(report.status, std::vector<std::string>{"Ошибка при получении списка объектов: 100.00.5"});
}

} // namespace
} // namespace tl
