#include "data_test_support.hpp"
#include "tldata/data_readers.hpp"
#include "tldata/data_requests.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace tl {
namespace {

using test::At;
using test::MeteringDb;

constexpr int64_t kBit = 0x40000;

// The answer to the data request of pass 7 (or the momentary request) over the whole day.
std::unique_ptr<db::ResultSet> Answer(MeteringDb& db, bool momentary = false) {
    const std::string filter = "((object = 100 and objtype = 0 and item in (1, 2, 3, 4)))";
    std::vector<Variant> params = {Variant::DateTime(At(2014, 11, 1)), Variant::DateTime(At(2014, 11, 2))};
    if (!momentary) {
        params.insert(params.begin(), Variant::Int32(12));
    }
    return db.Query(momentary ? MomentarySql(filter) : DataSql(filter), params);
}

std::vector<double> Values(const TDataList& list) {
    std::vector<double> values;
    for (const TDataRow& row : list.Rows()) {
        values.push_back(row.value);
    }
    return values;
}

using Reads = std::vector<std::vector<double>>;

// Reads at the stamps in turn, the list emptied before each.
Reads ReadAt(IntervalDataReader& reader, const std::vector<DateTime>& stamps,
             StatusFilter filter = StatusFilter::kAny) {
    Reads read;
    for (const DateTime stamp : stamps) {
        TDataList list;
        reader.ReadAtStamp(stamp, list, filter);
        read.push_back(Values(list));
    }
    return read;
}

TEST(IntervalDataReaderTest, StampByStampBothSeasonsAreKeptAndTheStoppingRowStaysCurrent) {
    MeteringDb db;
    db.AddData(12, 100, 0, 2, At(2014, 11, 1, 10, 0), 0, 4.0);
    db.AddData(12, 100, 0, 1, At(2014, 11, 1, 10, 0), 0, 2.0, kBit);
    db.AddData(12, 100, 0, 1, At(2014, 11, 1, 10, 0), 1, 3.0);
    db.AddData(12, 100, 0, 2, At(2014, 11, 1, 10, 30), 0, 7.0);
    auto set = Answer(db);
    IntervalDataReader reader(set.get());
    TDataList list;
    reader.ReadAtStamp(At(2014, 11, 1, 10, 0), list);
    EXPECT_EQ(Values(list), (std::vector<double>{2.0, 3.0, 4.0}));
    const TDataRow& row = list.Rows()[0];
    EXPECT_EQ((std::vector<int64_t>{row.object, row.item, row.season, row.status, row.par_number}),
              (std::vector<int64_t>{100, 1, 0, kBit, 12}));
    EXPECT_EQ(FormatStamp(row.stamp), "01.11.2014 10:00:00.000");
    EXPECT_EQ(list.Rows()[1].season, 1);
    EXPECT_EQ(ReadAt(reader, {At(2014, 11, 1, 10, 30), At(2014, 11, 1, 11, 0)}), (Reads{{7.0}, {}}));
}

// Rows come in runs (one per moment of a momentary window: merged) or in no order (sorted); a lookup
// starts from where the last one ended. In any order of rows and of lookups, each lookup finds its
// element's rows and only them; an element between rows or past either end finds none.
TEST(DataListTest, RowsInAnyOrderAreFoundByLookupsInAnyOrder) {
    std::vector<TDataRow> rows; // in order: 1 to 3 items an object, item 2 in both seasons
    for (int32_t object = 10; object <= 400; object += 10) {
        for (int32_t item = 1; item <= 1 + object % 3; ++item) {
            for (int32_t season = 0; season <= (item == 2 ? 1 : 0); ++season) {
                rows.push_back(TDataRow{0, 12, 0, object, item, 0, object + item / 10.0, season});
            }
        }
    }
    auto in_runs = rows; // a run per item
    std::stable_sort(in_runs.begin(), in_runs.end(), [](auto& a, auto& b) { return a.item < b.item; });
    std::vector<ElementAddress> asked; // objects 5 and 405 lie past the ends, item 4 nowhere
    for (int32_t object = 5; object <= 405; object += 5) {
        for (int32_t item = 1; item <= 4; ++item) {
            asked.push_back({object, 0, item});
        }
    }
    std::mt19937 random(7);
    const auto shuffled = [&](auto items) {
        std::shuffle(items.begin(), items.end(), random);
        return items;
    };
    const auto pairs = [](std::span<const TDataRow> list, const ElementAddress* only = nullptr) {
        std::vector<std::pair<double, int32_t>> result;
        for (const TDataRow& row : list) {
            if (only == nullptr || row.Address() == *only) {
                result.emplace_back(row.value, row.season);
            }
        }
        return result;
    };
    for (const auto& added : {rows, in_runs, shuffled(rows), decltype(rows)(rows.rbegin(), rows.rend())}) {
        TDataList list;
        for (const TDataRow& row : added) {
            list.Add(row);
        }
        ASSERT_EQ(pairs(list.Rows()), pairs(rows));
        for (const auto& order : {asked, decltype(asked)(asked.rbegin(), asked.rend()), shuffled(asked)}) {
            for (const ElementAddress& a : order) {
                ASSERT_EQ(pairs(list.RowsOf(a)), pairs(rows, &a)) << a.object << "." << a.item;
            }
        }
    }
}

// Rows less than 10 s from the stamp are read. A row outside the window, on either side, stops the
// reading and stays current: 9:59:50 for 10:00, then 10:00 for 9:59:50.
TEST(IntervalDataReaderTest, OnlyRowsWithinTenSecondsOfTheStampAreReadAndTheStoppingRowStaysCurrent) {
    MeteringDb db;
    db.AddData(12, 100, 0, 1, At(2014, 11, 1, 9, 59, 50), 0, 1.0);
    db.AddData(12, 100, 0, 1, At(2014, 11, 1, 10, 0), 0, 2.0);
    auto set = Answer(db);
    IntervalDataReader reader(set.get());
    const std::vector<DateTime> stamps = {At(2014, 11, 1, 10, 0), At(2014, 11, 1, 9, 59, 40, 1),
                                          At(2014, 11, 1, 9, 59, 50), At(2014, 11, 1, 10, 0, 9, 999)};
    EXPECT_EQ(ReadAt(reader, stamps), (Reads{{}, {1.0}, {}, {2.0}}));
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
    EXPECT_EQ(ReadAt(reader, {stamp, stamp}, StatusFilter::kWithStatusBit), (Reads{{1.0, 2.0}, {}}));
    EXPECT_EQ(ReadAt(reader, {stamp}, StatusFilter::kWithoutStatusBit), (Reads{{3.0}}));
    EXPECT_EQ(ReadAt(reader, {stamp}), (Reads{{4.0}}));
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

// After the window start (10:00 for 10:30 in pass 7) up to a second past the stamp; rows with the
// status bit apart when asked.
TEST(MomentaryDataReaderTest, ReadsAfterTheWindowStartUpToOneSecondPastTheStamp) {
    MeteringDb db;
    db.AddData(1100, 100, 0, 1, At(2014, 11, 1, 10, 0), 0, 0.0);
    db.AddData(1100, 100, 0, 1, At(2014, 11, 1, 10, 10), 0, 1.0);
    db.AddData(1100, 100, 0, 2, At(2014, 11, 1, 10, 20), 0, 2.0, kBit);
    db.AddData(1100, 100, 0, 1, At(2014, 11, 1, 10, 30, 0, 500), 0, 3.0);
    db.AddData(1100, 100, 0, 2, At(2014, 11, 1, 10, 30, 1), 0, 4.0);
    auto set = Answer(db, true);
    MomentaryDataReader reader(set.get());
    MomentaryDataReader none(nullptr);
    struct Step {
        MomentaryDataReader& reader;
        DateTime stamp;
        bool split;
        std::vector<double> read, flagged;
    } const steps[] = {
        {reader, At(2014, 11, 1, 10, 30), true, {1.0, 3.0}, {2.0}},
        {reader, At(2014, 11, 1, 11, 0), false, {4.0}, {}},
        {none, At(2014, 11, 1, 10, 30), true, {}, {}},
    };
    for (const Step& step : steps) {
        TDataList list;
        TDataList flagged;
        step.reader.ReadForStamp(7, step.stamp, list, flagged, step.split);
        EXPECT_EQ(Values(list), step.read);
        EXPECT_EQ(Values(flagged), step.flagged);
    }
}

} // namespace
} // namespace tl
