// A day of 30-minute data for 1,000 channel pairs (250 devices with 8 channels each, 48 stamps,
// 96,000 rows), as the metering database answers the data request: read stamp by stamp into one
// reused data list with a lookup of every channel, and the result rows a pass adds for it.
// (SQLite refuses a filter of more than about 1,000 object groups: its expression depth limit.)
#include "tldata/data_readers.hpp"
#include "tldata/data_requests.hpp"
#include "tldata/item_filter.hpp"
#include "tldata/result_rows.hpp"
#include "tlplatform/db_connection.hpp"

#include <benchmark/benchmark.h>
#include <memory>
#include <string_view>
#include <vector>

namespace tl {
namespace {

constexpr int kDevices = 250;
constexpr int kChannels = 8; // per device: four active/reactive pairs
constexpr int kRows = kDevices * kChannels;
constexpr int kStamps = 48;
const DateTime kDay = EncodeDate(2014, 11, 1);

DateTime Stamp(int index) {
    return FromMillis(ToMillis(kDay) + int64_t{index + 1} * 30 * 60'000);
}

TlVariant Abi(const Variant& value) {
    return ToAbiScalar(value);
}

struct PassData {
    TSQLItemParamContainer filter;
    std::unique_ptr<db::ResultSet> set;
};

const PassData& Data() {
    static const PassData data = [] {
        PassData d;
        auto db = db::Connection::Open(":memory:");
        db::InitSchema(*db);
        const std::string_view names[] = {"parnumber", "object", "objtype", "item",
                                          "data_date", "season", "value0",  "tvkstatus"};
        db->Begin();
        for (int s = 0; s < kStamps; ++s) {
            for (int device = 1; device <= kDevices; ++device) {
                for (int item = 1; item <= kChannels; ++item) {
                    const TlVariant values[] = {Abi(Variant::Int32(12)),
                                                Abi(Variant::Int32(device)),
                                                Abi(Variant::Int32(0)),
                                                Abi(Variant::Int32(item)),
                                                Abi(Variant::DateTime(Stamp(s))),
                                                Abi(Variant::Int32(0)),
                                                Abi(Variant::Double(device + item)),
                                                Abi(Variant::Int64(0))};
                    db->InsertOrReplace("data", names, values);
                }
            }
        }
        db->Commit();
        for (int device = 1; device <= kDevices; ++device) {
            for (int item = 1; item <= kChannels; ++item) {
                d.filter.Add(device, 0, item);
            }
        }
        std::vector<TlVariant> params = {Abi(Variant::Int32(12)), Abi(Variant::DateTime(kDay)),
                                         Abi(Variant::DateTime(Stamp(kStamps - 1)))};
        d.set = db->Query(DataSql(d.filter.FilterText()), params);
        return d;
    }();
    return data;
}

void BM_ReadStampsWithLookups(benchmark::State& state) {
    const PassData& data = Data();
    TDataList list;
    int64_t rows = 0;
    for (auto _ : state) {
        IntervalDataReader reader(data.set.get());
        DateTime stamp = reader.StampStart(kDay);
        double sum = 0;
        for (int s = 0; s < kStamps; ++s, stamp = Stamp(s)) {
            list.Clear();
            reader.ReadAtStamp(stamp, list);
            rows += list.Count();
            for (const ElementAddress& element : data.filter.Items()) {
                const TDataList::Index found = list.Find(element);
                sum += found != TDataList::kNone ? list.Row(found).value : 0.0;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    if (rows != int64_t{state.iterations()} * kStamps * kRows) {
        state.SkipWithError("not every row was read");
    }
    state.SetItemsProcessed(rows);
}
BENCHMARK(BM_ReadStampsWithLookups)->Unit(benchmark::kMillisecond);

// The result rows of the day's pass, stamp after stamp, the channels in one order at every stamp.
void AddPassRows(TDBRecords& records) {
    ResultRowWriter writer(records);
    for (int s = 0; s < kStamps; ++s) {
        for (int device = 1; device <= kDevices; ++device) {
            for (int item = 1; item <= kChannels; ++item) {
                writer.Add({30012, Stamp(s), device, item, 0, 1.5, 2.5, 0, kDay});
            }
        }
    }
}

void BM_AddResultRows(benchmark::State& state) {
    int64_t rows = 0;
    for (auto _ : state) {
        TDBRecords records;
        AddPassRows(records);
        rows += records.Count();
        benchmark::DoNotOptimize(records.Count());
    }
    state.SetItemsProcessed(rows);
    TDBRecords records;
    AddPassRows(records);
    state.counters["bytes/row"] = static_cast<double>(records.ValueBytes()) / records.Count();
}
BENCHMARK(BM_AddResultRows)->Unit(benchmark::kMillisecond);

// Every field of every row read back through the C interface, as the host's store reads them.
void BM_ReadResultRowsThroughAbi(benchmark::State& state) {
    TDBRecords records;
    AddPassRows(records);
    const TlRecords* abi = records.AsAbi(TextEncoding::kCp1251);
    const int32_t count = abi->vtbl->Count(abi);
    for (auto _ : state) {
        double sum = 0;
        for (int32_t r = 0; r < count; ++r) {
            const int32_t fields = abi->vtbl->FieldCount(abi, r);
            for (int32_t f = 0; f < fields; ++f) {
                const TlVariant value = abi->vtbl->Value(abi, r, f);
                sum += value.kind == TL_VT_INT32 ? value.v.i32 : value.v.f64;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(int64_t{state.iterations()} * count);
}
BENCHMARK(BM_ReadResultRowsThroughAbi)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tl

BENCHMARK_MAIN();
