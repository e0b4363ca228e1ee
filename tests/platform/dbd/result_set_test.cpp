#include "memory_result_set.hpp"
#include "tlcommon/date_time.hpp"

#include <fmt/format.h>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <thread>

namespace tl::db {
namespace {

// One row holding every kind of cell, read as the driver reads it: through the C function table.
class ResultSetConversions : public ::testing::Test {
protected:
    ResultSetConversions()
        : set_({"int", "real", "text_int", "text_comma", "text_iso", "text_ru", "text_word", "nul", "big",
                "half", "neg_half", "huge_real"}) {
        set_.AddInteger(0, 42);
        set_.AddReal(1, 2.75);
        set_.AddText(2, " 17 ");
        set_.AddText(3, "1,5");
        set_.AddText(4, "2014-11-01 12:00:00");
        set_.AddText(5, "01.11.2014 18:00");
        set_.AddText(6, "Подстанция");
        set_.AddNull(7);
        set_.AddInteger(8, int64_t{5'000'000'000});
        set_.AddReal(9, 2.5);
        set_.AddReal(10, -2.5);
        set_.AddReal(11, 1e300);
        set_.FinishRow();
        set_.First();
    }

    TlResultSet* c() { return &set_; }
    MemoryResultSet set_;
};

TEST_F(ResultSetConversions, ReadsEveryKindOfCellAsEachType) {
    const double nov1 = EncodeDate(2014, 11, 1);
    struct Case {
        const char* field;
        double as_double;
        int32_t as_integer;
        double as_date_time;
        bool is_null;
        const char* as_text;
    };
    const Case cases[] = {
        {"int", 42.0, 42, 42.0, false, "42"},
        {"real", 2.75, 3, 2.75, false, "2.75"},
        {"text_int", 17.0, 17, 17.0, false, " 17 "},
        {"text_comma", 1.5, 2, 1.5, false, "1,5"},
        {"text_iso", 0.0, 0, nov1 + 0.5, false, "2014-11-01 12:00:00"},
        {"text_ru", 0.0, 0, nov1 + 0.75, false, "01.11.2014 18:00"},
        {"text_word", 0.0, 0, 0.0, false, "Подстанция"},
        {"nul", 0.0, 0, 0.0, true, ""},
        {"big", 5e9, std::numeric_limits<int32_t>::max(), 5e9, false, "5000000000"},
        {"half", 2.5, 3, 2.5, false, "2.5"},
        {"neg_half", -2.5, -3, -2.5, false, "-2.5"},
        {"huge_real", 1e300, std::numeric_limits<int32_t>::max(), 1e300, false, "1e+300"},
    };
    for (const auto& k : cases) {
        const int32_t f = c()->vtbl->FieldIndex(c(), k.field);
        ASSERT_GE(f, 0) << k.field;
        EXPECT_DOUBLE_EQ(c()->vtbl->AsDouble(c(), f), k.as_double) << k.field;
        EXPECT_EQ(c()->vtbl->AsInteger(c(), f), k.as_integer) << k.field;
        EXPECT_NEAR(c()->vtbl->AsDateTime(c(), f), k.as_date_time, kOneMs / 2) << k.field;
        EXPECT_EQ(c()->vtbl->IsNull(c(), f), k.is_null) << k.field;
        EXPECT_EQ(set_.AsText(f), k.as_text) << k.field;
    }
}

TEST_F(ResultSetConversions, FindsFieldsWithoutRegardToCase) {
    EXPECT_EQ(c()->vtbl->FieldIndex(c(), "TEXT_ISO"), 4);
    EXPECT_EQ(c()->vtbl->FieldIndex(c(), "Text_Iso"), 4);
    EXPECT_EQ(c()->vtbl->FieldIndex(c(), "text_iso "), -1);
    EXPECT_EQ(c()->vtbl->FieldIndex(c(), "missing"), -1);
    EXPECT_EQ(c()->vtbl->FieldIndex(c(), nullptr), -1);
}

TEST_F(ResultSetConversions, UnknownFieldsAndRowsPastTheEndReadAsNull) {
    for (int32_t f : {-1, 12, 1000}) {
        EXPECT_TRUE(c()->vtbl->IsNull(c(), f)) << f;
        EXPECT_EQ(c()->vtbl->AsDouble(c(), f), 0.0) << f;
        EXPECT_EQ(c()->vtbl->AsInteger(c(), f), 0) << f;
    }
    c()->vtbl->Next(c());
    ASSERT_TRUE(c()->vtbl->Eof(c()));
    EXPECT_TRUE(c()->vtbl->IsNull(c(), 0));
    EXPECT_EQ(c()->vtbl->AsInteger(c(), 0), 0);
}

TEST(ResultSet, WalksRowsInOrder) {
    MemoryResultSet set({"n"});
    TlResultSet* c = &set;
    EXPECT_TRUE(c->vtbl->IsEmpty(c));
    EXPECT_TRUE(c->vtbl->Eof(c));
    c->vtbl->First(c);
    EXPECT_TRUE(c->vtbl->Eof(c));

    for (int i = 1; i <= 3; ++i) {
        set.AddInteger(0, i * 10);
        set.FinishRow();
    }
    EXPECT_FALSE(c->vtbl->IsEmpty(c));
    std::vector<int32_t> seen;
    for (c->vtbl->First(c); !c->vtbl->Eof(c); c->vtbl->Next(c)) {
        seen.push_back(c->vtbl->AsInteger(c, 0));
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{10, 20, 30}));
    c->vtbl->Next(c); // past the end stays at the end
    EXPECT_TRUE(c->vtbl->Eof(c));
    c->vtbl->First(c);
    EXPECT_EQ(c->vtbl->AsInteger(c, 0), 10);
}

TEST(ResultSet, StatusWordComesFromTheTvkStatusColumn) {
    struct Case {
        const char* column;
        int64_t stored; // INT64_MIN: a null cell
        int64_t expected;
    };
    const Case cases[] = {
        {"TvkStatus", 0x40000, 0x40000},
        {"tvkstatus", static_cast<int64_t>(0x8000000000040001ull),
         static_cast<int64_t>(0x8000000000040001ull)},
        {"TVKSTATUS", std::numeric_limits<int64_t>::min(), 0},
        {"status", 0x40000, 0},
    };
    for (const auto& k : cases) {
        MemoryResultSet set({"value0", k.column});
        set.AddReal(0, 1.0);
        if (k.stored == std::numeric_limits<int64_t>::min()) {
            set.AddNull(1);
        } else {
            set.AddInteger(1, k.stored);
        }
        set.FinishRow();
        set.First();
        TlResultSet* c = &set;
        EXPECT_EQ(c->vtbl->StatusWord(c), k.expected) << k.column;
    }
}

// Each column takes another compact form in its chunks (one value, runs, 32-bit integers, reals,
// cells of mixed kinds); every value reads back as it was added, before and after Finish, across
// full chunks and the partly filled last one.
TEST(ResultSet, CompactChunksKeepEveryValue) {
    constexpr int kRows = 4096 * 2 + 100;
    struct Column {
        const char* name;
        std::function<void(MemoryResultSet&, int32_t, int)> add;
        std::function<std::string(int)> text;
    };
    const Column columns[] = {
        {"constant", [](auto& s, int32_t c, int) { s.AddInteger(c, 12); }, [](int) { return "12"; }},
        {"runs", [](auto& s, int32_t c, int r) { s.AddReal(c, 41944.5 + r / 1000); },
         [](int r) { return fmt::format("{}", 41944.5 + r / 1000); }},
        {"int32", [](auto& s, int32_t c, int r) { s.AddInteger(c, r * 7919 - 100000); },
         [](int r) { return fmt::format("{}", r * 7919 - 100000); }},
        {"int64", [](auto& s, int32_t c, int r) { s.AddInteger(c, int64_t{r} << 33); },
         [](int r) { return fmt::format("{}", int64_t{r} << 33); }},
        {"real", [](auto& s, int32_t c, int r) { s.AddReal(c, r * 0.37); },
         [](int r) { return fmt::format("{}", r * 0.37); }},
        {"mixed",
         [](auto& s, int32_t c, int r) {
             if (r % 3 == 0) {
                 s.AddNull(c);
             } else if (r % 3 == 1) {
                 s.AddText(c, fmt::format("t{}", r));
             } else {
                 s.AddReal(c, -r * 1.5);
             }
         },
         [](int r) {
             return r % 3 == 0   ? std::string()
                    : r % 3 == 1 ? fmt::format("t{}", r)
                                 : fmt::format("{}", -r * 1.5);
         }},
        {"left_out", [](auto&, int32_t, int) {}, [](int) { return std::string(); }},
    };
    std::vector<std::string> names;
    for (const Column& column : columns) {
        names.emplace_back(column.name);
    }
    MemoryResultSet set(names);
    for (int r = 0; r < kRows; ++r) {
        for (int32_t c = 0; c < static_cast<int32_t>(std::size(columns)); ++c) {
            columns[c].add(set, c, r);
        }
        set.FinishRow();
    }
    for (const bool finished : {false, true}) {
        if (finished) {
            set.Finish();
        }
        ASSERT_EQ(set.RowCount(), kRows);
        set.First();
        for (int r = 0; r < kRows; ++r, set.Next()) {
            for (int32_t c = 0; c < static_cast<int32_t>(std::size(columns)); ++c) {
                ASSERT_EQ(set.AsText(c), columns[c].text(r)) << columns[c].name << " row " << r << finished;
            }
        }
        EXPECT_TRUE(set.Eof());
    }
    // The constant, runs and 32-bit columns cost far less than the 9 bytes of a cell each.
    EXPECT_LT(set.HeldBytes(), static_cast<size_t>(kRows) * 9 * 5);
}

// Published, a set is read on one thread while another fills it: the reader waits for rows not yet
// there and reads every row in order, and a text it holds stays readable while later texts are
// added; cut short by Abort, it ends at the rows published. Rows read into a set of their own and
// appended in the middle (a chunk and a part of one) read as if they had been added there.
TEST(ResultSet, APublishedSetIsReadWhileItFills) {
    enum class End { kFinished, kAborted, kWithAppendedRows };
    for (const End end : {End::kFinished, End::kAborted, End::kWithAppendedRows}) {
        SCOPED_TRACE(static_cast<int>(end));
        MemoryResultSet set({"n", "half", "text"});
        set.StartPublishing();
        constexpr int kRows = 3 * 4096 + 10;
        constexpr int kTailFrom = 5000;
        constexpr int kTailTo = 10000;
        const auto add = [](MemoryResultSet& to, int r) {
            to.AddInteger(0, r);
            to.AddReal(1, r / 2.0);
            to.AddText(2, fmt::format("{:0>64}", r));
            to.FinishRow();
        };
        std::thread filler([&] {
            for (int r = 0; r < kRows; ++r) {
                if (end == End::kWithAppendedRows && r == kTailFrom) {
                    MemoryResultSet tail({"n", "half", "text"});
                    for (; r < kTailTo; ++r) {
                        add(tail, r);
                    }
                    tail.Finish();
                    set.Append(std::move(tail));
                }
                add(set, r);
                if (end == End::kAborted && r == 4096 + 100) {
                    set.Abort();
                    return;
                }
                if (r % 1000 == 0) {
                    std::this_thread::yield();
                }
            }
            set.Finish();
        });
        TlResultSet* c = &set;
        EXPECT_FALSE(c->vtbl->IsEmpty(c));
        c->vtbl->First(c);
        const char* first_text = set.AsCString(2);
        int expected = 0;
        for (; !c->vtbl->Eof(c); c->vtbl->Next(c), ++expected) {
            ASSERT_EQ(c->vtbl->AsInteger(c, 0), expected);
            ASSERT_EQ(c->vtbl->AsDouble(c, 1), expected / 2.0);
            ASSERT_EQ(c->vtbl->AsInteger(c, 2), expected);
        }
        filler.join();
        EXPECT_EQ(std::string_view(first_text), std::string(64, '0'));
        EXPECT_EQ(expected, end == End::kAborted ? 4096 : kRows);
        EXPECT_EQ(set.RowCount(), expected);
    }
}

TEST(ResultSet, AppendRefusesOtherColumns) {
    MemoryResultSet set({"a", "b"});
    MemoryResultSet other({"a", "c"});
    EXPECT_THROW(set.Append(std::move(other)), Error);
}

TEST(ResultSet, RecognisesItsOwnSets) {
    MemoryResultSet set({"a"});
    TlResultSetVtbl foreign_table = *set.vtbl;
    TlResultSet foreign{&foreign_table};
    EXPECT_TRUE(MemoryResultSet::Owns(&set));
    EXPECT_FALSE(MemoryResultSet::Owns(&foreign));
    EXPECT_FALSE(MemoryResultSet::Owns(nullptr));
}

} // namespace
} // namespace tl::db
