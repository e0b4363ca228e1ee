#include "data_test_support.hpp"
#include "tldata/result_rows.hpp"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl {
namespace {

using test::At;

TEST(ResultRowsTest, NineFieldsInOrderWithTheStatusWordInTheBytesOfADouble) {
    TDBRecords records;
    ResultRowWriter writer(records);
    writer.Add({30012, At(2014, 11, 1, 10, 30), 100, 5, 0, 12.5, -0.25, 0x40000, At(2014, 11, 1)});
    writer.Add({30026, At(2014, 11, 2), 101, 6, 2, 0, 0, 0, At(2014, 11, 1)});
    ASSERT_EQ(records.Count(), 2);
    EXPECT_EQ(records.NameSetCount(), 1);

    const RecordView row = records.Get(0);
    const Variant expected[] = {
        Variant::Int32(30012),
        Variant::DateTime(At(2014, 11, 1, 10, 30)),
        Variant::Int32(100),
        Variant::Int32(5),
        Variant::Int32(0),
        Variant::Double(12.5),
        Variant::Double(-0.25),
        Variant::Double(StatusWordAsDouble(0x40000)),
        Variant::DateTime(At(2014, 11, 1)),
    };
    const char* names[] = {"ParNumber", "Data_Date", "Object",    "Item",    "ObjType",
                           "Value0",    "Value1",    "TvkStatus", "RCVStamp"};
    ASSERT_EQ(row.FieldCount(), 9);
    for (int32_t i = 0; i < 9; ++i) {
        EXPECT_EQ(row.Name(i), names[i]);
        EXPECT_EQ(row.Value(i), expected[i]) << names[i];
    }

    const std::array<unsigned char, 8> status_bytes = {0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};
    const double status = row.Value(7).AsDouble();
    EXPECT_EQ(std::memcmp(&status, status_bytes.data(), 8), 0);
    EXPECT_EQ(records.Get(1).Value(7), Variant::Double(0.0));
}

// A pass's rows in the compact form: two stamps, statuses alternating from pair to pair, receive
// stamps changing now and then. The host reads each back through the C interface exactly as it was
// added, also after a record of another shape has turned them into ordinary records.
TEST(ResultRowsTest, CompactRowsReadBackThroughTheAbiAsAdded) {
    std::vector<ResultRow> rows;
    for (int stamp = 0; stamp < 2; ++stamp) {
        for (int pair = 0; pair < 500; ++pair) {
            const int64_t status = pair % 2 == 0 ? 0x40000 : 0;
            const DateTime rcv = At(2014, 11, 1) + (pair / 100) * kOneMs;
            for (int member = 0; member < 2; ++member) {
                rows.push_back({30012, At(2014, 11, 1, 0, 30 * stamp), 100 + pair, member, 0, pair * 0.5,
                                -pair * 0.25, status, rcv});
            }
        }
    }
    TDBRecords records;
    records.ReserveResultRows(rows.size());
    ResultRowWriter writer(records);
    for (const ResultRow& row : rows) {
        writer.Add(row);
    }
    EXPECT_LE(records.ValueBytes(), rows.size() * 50);

    const auto expect_rows = [&](const TlRecords* abi) {
        for (size_t r = 0; r < rows.size(); ++r) {
            const ResultRow& row = rows[r];
            const auto i = static_cast<int32_t>(r);
            ASSERT_EQ(abi->vtbl->FieldCount(abi, i), 9);
            const auto integer = [&](int32_t f) { return abi->vtbl->Value(abi, i, f).v.i32; };
            const auto real = [&](int32_t f, TlVariantKind kind) {
                const TlVariant v = abi->vtbl->Value(abi, i, f);
                EXPECT_EQ(v.kind, kind) << "row " << r << " field " << f;
                return v.v.f64;
            };
            ASSERT_EQ(integer(0), row.par_number) << r;
            ASSERT_EQ(real(1, TL_VT_DATETIME), row.data_date) << r;
            ASSERT_EQ(integer(2), row.object) << r;
            ASSERT_EQ(integer(3), row.item) << r;
            ASSERT_EQ(integer(4), row.type) << r;
            ASSERT_EQ(real(5, TL_VT_DOUBLE), row.value0) << r;
            ASSERT_EQ(real(6, TL_VT_DOUBLE), row.value1) << r;
            const double status = real(7, TL_VT_DOUBLE);
            ASSERT_EQ(std::memcmp(&status, &row.status, 8), 0) << r;
            ASSERT_EQ(real(8, TL_VT_DATETIME), row.rcv_stamp) << r;
            ASSERT_STREQ(abi->vtbl->FieldName(abi, i, 8), "RCVStamp");
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
    EXPECT_EQ(records.NameSetCount(), 2);
}

} // namespace
} // namespace tl
