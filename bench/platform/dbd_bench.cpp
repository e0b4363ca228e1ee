// The database library under the loads of a month's run, on database files in a temp directory:
// - InsertOrReplace of N result rows of the nine-field shape in one transaction, by stamp and
//   within a stamp by element (1,000 channel pairs, 2,000 elements), as the host stores a pass;
// - the data request with 100, 1,000 and 5,000 (object, objtype) groups of two channels each
//   over a day of 30-minute rows (48 stamps), on a table of 10,000 such groups;
// - loading 1,000,000 rows of the table's ten columns into a result set.
// Items processed are rows written, returned or loaded.
#include "tlcommon/date_time.hpp"
#include "tlplatform/db_connection.hpp"

#include <atomic>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fmt/format.h>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace tl {
namespace {

const DateTime kDay = EncodeDate(2014, 11, 1);
constexpr double kSecond = 1.0 / 86'400.0;
constexpr int kStampsPerDay = 48;
constexpr int kStoredGroups = 10'000; // objects in the data-request table, two channels each

DateTime Stamp(int index) {
    return FromMillis(ToMillis(kDay) + int64_t{index + 1} * 30 * 60'000);
}

TlVariant Int(int32_t value) {
    TlVariant v{};
    v.kind = TL_VT_INT32;
    v.v.i32 = value;
    return v;
}
TlVariant Double(double value) {
    TlVariant v{};
    v.kind = TL_VT_DOUBLE;
    v.v.f64 = value;
    return v;
}
TlVariant Date(DateTime value) {
    TlVariant v{};
    v.kind = TL_VT_DATETIME;
    v.v.date_time = value;
    return v;
}

// A database file of its own, removed with its WAL files when the object goes.
class ScratchDatabase {
public:
    ScratchDatabase() {
        static std::atomic<int> counter{0};
        path_ =
            std::filesystem::temp_directory_path() / fmt::format("tldbd-bench-{}-{}.db", getpid(), counter++);
        db_ = db::Connection::Open(path_.string());
        db::InitSchema(*db_);
    }
    ~ScratchDatabase() {
        db_.reset();
        std::error_code ec;
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(path_.string() + suffix, ec);
        }
    }
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    db::Connection& operator*() { return *db_; }
    db::Connection* operator->() { return db_.get(); }

private:
    std::filesystem::path path_;
    std::unique_ptr<db::Connection> db_;
};

// Result rows as a pass hands them over: stamp by stamp, 1,000 pairs of elements per stamp.
void WriteResultRows(db::Connection& db, int64_t rows) {
    constexpr int kElements = 2'000;
    static constexpr std::string_view kNames[] = {"ParNumber", "Data_Date", "Object",    "Item",    "ObjType",
                                                  "Value0",    "Value1",    "TvkStatus", "RCVStamp"};
    db.Begin();
    for (int64_t r = 0; r < rows; ++r) {
        const int element = static_cast<int>(r % kElements);
        const int stamp = static_cast<int>(r / kElements);
        const TlVariant values[] = {
            Int(30012), Date(kDay + stamp / 48.0), Int(1 + element / 8), Int(1 + element % 8),
            Int(99),    Double(element * 0.25),    Double(stamp * 0.5),  Double(0.0),
            Date(kDay)};
        db.InsertOrReplace("Data", kNames, values);
    }
    db.Commit();
}

void BM_InsertOrReplaceResultRows(benchmark::State& state) {
    const int64_t rows = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        {
            ScratchDatabase db;
            state.ResumeTiming();
            WriteResultRows(*db, rows);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_InsertOrReplaceResultRows)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Ten thousand objects of type 99 with channels 1 and 2, a day of 30-minute rows each, plus the
// edges of the neighbouring days that the window must leave out.
ScratchDatabase& RequestTable() {
    static const std::unique_ptr<ScratchDatabase> db = [] {
        auto made = std::make_unique<ScratchDatabase>();
        auto& connection = **made;
        static constexpr std::string_view kNames[] = {"parnumber", "object", "objtype", "item",
                                                      "data_date", "season", "value0",  "tvkstatus"};
        connection.Begin();
        for (int s = -1; s <= kStampsPerDay; ++s) {
            for (int object = 1; object <= kStoredGroups; ++object) {
                for (int item = 1; item <= 2; ++item) {
                    const TlVariant values[] = {Int(12),
                                                Int(object),
                                                Int(99),
                                                Int(item),
                                                Date(Stamp(s)),
                                                Int(0),
                                                Double(object + item * 0.5),
                                                Int(0)};
                    connection.InsertOrReplace("data", kNames, values);
                }
            }
        }
        connection.Commit();
        return made;
    }();
    return *db;
}

// The filter text of `groups` objects spread over the table, as the driver writes it.
std::string FilterText(int groups) {
    std::string text = "(";
    const int step = kStoredGroups / groups;
    for (int g = 0; g < groups; ++g) {
        fmt::format_to(std::back_inserter(text), "{}(object = {} and objtype = 99 and item in (1, 2))",
                       g == 0 ? "" : " or ", 1 + g * step);
    }
    text += ')';
    return text;
}

void BM_DataRequest(benchmark::State& state) {
    const int groups = static_cast<int>(state.range(0));
    ScratchDatabase& db = RequestTable();
    const std::string sql = fmt::format("select * from data where parnumber = :pn1 and data_date between "
                                        ":sdt and :edt and {} order by data_date, season, object, item",
                                        FilterText(groups));
    const TlVariant params[] = {Int(12), Date(Stamp(0) - 10 * kSecond), Date(Stamp(kStampsPerDay - 1))};
    const int64_t expected = int64_t{groups} * 2 * kStampsPerDay;
    int64_t rows = 0;
    for (auto _ : state) {
        try {
            rows += db->Query(sql, params)->RowCount();
        } catch (const db::Error& e) {
            state.SkipWithError(e.what());
            return;
        }
    }
    if (rows != expected * state.iterations()) {
        state.SkipWithError("the request returned other rows than those asked for");
    }
    state.SetItemsProcessed(rows);
}
BENCHMARK(BM_DataRequest)->Arg(100)->Arg(1'000)->Arg(5'000)->Unit(benchmark::kMillisecond);

void BM_LoadRows(benchmark::State& state) {
    constexpr int64_t kRows = 1'000'000;
    static const std::unique_ptr<ScratchDatabase> db = [] {
        auto made = std::make_unique<ScratchDatabase>();
        WriteResultRows(**made, kRows);
        return made;
    }();
    int64_t rows = 0;
    for (auto _ : state) {
        rows += (*db)->Query("select * from data", {})->RowCount();
    }
    if (rows != kRows * state.iterations()) {
        state.SkipWithError("not every row was loaded");
    }
    state.SetItemsProcessed(rows);
}
BENCHMARK(BM_LoadRows)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tl

BENCHMARK_MAIN();
