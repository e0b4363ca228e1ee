#include "memory_result_set.hpp"
#include "tlcommon/date_time.hpp"

#include <fmt/format.h>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <thread>
#include <variant>

namespace tl::db {
namespace {

// A cell to add: none (the column left out), null, an integer, a real or a text.
using Cell = std::variant<std::monostate, std::nullptr_t, int64_t, double, std::string>;

void Add(MemoryResultSet& set, int32_t column, const Cell& cell) {
    if (std::holds_alternative<std::nullptr_t>(cell)) {
        set.AddNull(column);
    } else if (const auto* i = std::get_if<int64_t>(&cell)) {
        set.AddInteger(column, *i);
    } else if (const auto* r = std::get_if<double>(&cell)) {
        set.AddReal(column, *r);
    } else if (const auto* t = std::get_if<std::string>(&cell)) {
        set.AddText(column, *t);
    }
}

// The text a cell reads back as: nulls and left-out cells as "".
std::string TextOf(const Cell& cell) {
    if (const auto* i = std::get_if<int64_t>(&cell)) {
        return fmt::format("{}", *i);
    }
    if (const auto* r = std::get_if<double>(&cell)) {
        return fmt::format("{}", *r);
    }
    const auto* t = std::get_if<std::string>(&cell);
    return t != nullptr ? *t : "";
}

// One row holding every kind of cell, read as the driver reads it: through the C function table.
TEST(ResultSet, ReadsEveryKindOfCellAsEachType) {
    const double nov1 = EncodeDate(2014, 11, 1);
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case {
        const char* field;
        Cell cell;
        double as_double;
        int32_t as_integer;
        double as_date_time;
        const char* as_text;
    };
    const Case cases[] = {
        {"int", int64_t{42}, 42.0, 42, 42.0, "42"},
        {"text_int", " 17 ", 17.0, 17, 17.0, " 17 "},
        {"text_comma", "1,5", 1.5, 2, 1.5, "1,5"},
        {"text_iso", "2014-11-01 12:00:00", 0.0, 0, nov1 + 0.5, "2014-11-01 12:00:00"},
        {"text_ru", "01.11.2014 18:00", 0.0, 0, nov1 + 0.75, "01.11.2014 18:00"},
        {"text_word", "Подстанция", 0.0, 0, 0.0, "Подстанция"},
        {"nul", nullptr, 0.0, 0, 0.0, ""},
        {"big", int64_t{5'000'000'000}, 5e9, kMax, 5e9, "5000000000"},
        {"half", 2.5, 2.5, 3, 2.5, "2.5"},
        {"neg_half", -2.5, -2.5, -3, -2.5, "-2.5"},
        {"huge_real", 1e300, 1e300, kMax, 1e300, "1e+300"},
    };
    std::vector<std::string> names;
    for (const auto& k : cases) {
        names.emplace_back(k.field);
    }
    MemoryResultSet set(names);
    for (int32_t f = 0; f < static_cast<int32_t>(std::size(cases)); ++f) {
        Add(set, f, cases[f].cell);
    }
    set.FinishRow();
    TlResultSet* c = &set;
    c->vtbl->First(c);
    for (const auto& k : cases) {
        const int32_t f = c->vtbl->FieldIndex(c, k.field);
        ASSERT_GE(f, 0) << k.field;
        EXPECT_DOUBLE_EQ(c->vtbl->AsDouble(c, f), k.as_double) << k.field;
        EXPECT_EQ(c->vtbl->AsInteger(c, f), k.as_integer) << k.field;
        EXPECT_NEAR(c->vtbl->AsDateTime(c, f), k.as_date_time, kOneMs / 2) << k.field;
        EXPECT_EQ(c->vtbl->IsNull(c, f), std::holds_alternative<std::nullptr_t>(k.cell)) << k.field;
        EXPECT_EQ(set.AsText(f), k.as_text) << k.field;
    }
    // Fields are found without regard to case; unknown ones, and any past the last row, read as null.
    EXPECT_EQ(c->vtbl->FieldIndex(c, "TEXT_Iso"), 3);
    for (const char* unknown : {"text_iso ", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(c->vtbl->FieldIndex(c, unknown), -1);
    }
    for (int32_t f : {-1, 11}) {
        EXPECT_TRUE(c->vtbl->IsNull(c, f)) << f;
        EXPECT_EQ(c->vtbl->AsDouble(c, f), 0.0) << f;
        EXPECT_EQ(c->vtbl->AsInteger(c, f), 0) << f;
    }
    c->vtbl->Next(c);
    ASSERT_TRUE(c->vtbl->Eof(c));
    EXPECT_TRUE(c->vtbl->IsNull(c, 0));
    EXPECT_EQ(c->vtbl->AsInteger(c, 0), 0);
    c->vtbl->Next(c); // past the end stays at the end
    EXPECT_TRUE(c->vtbl->Eof(c));
    c->vtbl->First(c);
    EXPECT_EQ(c->vtbl->AsInteger(c, 0), 42);
}

TEST(ResultSet, AnEmptySetIsAtItsEnd) {
    MemoryResultSet set({"n"});
    TlResultSet* c = &set;
    EXPECT_TRUE(c->vtbl->IsEmpty(c));
    c->vtbl->First(c);
    EXPECT_TRUE(c->vtbl->Eof(c));
}

TEST(ResultSet, StatusWordComesFromTheTvkStatusColumn) {
    struct Case {
        const char* column;
        Cell stored;
        int64_t expected;
    };
    const auto high = static_cast<int64_t>(0x8000000000040001ull);
    const Case cases[] = {
        {"tvkStatus", high, high}, {"TVKSTATUS", nullptr, 0}, {"status", int64_t{0x40000}, 0}};
    for (const auto& k : cases) {
        MemoryResultSet set({"value0", k.column});
        set.AddReal(0, 1.0);
        Add(set, 1, k.stored);
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
    const std::function<Cell(int)> columns[] = {
        [](int) { return int64_t{12}; },                  // one value
        [](int r) { return 41944.5 + r / 1000; },         // runs
        [](int r) { return int64_t{r * 7919 - 100000}; }, // 32-bit integers
        [](int r) { return int64_t{r} << 33; },           // 64-bit integers
        [](int r) { return r * 0.37; },                   // reals
        [](int r) -> Cell {                               // mixed
            return r % 3 == 0 ? Cell(nullptr) : r % 3 == 1 ? Cell(fmt::format("t{}", r)) : Cell(-r * 1.5);
        },
        [](int) { return std::monostate(); }, // left out
    };
    const auto width = static_cast<int32_t>(std::size(columns));
    MemoryResultSet set(std::vector<std::string>(std::size(columns), "c"));
    for (int r = 0; r < kRows; ++r) {
        for (int32_t c = 0; c < width; ++c) {
            Add(set, c, columns[c](r));
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
            for (int32_t c = 0; c < width; ++c) {
                ASSERT_EQ(set.AsText(c), TextOf(columns[c](r))) << "column " << c << " row " << r << finished;
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

TEST(ResultSet, RefusesOtherColumnsToAppendAndKnowsItsOwnSets) {
    MemoryResultSet set({"a", "b"});
    EXPECT_THROW(set.Append(MemoryResultSet({"a", "c"})), Error);
    TlResultSetVtbl foreign_table = *set.vtbl;
    TlResultSet foreign{&foreign_table};
    EXPECT_TRUE(MemoryResultSet::Owns(&set));
    EXPECT_FALSE(MemoryResultSet::Owns(&foreign));
}

} // namespace
} // namespace tl::db
