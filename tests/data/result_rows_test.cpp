#include "data_test_support.hpp"
#include "tldata/result_rows.hpp"

#include <bit>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl {
namespace {

using test::At;

// A pass's rows in the compact form, added unreserved over several blocks: stamp after stamp with the
// elements in one order, a pair missing at some stamps and one present only at the last, statuses alternating
// from pair to pair, receive stamps changing now and then. They take about 24 bytes a row and read back as
// the nine result fields in order, the status word in the bytes of a double, through the C interface the host
// reads them by, exactly as added, also after a record of another shape has turned them into ordinary
// records.
TEST(ResultRowsTest, CompactRowsReadBackAsTheNineResultFieldsAsAdded) {
    constexpr int kStamps = 16;
    constexpr int kPairs = 1500;
    std::vector<ResultRow> rows;
    for (int stamp = 0; stamp < kStamps; ++stamp) {
        for (int pair = 0; pair <= kPairs; ++pair) {
            if ((pair == 700 && stamp % 3 == 1) || (pair == kPairs && stamp < kStamps - 1)) {
                continue;
            }
            const int64_t status = pair % 2 == 0 ? 0x40000 : 0;
            const DateTime rcv = At(2014, 11, 1) + (pair / 100) * kOneMs;
            for (int member = 0; member < 2; ++member) {
                rows.push_back({30012, At(2014, 11, 1, 0, 30 * stamp), 100 + pair / 2, member, pair % 2,
                                pair * 0.5, -pair * 0.25, status, rcv});
            }
        }
    }
    TDBRecords records;
    ResultRowWriter writer(records);
    for (const ResultRow& row : rows) {
        writer.Add(row);
    }
    EXPECT_LE(records.ValueBytes(), rows.size() * 28);

    const char* const names[] = {"ParNumber", "Data_Date", "Object",    "Item",    "ObjType",
                                 "Value0",    "Value1",    "TvkStatus", "RCVStamp"};
    const TlVariantKind kinds[] = {TL_VT_INT32,  TL_VT_DATETIME, TL_VT_INT32,  TL_VT_INT32,   TL_VT_INT32,
                                   TL_VT_DOUBLE, TL_VT_DOUBLE,   TL_VT_DOUBLE, TL_VT_DATETIME};
    // Every field compared bit for bit, the status word in the bytes of its double.
    const auto bits = [](auto value) { return std::bit_cast<uint64_t>(static_cast<double>(value)); };
    const auto expect_rows = [&](const TlRecords* abi) {
        for (int32_t i = 0; i < static_cast<int32_t>(rows.size()); ++i) {
            const ResultRow& row = rows[static_cast<size_t>(i)];
            const uint64_t expected[] = {bits(row.par_number), bits(row.data_date),
                                         bits(row.object),     bits(row.item),
                                         bits(row.type),       bits(row.value0),
                                         bits(row.value1),     bits(StatusWordAsDouble(row.status)),
                                         bits(row.rcv_stamp)};
            ASSERT_EQ(abi->vtbl->FieldCount(abi, i), 9);
            for (int32_t f = 0; f < 9; ++f) {
                const TlVariant value = abi->vtbl->Value(abi, i, f);
                ASSERT_EQ(value.kind, kinds[f]) << i << " " << f;
                ASSERT_EQ(value.kind == TL_VT_INT32 ? bits(value.v.i32) : bits(value.v.f64), expected[f])
                    << i << " " << f;
                ASSERT_STREQ(abi->vtbl->FieldName(abi, i, f), names[f]);
            }
        }
    };
    const TlRecords* abi = records.AsAbi(TextEncoding::kCp1251);
    ASSERT_EQ(abi->vtbl->Count(abi), static_cast<int32_t>(rows.size()));
    expect_rows(abi);
    EXPECT_EQ(abi->vtbl->FieldCount(abi, static_cast<int32_t>(rows.size())), 0);
    EXPECT_EQ(abi->vtbl->Value(abi, 0, 9).kind, TL_VT_NULL);

    ASSERT_TRUE(records.Add(std::vector<std::string>{"Note"}, std::vector<Variant>{Variant::String("last")}));
    ASSERT_EQ(abi->vtbl->Count(abi), static_cast<int32_t>(rows.size() + 1));
    expect_rows(abi);
    EXPECT_STREQ(abi->vtbl->Value(abi, static_cast<int32_t>(rows.size()), 0).v.str, "last");
}

} // namespace
} // namespace tl
