#include "fake_dbd_observer.h"
#include "tldata/record_writer.hpp"

#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tl {
namespace {

using Names = std::vector<std::string>;
using Values = std::vector<Variant>;
using Fields = std::vector<std::pair<std::string, Variant>>;

std::vector<Fields> ReadRecords(const TlRecords* records) {
    std::vector<Fields> out;
    for (int32_t r = 0; r < records->vtbl->Count(records); ++r) {
        Fields& fields = out.emplace_back();
        for (int32_t f = 0; f < records->vtbl->FieldCount(records, r); ++f) {
            fields.emplace_back(records->vtbl->FieldName(records, r, f),
                                FromAbi(records->vtbl->Value(records, r, f), false));
        }
    }
    return out;
}

struct Observer : FakeDbdObserver {
    std::string table;
    std::vector<Fields> records;
    Observer() : FakeDbdObserver{&Observer::Seen, 0} {}
    static void Seen(FakeDbdObserver* self, const char* table_name, const TlRecords* list) {
        auto* observer = static_cast<Observer*>(self);
        observer->table = table_name;
        observer->records = ReadRecords(list);
    }
};

TEST(DbdBindingTest, LibraryWithOnlyDBAddRecordsStillWritesACompactList) {
    void* library = dlopen(FAKE_DBD_ADD_RECORDS_ONLY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const DbdBinding dbd(library);
    for (const char* name : DbdBinding::kFunctionNames) {
        EXPECT_EQ(dbd.IsBound(name), std::string(name) == "DBAddRecords") << name;
    }

    TDBRecordsEx records;
    records.AddRecord(Names{"ParNumber", "Имя"}, Values{Variant::Int32(30012), Variant::String("Линия")});
    records.AddRecord(Names{"PARNUMBER", "имя"}, Values{Variant::Int32(30018), Variant::String("Ячейка")});
    Observer observer;
    EXPECT_EQ(WriteRecords(dbd, "Data", records, &observer, 1), 2);
    EXPECT_EQ(observer.calls, 1);
    EXPECT_EQ(observer.table, "Data");
    // Our database library reads names and strings as UTF-8.
    const std::vector<Fields> expected = {
        {{"ParNumber", Variant::Int32(30012)}, {"Имя", Variant::String("Линия")}},
        {{"ParNumber", Variant::Int32(30018)}, {"Имя", Variant::String("Ячейка")}},
    };
    EXPECT_EQ(observer.records, expected);
    dlclose(library);
}

TEST(DbdBindingTest, ProcessBindingFindsTheLoadedDatabaseLibrary) {
    const DbdBinding& dbd = DbdBinding::Process();
    EXPECT_TRUE(dbd.IsBound("DBAddRecords"));
    EXPECT_TRUE(dbd.IsBound("DBAddRecord"));
    EXPECT_EQ(&dbd, &DbdBinding::Process());
}

// In-process writers that note which one was called, with how many records or fields and which
// flag, and answer with their number.
struct Writers {
    static inline std::string called;
    static inline int32_t count = 0;
    static inline uint8_t flag = 0;
    static int32_t Hit(const char* name, int32_t n, uint8_t f, int32_t result) {
        called = name;
        count = n;
        flag = f;
        return result;
    }
    static int32_t N(const TlRecords* r) { return r->vtbl->Count(r); }
    static int32_t Recs(const char*, const TlRecords* r, void*) { return Hit("DBAddRecords", N(r), 0, 1); }
    static int32_t RecsEx(const char*, const TlRecords* r, void*, uint8_t f) {
        return Hit("DBAddRecordsEx", N(r), f, 2);
    }
    static int32_t RecsEx2(const char*, const TlRecords* r, void*, uint8_t f) {
        return Hit("DBAddRecordsEx2", N(r), f, 3);
    }
    static int32_t Rec(const char*, const char* const*, const TlVariant*, int32_t n) {
        return Hit("DBAddRecord", n, 0, 4);
    }
    static int32_t RecEx(const char*, const char* const*, uint8_t f, const TlVariant*, int32_t n) {
        return Hit("DBAddRecordEx", n, f, 5);
    }
};

// A plain list goes to DBAddRecordsEx, else DBAddRecords; a compact list to DBAddRecordsEx2, else as
// a plain one; a single record to DBAddRecordEx, else DBAddRecord; with none of them, -1. The flag
// reaches the functions that take one.
TEST(WriteRecordsTest, UsesTheBestFunctionTheLibraryOffers) {
    const std::map<std::string, int32_t> results = {{"DBAddRecords", 1},    {"DBAddRecordsEx", 2},
                                                    {"DBAddRecordsEx2", 3}, {"DBAddRecord", 4},
                                                    {"DBAddRecordEx", 5},   {"", -1}};
    struct Case {
        bool ex2, ex, plain, record_ex, record;
        const char* plain_list;
        const char* compact_list;
        const char* single;
    } const cases[] = {
        {true, true, true, true, true, "DBAddRecordsEx", "DBAddRecordsEx2", "DBAddRecordEx"},
        {false, true, true, false, true, "DBAddRecordsEx", "DBAddRecordsEx", "DBAddRecord"},
        {true, false, true, false, false, "DBAddRecords", "DBAddRecordsEx2", ""},
        {false, false, true, false, false, "DBAddRecords", "DBAddRecords", ""},
        {false, false, false, false, false, "", "", ""},
    };
    TDBRecords plain;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(plain.Add(Names{"A"}, Values{Variant::Int32(i)}));
    }
    TDBRecordsEx compact;
    compact.AddRecord(Names{"A"}, Values{Variant::Int32(1)});
    compact.AddRecord(Names{"a"}, Values{Variant::Int32(2)});
    for (const auto& c : cases) {
        DbdBinding dbd(nullptr);
        dbd.add_records_ex2 = c.ex2 ? &Writers::RecsEx2 : nullptr;
        dbd.add_records_ex = c.ex ? &Writers::RecsEx : nullptr;
        dbd.add_records = c.plain ? &Writers::Recs : nullptr;
        dbd.add_record_ex = c.record_ex ? &Writers::RecEx : nullptr;
        dbd.add_record = c.record ? &Writers::Rec : nullptr;
        const std::function<int32_t()> calls[] = {
            [&] { return WriteRecords(dbd, "Data", plain, nullptr, 7); },
            [&] { return WriteRecords(dbd, "Data", compact, nullptr, 7); },
            [&] {
                return WriteRecord(dbd, "Data", Names{"A", "B"}, 7,
                                   Values{Variant::Int32(1), Variant::Double(2)});
            },
        };
        const char* const expected[] = {c.plain_list, c.compact_list, c.single};
        for (size_t k = 0; k < 3; ++k) {
            SCOPED_TRACE(expected[k]);
            Writers::Hit("", 0, 0, 0);
            EXPECT_EQ(calls[k](), results.at(expected[k]));
            EXPECT_EQ(Writers::called, expected[k]);
            EXPECT_EQ(Writers::count, Writers::called.empty() ? 0 : 2); // records, or fields
            EXPECT_EQ(Writers::flag,
                      Writers::called.ends_with("Ex") || Writers::called.ends_with("Ex2") ? 7 : 0);
        }
    }
}

} // namespace
} // namespace tl
