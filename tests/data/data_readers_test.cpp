#include "data_test_support.hpp"
#include "tldata/data_readers.hpp"
#include "tldata/data_requests.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

using test::At;
using test::MeteringDb;

constexpr int64_t kBit = 0x40000;

// The answer to the data request of pass 7 (or the momentary request) over the whole day.
std::unique_ptr<db::ResultSet> Answer(MeteringDb& db, bool momentary = false) {
    const std::string filter = "((object = 100 and objtype = 0 and item in (1, 2, 3, 4)))";
    if (momentary) {
        const std::vector<Variant> params = {Variant::DateTime(At(2014, 11, 1)),
                                             Variant::DateTime(At(2014, 11, 2))};
        return db.Query(MomentarySql(filter), params);
    }
    const std::vector<Variant> params = {Variant::Int32(12), Variant::DateTime(At(2014, 11, 1)),
                                         Variant::DateTime(At(2014, 11, 2))};
    return db.Query(DataSql(filter), params);
}

std::vector<double> Values(const TDataList& list) {
    std::vector<double> values;
    for (const TDataRow& row : list.Rows()) {
        values.push_back(row.value);
    }
    return values;
}

TEST(IntervalDataReaderTest, OnlyRowsWithinTenSecondsOfTheStampAreRead) {
    const DateTime stamp = At(2014, 11, 1, 10, 0);
    struct Case {
        int64_t offset_ms;
        bool read;
    } const cases[] = {{-10'000, false}, {-9'999, true}, {0, true}, {9'999, true}, {10'000, false}};
    for (const auto& c : cases) {
        MeteringDb db;
        db.AddData(12, 100, 0, 1, FromMillis(ToMillis(stamp) + c.offset_ms), 0, 1.0);
        auto set = Answer(db);
        IntervalDataReader reader(set.get());
        TDataList list;
        reader.ReadAtStamp(stamp, list);
        EXPECT_EQ(list.Count(), c.read ? 1 : 0) << c.offset_ms;
    }
}

TEST(IntervalDataReaderTest, StampByStampBothSeasonsAreKeptAndTheStoppingRowStaysCurrent) {
    MeteringDb db;
    db.AddData(12, 100, 0, 2, At(2014, 11, 1, 10, 0), 0, 4.0);
    db.AddData(12, 100, 0, 1, At(2014, 11, 1, 10, 0), 0, 2.0, kBit);
    db.AddData(12, 100, 0, 1, At(2014, 11, 1, 10, 0), 1, 3.0);
    db.AddData(12, 100, 0, 2, At(2014, 11, 1, 10, 30), 0, 7.0);
    db.AddData(12, 100, 0, 1, At(2014, 11, 1, 10, 29, 51), 0, 6.0);
    auto set = Answer(db);
    IntervalDataReader reader(set.get());
    TDataList list;

    reader.ReadAtStamp(At(2014, 11, 1, 10, 0), list);
    EXPECT_EQ(Values(list), (std::vector<double>{2.0, 3.0, 4.0}));
    const TDataList::Index first = list.Find({100, 0, 1});
    ASSERT_NE(first, TDataList::kNone);
    EXPECT_EQ(list.Row(first).season, 0);
    EXPECT_EQ(list.Row(first).status, kBit);
    EXPECT_EQ(list.Row(first).par_number, 12);
    EXPECT_EQ(FormatStamp(list.Row(first).stamp), "01.11.2014 10:00:00.000");
    const TDataList::Index second = list.FindNext(first);
    ASSERT_NE(second, TDataList::kNone);
    EXPECT_EQ(list.Row(second).value, 3.0);
    EXPECT_EQ(list.Row(second).season, 1);
    EXPECT_EQ(list.FindNext(second), TDataList::kNone);
    EXPECT_EQ(list.Find({100, 0, 3}), TDataList::kNone);

    list.Clear();
    reader.ReadAtStamp(At(2014, 11, 1, 10, 30), list);
    EXPECT_EQ(Values(list), (std::vector<double>{6.0, 7.0}));
    list.Clear();
    reader.ReadAtStamp(At(2014, 11, 1, 11, 0), list);
    EXPECT_TRUE(list.Empty());
}

TEST(IntervalDataReaderTest, ARowOutsideTheWindowOnEitherSideStopsTheReadingAndStaysCurrent) {
    MeteringDb db;
    db.AddData(12, 100, 0, 1, At(2014, 11, 1, 9, 59, 50), 0, 1.0); // 10 s before 10:00
    db.AddData(12, 100, 0, 1, At(2014, 11, 1, 10, 0), 0, 2.0);
    auto set = Answer(db);
    IntervalDataReader reader(set.get());
    struct Step {
        DateTime stamp;
        std::vector<double> read;
    } const steps[] = {
        {At(2014, 11, 1, 10, 0), {}},        // the early row is before the window: nothing read
        {At(2014, 11, 1, 10, 0), {}},        // ... and it is still current
        {At(2014, 11, 1, 9, 59, 50), {1.0}}, // its own stamp reads it; 10:00 lies after the window
        {At(2014, 11, 1, 10, 0), {2.0}},
    };
    for (const auto& step : steps) {
        TDataList list;
        reader.ReadAtStamp(step.stamp, list);
        EXPECT_EQ(Values(list), step.read) << FormatStamp(step.stamp);
    }
}

TEST(IntervalDataReaderTest, TheStatusFilterStopsAtTheFirstRowThatDoesNotPass) {
    MeteringDb db;
    const DateTime stamp = At(2014, 11, 1, 10, 0);
    db.AddData(12, 100, 0, 1, stamp, 0, 1.0, kBit);
    db.AddData(12, 100, 0, 2, stamp, 0, 2.0, kBit | 1);
    db.AddData(12, 100, 0, 3, stamp, 0, 3.0, 1);
    db.AddData(12, 100, 0, 4, stamp, 0, 4.0, kBit);
    auto set = Answer(db);
    IntervalDataReader reader(set.get());
    struct Step {
        StatusFilter filter;
        std::vector<double> read;
    } const steps[] = {
        {StatusFilter::kWithStatusBit, {1.0, 2.0}},
        {StatusFilter::kWithStatusBit, {}},
        {StatusFilter::kWithoutStatusBit, {3.0}},
        {StatusFilter::kAny, {4.0}},
    };
    for (const auto& step : steps) {
        TDataList list;
        reader.ReadAtStamp(stamp, list, step.filter);
        EXPECT_EQ(Values(list), step.read) << static_cast<int>(step.filter);
    }
}

TEST(IntervalDataReaderTest, StampStartMovesAnEarlierBeginToTheFirstRow) {
    MeteringDb db;
    db.AddData(12, 100, 0, 1, At(2014, 11, 1, 10, 0), 0, 1.0);
    auto set = Answer(db);
    IntervalDataReader reader(set.get());
    EXPECT_EQ(FormatStamp(reader.StampStart(At(2014, 11, 1, 0, 30))), "01.11.2014 10:00:00.000");
    EXPECT_EQ(FormatStamp(reader.StampStart(At(2014, 11, 1, 10, 30))), "01.11.2014 10:30:00.000");

    MeteringDb empty_db;
    auto empty = Answer(empty_db);
    EXPECT_EQ(IntervalDataReader(empty.get()).StampStart(At(2014, 11, 1, 0, 30)), At(2014, 11, 1, 0, 30));
}

TEST(MomentaryDataReaderTest, ReadsAfterTheWindowStartUpToOneSecondPastTheStamp) {
    MeteringDb db;
    db.AddData(1100, 100, 0, 1, At(2014, 11, 1, 10, 0), 0, 0.0); // the window start of 10:30
    db.AddData(1100, 100, 0, 1, At(2014, 11, 1, 10, 10), 0, 1.0);
    db.AddData(1100, 100, 0, 2, At(2014, 11, 1, 10, 20), 0, 2.0, kBit);
    db.AddData(1100, 100, 0, 1, At(2014, 11, 1, 10, 30, 0, 500), 0, 3.0);
    db.AddData(1100, 100, 0, 2, At(2014, 11, 1, 10, 30, 1), 0, 4.0);
    auto set = Answer(db, true);
    MomentaryDataReader reader(set.get());

    TDataList list;
    TDataList flagged;
    reader.ReadForStamp(7, At(2014, 11, 1, 10, 30), list, flagged, true);
    EXPECT_EQ(Values(list), (std::vector<double>{1.0, 3.0}));
    EXPECT_EQ(Values(flagged), (std::vector<double>{2.0}));

    list.Clear();
    flagged.Clear();
    reader.ReadForStamp(7, At(2014, 11, 1, 11, 0), list, flagged, false);
    EXPECT_EQ(Values(list), (std::vector<double>{4.0}));
    EXPECT_TRUE(flagged.Empty());

    MomentaryDataReader none(nullptr);
    none.ReadForStamp(7, At(2014, 11, 1, 10, 30), list, flagged, true);
    EXPECT_EQ(list.Count(), 1);
}

} // namespace
} // namespace tl
