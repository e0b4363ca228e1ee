#include "fake_dbd_observer.h"
#include "tldata/record_writer.hpp"

#include <dlfcn.h>
#include <gtest/gtest.h>
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

// In-process writers that tell which one was called, with how many records or fields and which flag.
std::string g_called;
uint8_t g_flag = 0;
int32_t g_count = 0;

int32_t Called(const char* name, int32_t count, uint8_t flag, int32_t result) {
    g_called = name;
    g_count = count;
    g_flag = flag;
    return result;
}
int32_t AddRecords(const char*, const TlRecords* r, void*) {
    return Called("DBAddRecords", r->vtbl->Count(r), 0, 1);
}
int32_t AddRecordsEx(const char*, const TlRecords* r, void*, uint8_t flag) {
    return Called("DBAddRecordsEx", r->vtbl->Count(r), flag, 2);
}
int32_t AddRecordsEx2(const char*, const TlRecords* r, void*, uint8_t flag) {
    return Called("DBAddRecordsEx2", r->vtbl->Count(r), flag, 3);
}
int32_t AddRecord(const char*, const char* const*, const TlVariant*, int32_t count) {
    return Called("DBAddRecord", count, 0, 4);
}
int32_t AddRecordEx(const char*, const char* const*, uint8_t flag, const TlVariant*, int32_t count) {
    return Called("DBAddRecordEx", count, flag, 5);
}

TEST(WriteRecordsTest, UsesTheBestListFunctionTheLibraryOffers) {
    struct Case {
        bool ex2, ex, plain;
        const char* plain_list;   // function chosen for a TDBRecords
        const char* compact_list; // and for a TDBRecordsEx
    } const cases[] = {
        {true, true, true, "DBAddRecordsEx", "DBAddRecordsEx2"},
        {false, true, true, "DBAddRecordsEx", "DBAddRecordsEx"},
        {true, false, true, "DBAddRecords", "DBAddRecordsEx2"},
        {false, false, true, "DBAddRecords", "DBAddRecords"},
        {false, false, false, "", ""},
    };
    TDBRecords plain;
    ASSERT_TRUE(plain.Add(Names{"A"}, Values{Variant::Int32(1)}));
    TDBRecordsEx compact;
    compact.AddRecord(Names{"A"}, Values{Variant::Int32(1)});
    compact.AddRecord(Names{"a"}, Values{Variant::Int32(2)});
    for (const auto& c : cases) {
        DbdBinding dbd(nullptr);
        dbd.add_records_ex2 = c.ex2 ? &AddRecordsEx2 : nullptr;
        dbd.add_records_ex = c.ex ? &AddRecordsEx : nullptr;
        dbd.add_records = c.plain ? &AddRecords : nullptr;

        Called("", 0, 0, 0);
        EXPECT_EQ(WriteRecords(dbd, "Data", plain, nullptr, 7) == -1, c.plain_list[0] == '\0');
        EXPECT_EQ(g_called, c.plain_list);

        Called("", 0, 0, 0);
        WriteRecords(dbd, "Data", compact, nullptr, 9);
        EXPECT_EQ(g_called, c.compact_list);
        EXPECT_EQ(g_count, g_called.empty() ? 0 : 2) << c.compact_list;
        EXPECT_EQ(g_flag, g_called.starts_with("DBAddRecordsEx") ? 9 : 0) << c.compact_list;
    }
}

TEST(WriteRecordsTest, SingleRecordPrefersTheFlaggedFunction) {
    struct Case {
        bool ex, plain;
        const char* called;
        int32_t result;
    } const cases[] = {
        {true, true, "DBAddRecordEx", 5},
        {false, true, "DBAddRecord", 4},
        {false, false, "", -1},
    };
    for (const auto& c : cases) {
        DbdBinding dbd(nullptr);
        dbd.add_record_ex = c.ex ? &AddRecordEx : nullptr;
        dbd.add_record = c.plain ? &AddRecord : nullptr;
        Called("", 0, 0, 0);
        EXPECT_EQ(WriteRecord(dbd, "Data", Names{"A", "B"}, 3, Values{Variant::Int32(1), Variant::Double(2)}),
                  c.result);
        EXPECT_EQ(g_called, c.called);
        EXPECT_EQ(g_count, c.result == -1 ? 0 : 2);
        EXPECT_EQ(g_flag, c.result == 5 ? 3 : 0);
    }
}

} // namespace
} // namespace tl
