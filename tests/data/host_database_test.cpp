#include "fake_host_service.hpp"
#include "tldata/host_database.hpp"
#include "tldata/result_reader.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tl {
namespace {

using test::FakeHost;
using test::FakeResultSet;

void IgnoreCompletion(void*, int32_t, TlResultSet**) {}

const std::vector<Variant> kEveryKind = {Variant::Int32(12),
                                         Variant::Int64(int64_t{1} << 40),
                                         Variant::Double(0.5),
                                         Variant::DateTime(41944.5),
                                         Variant::Bool(false),
                                         Variant::String("ТП-10"),
                                         Variant()};

TEST(HostDatabaseTest, QueryTextAndParametersReachTheHostConverted) {
    // Without parameters the host gets the integer 0.
    const std::pair<std::vector<Variant>, std::vector<Variant>> cases[] = {{{}, {Variant::Int32(0)}},
                                                                           {kEveryKind, kEveryKind}};
    // The task, handler and context reach the host as given: the task list's tests complete through them.
    for (const auto& [params, host_sees] : cases) {
        FakeHost host;
        HostDatabase(host.Service())
            .ExecQuery(17, "select * from data where Item = :объект", params, &IgnoreCompletion, nullptr);
        ASSERT_EQ(host.Queries().size(), 1u);
        EXPECT_EQ(host.Queries()[0].sql, "select * from data where Item = :объект");
        EXPECT_EQ(host.Queries()[0].params, host_sees);
    }
}

TEST(HostDatabaseTest, ReleaseDataSetReleasesOnlyAHeldSetAndEmptiesTheVariable) {
    FakeHost host;
    FakeResultSet set({"A"}, {{1}});
    TlResultSet* variable = set.Set();
    const HostDatabase db(host.Service());
    db.ReleaseDataSet(&variable);
    EXPECT_EQ(variable, nullptr);
    db.ReleaseDataSet(&variable);
    db.ReleaseDataSet(nullptr);
    EXPECT_EQ(host.ReleaseCount(set.Set()), 1);
}

// Values of every kind, and names and strings in Windows-1251: the fake converts back from it, so
// the round trip proves the conversion.
TEST(HostDatabaseTest, StoredRecordsPassToTheHostInWindows1251) {
    FakeHost host;
    auto records = std::make_unique<TDBRecords>();
    std::vector<std::string> names;
    std::vector<std::pair<std::string, Variant>> fields;
    for (const Variant& value : kEveryKind) {
        names.push_back("Поле" + std::to_string(names.size()));
        fields.emplace_back(names.back(), value);
    }
    ASSERT_TRUE(records->Add(names, kEveryKind));
    HostDatabase(host.Service()).StoreRecords("Data", std::move(records));
    ASSERT_EQ(host.Stored().size(), 1u);
    EXPECT_EQ(host.Stored()[0].table, "Data");
    EXPECT_EQ(host.Stored()[0].records, decltype(host.Stored()[0].records){fields});
}

TEST(HostDatabaseTest, OperationsWithoutAHostThrow) {
    const HostDatabase db(nullptr);
    FakeResultSet set({"A"}, {});
    TlResultSet* variable = set.Set();
    EXPECT_THROW(db.ExecQuery(1, "select 1", {}, &IgnoreCompletion, nullptr), std::logic_error);
    EXPECT_THROW(db.ReleaseDataSet(&variable), std::logic_error);
    EXPECT_THROW(db.StoreRecords("Data", std::make_unique<TDBRecords>()), std::logic_error);
}

TEST(HostServiceRefTest, KeepsExactlyOneReferencePerHolder) {
    FakeHost first;
    FakeHost second;
    {
        HostServiceRef ref(first.Service());
        EXPECT_EQ(first.References(), 1);
        ref.Reset(first.Service()); // the same interface again must not drop to zero in between
        EXPECT_EQ(first.References(), 1);
        HostServiceRef copy(ref);
        EXPECT_EQ(first.References(), 2);
        copy.Reset(second.Service());
        EXPECT_EQ(first.References(), 1);
        EXPECT_EQ(second.References(), 1);
    }
    EXPECT_EQ(first.References(), 0);
    EXPECT_EQ(second.References(), 0);
}

// Reading rows through the reader is checked on real result sets by data_readers_test.
TEST(ResultReaderTest, MissingFieldsAreReportedByName) {
    FakeResultSet set({"A"}, {{1}});
    ResultReader reader(set.Set());
    try {
        reader.Require("TvkStatus");
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("TvkStatus"), std::string::npos);
    }
    reader.First();
    EXPECT_THROW(reader.AsDouble(reader.Find("B")), std::runtime_error);
    EXPECT_THROW(ResultReader(nullptr), std::invalid_argument);
}

} // namespace
} // namespace tl
