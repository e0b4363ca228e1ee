#include "data_test_support.hpp"
#include "tldata/result_rows.hpp"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

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

} // namespace
} // namespace tl
