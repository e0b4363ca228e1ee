#include "data_test_support.hpp"
#include "tlcommon/text_codec.hpp"
#include "tldata/state_container.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tl {
namespace {

using test::At;
using test::MeteringDb;
using Lines = std::vector<std::string>;

// The four parts of the event query for discrete inputs 12.97.1 and 112.97.2 and measurement
// object 500.
const std::string kTextA =
    "select el.evtype as evtype, el.evcode as evcode, el.objcode,\r\n"
    "el.objtype, el.objitem, el.evgenesisdt, el.season, el.evidprotect\r\nfrom eventlist el\r\n"
    "where evcode in (3001, 3002) and objtype in (97) and\r\n"
    "objcode in (12, 112) and objitem in (1, 2) and evtype in (2) and \r\nevgenesisdt =\r\n(\r\n"
    "select max(evgenesisdt) from eventlist\r\n"
    "where evcode in (3001, 3002) and objtype = el.objtype and\r\n"
    "objcode = el.objcode and objitem = el.objitem and evtype = el.evtype and\r\n"
    "season = el.season and evgenesisdt < :edt11\r\n)\r\nunion\r\n"
    "select el.evtype evtype, el.evcode evcode, el.objcode,\r\n"
    "el.objtype, el.objitem, el.evgenesisdt, el.season, el.evidprotect\r\nfrom eventlist el\r\n"
    "where evcode in (3001, 3002) and objtype in (97) and\r\n"
    "objcode in (12, 112) and objitem in (1, 2) and evtype in (2) and\r\n"
    "evgenesisdt between :edt12 and :edt13";
const std::string kTextB =
    "select distinct el.evtype evtype, el.evcode evcode, el.objcode,\r\n"
    "el.objtype, el.objitem, el.evaltdt evgenesisdt, null season,\r\nel.evidprotect\r\n"
    "from eventlist el\r\nwhere evcode in (3001, 3002) and objtype in (97) and\r\n"
    "objcode in (12, 112) and objitem in (1, 2) and evtype in (3) and\r\nevaltdt =\r\n(\r\n"
    "select max(evaltdt) from eventlist\r\nwhere evcode in (3001, 3002) and objtype = el.objtype and\r\n"
    "objcode = el.objcode and objitem = el.objitem and evtype = el.evtype and\r\nevgenesisdt < :edt14\r\n"
    ")\r\nunion\r\nselect distinct el.evtype evtype, el.evcode evcode, el.objcode,\r\n"
    "el.objtype, el.objitem, el.evaltdt evgenesisdt, null season,\r\nel.evidprotect\r\n"
    "from eventlist el\r\nwhere evcode in (3001, 3002) and objtype in (97) and\r\n"
    "objcode in (12, 112) and objitem in (1, 2) and evtype in (3) and\r\n"
    "evgenesisdt between :edt5 and :edt6";
const std::string kTextC =
    "select el.evtype evtype, el.objitem evcode, el.objcode, 95 objtype,\r\n"
    "0 objitem, el.evgenesisdt, el.season, el.evidprotect\r\nfrom eventlist el\r\n"
    "where evcode in (4002) and objtype in (96) and\r\nobjcode in (500) and evtype in (2) and\r\n"
    "evgenesisdt =\r\n(\r\nselect max(evgenesisdt) from eventlist\r\n"
    "where evcode = el.evcode and objtype = el.objtype and\r\n"
    "objcode = el.objcode and evtype = el.evtype and\r\nseason = el.season and evgenesisdt < :edt21\r\n"
    ")\r\nunion\r\nselect el.evtype evtype, el.objitem evcode, el.objcode, 95 objtype,\r\n"
    "0 objitem, el.evgenesisdt, el.season, el.evidprotect\r\nfrom eventlist el\r\n"
    "where evcode in (4002) and objtype in (96) and\r\nobjcode in (500) and evtype in (2) and\r\n"
    "evgenesisdt between :edt22 and :edt23";
const std::string kTextD =
    "select distinct el.evtype evtype, el.objitem evcode, el.objcode, 95 objtype,\r\n"
    "0 objitem, el.evaltdt evgenesisdt, null season, el.evidprotect\r\nfrom eventlist el\r\n"
    "where evcode in (4002) and objtype in (96) and\r\nobjcode in (500) and evtype in (3) and\r\n"
    "evaltdt =\r\n(\r\nselect max(evaltdt) from eventlist\r\n"
    "where evcode = el.evcode and objtype = el.objtype and\r\n"
    "objcode = el.objcode and evtype = el.evtype and\r\nevgenesisdt < :edt24\r\n)\r\nunion\r\n"
    "select distinct el.evtype evtype, el.objitem evcode, el.objcode, 95 objtype,\r\n"
    "0 objitem, el.evaltdt evgenesisdt, null season, el.evidprotect\r\nfrom eventlist el\r\n"
    "where evcode in (4002) and objtype in (96) and\r\nobjcode in (500) and evtype in (3) and\r\n"
    "evgenesisdt between :edt25 and :edt26";

const DateTime kStart = At(2014, 11, 1);
const DateTime kEnd = At(2014, 11, 2);

class StateContainerTest : public ::testing::Test {
protected:
    StateContainerTest() : log_(dir_.Path() + "tlosses_modi.log"), states_(&log_) {}

    // The event query of the period, run on the database and loaded.
    void Load() {
        std::string sql;
        std::vector<Variant> params;
        ASSERT_TRUE(states_.GetSQL(sql, params, kStart, kEnd));
        auto answer = db_.Query(sql, params);
        states_.SetSQLResults(answer.get(), true);
    }

    test::TempDir dir_;
    ElementStateLog log_;
    TStateContainer states_;
    MeteringDb db_;
};

// Only measurement objects and discrete inputs are tracked, each once, in address order; without
// them there is nothing to ask.
TEST_F(StateContainerTest, WithoutElementsThereIsNothingToAsk) {
    EXPECT_FALSE(states_.AddItem(12, 98, 1));
    std::string sql = "left over";
    std::vector<Variant> params = {Variant::Int32(1)};
    EXPECT_FALSE(states_.GetSQL(sql, params, kStart, kEnd));
    EXPECT_EQ(sql, "");
    EXPECT_TRUE(params.empty());
    EXPECT_EQ(log_.Lines(), (Lines{"", "--- GetSQL ---", "StartStamp: 01.11.2014 00:00:00.000",
                                   "EndStamp: 02.11.2014 00:00:00.000", "Список элементов:", ""}));
}

TEST_F(StateContainerTest, EventQueryTextsAndParametersWithAndWithoutAlternativeDates) {
    EXPECT_TRUE(states_.AddItem(112, 97, 2));
    EXPECT_TRUE(states_.AddItem(500, 95, 0));
    EXPECT_TRUE(states_.AddItem(12, 97, 1));
    EXPECT_FALSE(states_.AddItem(12, 97, 1));
    ASSERT_EQ(states_.Count(), 3);
    EXPECT_EQ(states_.Item(0).Address(), (ElementAddress{12, 97, 1}));
    struct Case {
        bool alt_date;
        std::string sql;
        size_t windows;
    } const cases[] = {
        {true,
         kTextA + "\r\nunion\r\n" + kTextB + "\r\nunion\r\n" + kTextC + "\r\nunion\r\n" + kTextD +
             "\r\norder by 3, 4, 5, 1, 7, 6",
         4},
        {false, kTextA + "\r\nunion\r\n" + kTextC + "\r\norder by 3, 4, 5, 1, 7, 6", 2},
    };
    for (const auto& c : cases) {
        states_.SetUseAltDate(c.alt_date);
        std::string sql;
        std::vector<Variant> params;
        ASSERT_TRUE(states_.GetSQL(sql, params, kStart, kEnd));
        EXPECT_EQ(sql, c.sql) << c.alt_date;
        std::vector<Variant> expected;
        for (size_t i = 0; i < c.windows; ++i) {
            expected.insert(expected.end(),
                            {Variant::DateTime(kStart), Variant::DateTime(kStart), Variant::DateTime(kEnd)});
        }
        EXPECT_EQ(params, expected) << c.alt_date;
    }
}

// The state in force at a stamp, rounded to whole seconds, and the event it comes from.
TEST_F(StateContainerTest, StatesFromTheEventListOfTheMeteringDatabase) {
    for (const ElementAddress& e :
         {ElementAddress{12, 97, 1}, {112, 97, 2}, {500, 95, 0}, {700, 95, 0}, {701, 95, 0}}) {
        states_.AddItem(e.object, e.type, e.item);
    }
    // Discrete inputs switch on (3001) and off (3002); evtype 3 carries an alternative date.
    db_.AddEvent(2, 3001, {12, 97, 1}, kStart - 2, std::nullopt, 0);
    db_.AddEvent(2, 3002, {12, 97, 1}, kStart - 1, std::nullopt, 0);
    db_.AddEvent(2, 3001, {12, 97, 1}, At(2014, 11, 1, 6), std::nullopt, 0);
    db_.AddEvent(2, 3001, {12, 97, 1}, kEnd + 1, std::nullopt, 0);
    db_.AddEvent(2, 3001, {13, 97, 1}, At(2014, 11, 1, 6), std::nullopt, 0);
    db_.AddEvent(2, 3001, {112, 97, 2}, At(2014, 11, 1, 12), std::nullopt, 1);
    db_.AddEvent(3, 3001, {112, 97, 2}, kStart - 1, kStart - 1.5, 0);
    db_.AddEvent(3, 3002, {112, 97, 2}, At(2014, 11, 1, 14), At(2014, 11, 1, 13), 0);
    // A measurement object's state changes: events 4002 of its state source, the item the state.
    db_.AddEvent(2, 4002, {500, 96, 7}, kStart - 3, std::nullopt, 0);
    db_.AddEvent(2, 4002, {500, 96, 8}, kStart - 1, std::nullopt, 0);
    db_.AddEvent(2, 4002, {500, 96, 9}, At(2014, 11, 1, 2), std::nullopt, 0);
    db_.AddEvent(3, 4002, {500, 96, 10}, At(2014, 11, 1, 4), At(2014, 11, 1, 3), 0);
    db_.AddEvent(2, 4002, {700, 96, 1}, At(2014, 11, 1, 10), std::nullopt, 0);
    db_.AddEvent(2, 4002, {700, 96, 2}, At(2014, 11, 1, 12), std::nullopt, 0);
    Load();

    struct Ask {
        ElementAddress element;
        DateTime stamp;
        int32_t value;
        int32_t season_key;
        std::string found; // the stamp of the event in force
    } const asks[] = {
        {{12, 97, 1}, kStart, 0, kSeasonKey, "31.10.2014 00:00:00.000"}, // off since the day before
        {{12, 97, 1}, At(2014, 11, 1, 6), 1, kSeasonKey, "01.11.2014 06:00:00.000"}, // switched on
        // The event after the period is not read.
        {{12, 97, 1}, kEnd + 2, 1, kSeasonKey, "01.11.2014 06:00:00.000"},
        {{12, 97, 1}, kStart - 1.5, -1, 0, ""}, // before every state read
        // An alternative date (no season) before the period; switched off at its alternative date.
        {{112, 97, 2}, kStart, 1, 0, "30.10.2014 12:00:00.000"},
        {{112, 97, 2}, At(2014, 11, 1, 12, 30), 1, kSeasonKey, "01.11.2014 12:00:00.000"},
        {{112, 97, 2}, At(2014, 11, 1, 13), 0, 0, "01.11.2014 13:00:00.000"},
        {{500, 95, 0}, kStart, 8, kSeasonKey, "31.10.2014 00:00:00.000"},
        {{500, 95, 0}, At(2014, 11, 1, 2, 30), 9, kSeasonKey, "01.11.2014 02:00:00.000"},
        {{500, 95, 0}, At(2014, 11, 1, 3), 10, 0, "01.11.2014 03:00:00.000"},
        {{700, 95, 0}, At(2014, 11, 1, 11, 59, 59, 600), 2, kSeasonKey, "01.11.2014 12:00:00.000"},
        {{700, 95, 0}, At(2014, 11, 1, 11, 59, 59, 400), 1, kSeasonKey, "01.11.2014 10:00:00.000"},
        {{700, 95, 0}, At(2014, 11, 1, 10), 1, kSeasonKey, "01.11.2014 10:00:00.000"},
        {{700, 95, 0}, At(2014, 11, 1, 9, 59, 59), -1, 0, ""},
        {{701, 95, 0}, At(2014, 11, 1, 12), -1, 0, ""}, // no events at all
        {{13, 97, 1}, At(2014, 11, 1, 6), -1, 0, ""},   // not tracked
    };
    for (const auto& a : asks) {
        SCOPED_TRACE(FormatAddress(a.element) + " " + FormatStamp(a.stamp));
        const StateLookup found =
            states_.GetState(a.element.object, a.element.type, a.element.item, a.stamp, 0);
        EXPECT_EQ(found.value, a.value);
        EXPECT_EQ(found.season_key, a.season_key);
        EXPECT_TRUE(a.found.empty() || FormatStamp(found.stamp) == a.found) << FormatStamp(found.stamp);
    }
    EXPECT_EQ(states_.Find({112, 97, 2})->States().size(), 3u);

    states_.ClearStates();
    EXPECT_EQ(states_.Count(), 5);
    EXPECT_EQ(states_.GetState(500, 95, 0, kEnd, 0).value, -1);
}

TEST_F(StateContainerTest, ResultsAreLoggedRowByRowAndElementByElement) {
    states_.AddItem(12, 97, 1);
    states_.AddItem(112, 97, 2);
    states_.SetUseAltDate(false);
    db_.AddEvent(2, 3002, {12, 97, 1}, kStart - 1, std::nullopt, 0, 7);
    db_.AddEvent(2, 3001, {12, 97, 1}, At(2014, 11, 1, 6), std::nullopt, 0, 8);
    db_.AddEvent(2, 3001, {12, 97, 1}, At(2014, 11, 1, 6), std::nullopt, 1, 9); // the same stamp again
    db_.AddEvent(2, 3001, {12, 97, 2}, At(2014, 11, 1, 7), std::nullopt, std::nullopt, 5); // not tracked
    db_.AddEvent(2, 3002, {112, 97, 2}, At(2014, 11, 1, 12), std::nullopt, 1, 3);

    std::string sql;
    std::vector<Variant> params;
    ASSERT_TRUE(states_.GetSQL(sql, params, kStart, kEnd));
    const std::string before = test::ReadFileBytes(log_.FileName());
    ASSERT_FALSE(before.empty());
    auto answer = db_.Query(sql, params);
    states_.SetSQLResults(answer.get(), true);

    // Every line ends in CR LF.
    const std::string header =
        "\tevtype\tevcode\tstamp                    \tseason\tidprotect           \r\n";
    const std::string states_header = "\tevcode\tstamp                    \tseason\r\n";
    const std::string expected =
        "\r\n---- SetSQLResults ----\r\n[БД] Элемент: 12.97.1\r\n" + header +
        "+!\t2     \t3002  \t31.10.2014 00:00:00.000  \t0     \t7                    (4023)\r\n" +
        "+ \t2     \t3001  \t01.11.2014 06:00:00.000  \t0     \t8                    (4023)\r\n" +
        "  \t2     \t3001  \t01.11.2014 06:00:00.000  \t1     \t9                    (4023)\r\n---\r\n" +
        "Состояния элемента: 12.97.1\r\n" + states_header +
        "\t3002  \t31.10.2014 00:00:00.000  \t4023  \r\n\t3001  \t01.11.2014 06:00:00.000  \t4023  \r\n" +
        "\r\n[БД] Элемент: 12.97.2\r\n" + header + "---\r\nСостояния элемента: 12.97.2\r\n" + states_header +
        "\r\n[БД] Элемент: 112.97.2\r\n" + header +
        "+ \t2     \t3002  \t01.11.2014 12:00:00.000  \t1     \t3                    (4023)\r\n---\r\n" +
        "Состояния элемента: 112.97.2\r\n" + states_header +
        "\t3002  \t01.11.2014 12:00:00.000  \t4023  \r\n\r\n" +
        "--------------------------------------------------------------------\r\n" +
        "Сформированные состояния элементов:\r\n---\r\nСостояния элемента: 12.97.1\r\n" + states_header +
        "\t3002  \t31.10.2014 00:00:00.000  \t4023  \r\n\t3001  \t01.11.2014 06:00:00.000  \t4023  \r\n" +
        "---\r\nСостояния элемента: 112.97.2\r\n" + states_header +
        "\t3002  \t01.11.2014 12:00:00.000  \t4023  \r\n\r\n";
    EXPECT_EQ(test::ReadFileBytes(log_.FileName()), before + Utf8ToCp1251(expected));
}

} // namespace
} // namespace tl
