// The demo's task as the settings store holds it after the set-up.
#include "tldemo/demo_task.hpp"
#include "tlparams/sensor_types.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlsettings/element_key.hpp"
#include "tlsettings/task_names.hpp"

#include <gtest/gtest.h>
#include <map>

namespace tl::demo {
namespace {

// Every channel has a complete record, and the two channels of an element name each other as
// their secondary channel with the other kind, as the defined formula pairs them.
TEST(DemoTaskTest, ChannelsArePairedByTheirRecords) {
    db::SetProcessConnection(db::Connection::Open(":memory:"));
    db::InitSchema(*db::ProcessConnection());
    const Scenario scenario = DemoScenario();
    TSvcConfig config{std::string(kScheduleStorage)};
    ConfigureTask(config, scenario);
    const std::string section = ElementSection(scenario.task_key, 0);
    std::map<std::string, TMethod1Obj> records;
    for (const std::string& key : config.ReadSection(section)) {
        std::string error;
        EXPECT_TRUE(records[key].Parse(config.ReadString(section, key, ""), &error)) << key << ": " << error;
    }
    db::SetProcessConnection(nullptr);

    ASSERT_EQ(records.size(), scenario.network.elements.size() * 2);
    for (const auto& [key, record] : records) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(record.IsComplete());
        const auto address = settings::ParseElementKey(key);
        ASSERT_TRUE(address.has_value());
        const auto partner = records.find(
            settings::ElementKey({address->object_code, address->element_type, record.SecondarySensor}));
        ASSERT_NE(partner, records.end());
        EXPECT_EQ(partner->second.SecondarySensor, address->item);
        EXPECT_NE(SensorTypeKind(record.SensorType), SensorTypeKind(partner->second.SensorType));
        EXPECT_NE(SensorTypeKind(record.SensorType), SensorKind::kNeither);
        EXPECT_EQ(record.SecondarySensorType, partner->second.SensorType);
        EXPECT_EQ(record.InLine, partner->second.InLine);
        EXPECT_NE(record.InLine, record.InTransf);
    }
}

} // namespace
} // namespace tl::demo
