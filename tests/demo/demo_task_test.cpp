// The demo's task as the settings store holds it after the set-up, and the network it describes.
#include "demo_database_support.hpp"
#include "tldemo/demo_task.hpp"
#include "tldemo/metering_writer.hpp"
#include "tlparams/sensor_types.hpp"
#include "tlsettings/element_key.hpp"
#include "tlsettings/required_settings.hpp"
#include "tlsettings/task_keys.hpp"
#include "tlsettings/task_names.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <map>

namespace tl::demo {
namespace {

class DemoTaskTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto connection = tl::db::Connection::Open(":memory:");
        tl::db::InitSchema(*connection);
        tl::db::SetProcessConnection(std::move(connection));
        ConfigureTask(config_, scenario_);
    }
    void TearDown() override { tl::db::SetProcessConnection(nullptr); }

    // The stored records of the defined-formula element section by element key.
    std::map<std::string, TMethod1Obj> StoredRecords() {
        const std::string section = ElementSection(scenario_.task_key, 0);
        std::map<std::string, TMethod1Obj> records;
        for (const std::string& key : config_.ReadSection(section)) {
            TMethod1Obj record;
            std::string error;
            EXPECT_TRUE(record.Parse(config_.ReadString(section, key, ""), &error)) << key << ": " << error;
            records.emplace(key, record);
        }
        return records;
    }

    Scenario scenario_ = DemoScenario();
    TSvcConfig config_{std::string(kScheduleStorage)};
};

TEST_F(DemoTaskTest, PassesTheSettingsCheckOfARun) {
    const std::string section = TaskSection(ScenarioName(scenario_.task_key));
    EXPECT_TRUE(settings::HasRequiredSettings(config_, section));
    EXPECT_EQ(config_.ReadInteger(section, settings::kMethod, -1), 0);
    EXPECT_EQ(config_.ReadInteger(section, settings::kIntervalType, -1), 1);
    EXPECT_TRUE(config_.ReadBool(section, settings::kAdvParNumber, false));
    EXPECT_EQ(config_.ReadInteger(section, settings::kParNumber, -1), kFiveMinuteParIndex);
    EXPECT_TRUE(
        SameStamp(config_.ReadDateTime(section, settings::kBeginDateTime, 0), scenario_.period.begin));
    EXPECT_TRUE(SameStamp(config_.ReadDateTime(section, settings::kEndDateTime, 0), scenario_.period.end));
    EXPECT_TRUE(SameStamp(config_.ReadDateTime(section, settings::kBeginDateTimeAdv, 0),
                          *scenario_.period.five_minute_begin));
}

// Every channel has a complete record, and the two channels of an element name each other as
// their secondary channel with the other kind, as the defined formula pairs them.
TEST_F(DemoTaskTest, ChannelsArePairedByTheirRecords) {
    const auto records = StoredRecords();
    ASSERT_EQ(records.size(), scenario_.network.elements.size() * 2);
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

// What suppresses an element's losses must exist in the catalogue and the event list: the 10 kV
// line's breaker input goes off and on again inside the period, the small transformer's
// measurement object enters a state that the catalogue names.
TEST_F(DemoTaskTest, StateConditionsHaveEventsInsideThePeriod) {
    auto& db = testing::GeneratedDatabase();
    int conditions = 0;
    for (const NetworkElement& element : scenario_.network.elements) {
        if (!element.not_calc_state) {
            continue;
        }
        ++conditions;
        const StateCondition& c = *element.not_calc_state;
        SCOPED_TRACE(element.name);
        const bool input = c.type == 97;
        const TlVariant params[] = {{TL_VT_INT32, {.i32 = c.object_code}},
                                    {TL_VT_INT32, {.i32 = input ? 97 : 96}},
                                    {TL_VT_DATETIME, {.date_time = scenario_.period.begin}},
                                    {TL_VT_DATETIME, {.date_time = scenario_.period.end}}};
        const std::string matching =
            input ? fmt::format("objitem = {} and evcode = {}", c.item, c.value == 0 ? 3002 : 3001)
                  : fmt::format("objitem = {} and evcode = 4002", c.value);
        const auto events = db.Query("select count(*) from eventlist where objcode = :c and objtype = :t and "
                                     "evgenesisdt between :b and :e and " +
                                         matching,
                                     params);
        EXPECT_EQ(events->AsInteger(0), 1);
        if (!input) {
            const TlVariant code[] = {{TL_VT_INT32, {.i32 = c.object_code}}};
            const auto states =
                db.Query("Select MOS.Name as MOSName, MOS.Code as MOSCode From MObjects M Inner Join "
                         "MObjStates MOS On MOS.ObjectID = M.Id Where M.Code = :c Order By MOS.Code",
                         code);
            bool named = false;
            for (states->First(); !states->Eof(); states->Next()) {
                named = named || (states->AsInteger(1) == c.value && states->AsText(0) == c.state_text);
            }
            EXPECT_TRUE(named);
        }
    }
    EXPECT_EQ(conditions, 2);
}

} // namespace
} // namespace tl::demo
