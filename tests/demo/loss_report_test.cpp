// The demo's channel records pair up. The table of stored losses takes line losses from Value0 and
// transformer losses from Value1, per channel and result parameter, and leaves out rows of other
// parameters and element types.
#include "tldemo/loss_report.hpp"
#include "tldemo/scenario.hpp"
#include "tlparams/sensor_types.hpp"

#include <gtest/gtest.h>

namespace tl::demo {
namespace {

TEST(LossReportTest, PairsTheChannelsAndSumsTheLossesOfEachChannelAndIntervalKind) {
    auto db = tl::db::Connection::Open(":memory:");
    tl::db::InitSchema(*db);
    const Scenario scenario = DemoScenario();
    // The two channels of an element name each other as the secondary channel, with the other kind.
    // (A channel naming itself still runs and stores every row, so only this shows it.)
    for (const NetworkElement& element : scenario.network.elements) {
        const TMethod1Obj active = ChannelRecord(element, true), reactive = ChannelRecord(element, false);
        EXPECT_EQ(std::pair(active.SecondarySensor, reactive.SecondarySensor),
                  std::pair(element.reactive_item, element.active_item))
            << element.name;
        EXPECT_EQ(std::pair(active.SecondarySensorType, reactive.SecondarySensorType),
                  std::pair(reactive.SensorType, active.SensorType));
        EXPECT_EQ(std::pair(SensorTypeKind(active.SensorType), SensorTypeKind(reactive.SensorType)),
                  std::pair(SensorKind::kActive, SensorKind::kReactive));
    }
    // 17.0.1/2 is the 110 kV line, 17.0.3/4 the large transformer; parameter 12 is a metered value,
    // object type 2 a client with the same numbers.
    db->Execute(
        "insert into data (parnumber, object, objtype, item, data_date, season, value0, value1) values "
        "(30012, 17, 0, 1, 45651.5, 0, 2, 100), (30012, 17, 0, 1, 45651.52, 0, 3, 100), "
        "(30018, 17, 0, 1, 45651.5, 0, 7, 0), (30056, 17, 0, 2, 45658, 0, 11, 0), "
        "(30012, 17, 0, 3, 45651.5, 0, 100, 4), (30012, 17, 0, 3, 45651.52, 0, 100, 6), "
        "(30007, 17, 0, 4, 45658.5, 0, 0, 1.5), (12, 17, 0, 1, 45651.5, 0, 1000, 0), "
        "(30012, 17, 2, 1, 45651.5, 0, 1000, 0)");

    const std::vector<LossRow> report = ReadStoredLosses(*db, scenario.network);
    ASSERT_EQ(report.size(), scenario.network.elements.size() * 2);
    constexpr size_t k5Min = 0, k30Min = 1, kHour = 2, kYear = 6;
    const LossRow& line_active = report[0];
    EXPECT_EQ(line_active.item, 1);
    EXPECT_DOUBLE_EQ(line_active.cells[k30Min].sum, 5.0);
    EXPECT_EQ(line_active.cells[k30Min].rows, 2);
    EXPECT_DOUBLE_EQ(line_active.cells[kHour].sum, 7.0);
    EXPECT_EQ(line_active.cells[kYear].rows, 0);
    const LossRow& line_reactive = report[1];
    EXPECT_FALSE(line_reactive.active);
    EXPECT_DOUBLE_EQ(line_reactive.cells[kYear].sum, 11.0);
    const LossRow& transformer_active = report[2];
    EXPECT_DOUBLE_EQ(transformer_active.cells[k30Min].sum, 10.0);
    EXPECT_EQ(transformer_active.cells[k30Min].rows, 2);
    EXPECT_DOUBLE_EQ(report[3].cells[k5Min].sum, 1.5);
    for (size_t r = 4; r < report.size(); ++r) {
        for (const LossCell& cell : report[r].cells) {
            EXPECT_EQ(cell.rows, 0) << report[r].name;
        }
    }

    // Every channel gets a line of values and a line of row counts; a kind without rows shows a dash.
    const std::string table = FormatLossTable(report);
    EXPECT_NE(table.find("17.0.1 ВЛ-110 кВ Заречная – Северная (акт.), кВт·ч"), std::string::npos) << table;
    EXPECT_NE(table.find("—"), std::string::npos);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 1 + 2 * static_cast<long>(report.size()));
}

} // namespace
} // namespace tl::demo
