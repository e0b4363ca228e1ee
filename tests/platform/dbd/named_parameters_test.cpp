#include "named_parameters.hpp"
#include "tlplatform/db_connection.hpp"

#include <gtest/gtest.h>

namespace tl::db {
namespace {

struct RewriteCase {
    const char* name;
    const char* sql;
    const char* question;
    const char* dollar;
    std::vector<std::string> names;
};

TEST(NamedParameters, RewritesOccurrencesInOrder) {
    const RewriteCase cases[] = {
        {"none",
         "select * from parameters where parnumber = 1100",
         "select * from parameters where parnumber = 1100",
         "select * from parameters where parnumber = 1100",
         {}},
        {"data request",
         "parnumber = :pn1 and data_date between :sdt and :edt",
         "parnumber = ? and data_date between ? and ?",
         "parnumber = $1 and data_date between $2 and $3",
         {"pn1", "sdt", "edt"}},
        {"repeated name", "a = :x or b = :x", "a = ? or b = ?", "a = $1 or b = $2", {"x", "x"}},
        {"name at the end", "where a < :edt11", "where a < ?", "where a < $1", {"edt11"}},
        {"underscore and case", "(:Sdt_1,:_e)", "(?,?)", "($1,$2)", {"Sdt_1", "_e"}},
        {"string literal", "a = ':no' and b = :yes", "a = ':no' and b = ?", "a = ':no' and b = $1", {"yes"}},
        {"doubled quote in literal",
         "a = 'it''s :no' and b = :yes",
         "a = 'it''s :no' and b = ?",
         "a = 'it''s :no' and b = $1",
         {"yes"}},
        {"quoted identifier",
         "select \":no\" from t where c = :yes",
         "select \":no\" from t where c = ?",
         "select \":no\" from t where c = $1",
         {"yes"}},
        {"cast",
         "select :v::integer, x::text",
         "select ?::integer, x::text",
         "select $1::integer, x::text",
         {"v"}},
        {"colon before digit or blank",
         "select '10:00', a : b, :1",
         "select '10:00', a : b, :1",
         "select '10:00', a : b, :1",
         {}},
        {"line comment", "select 1 -- :no\n, :yes", "select 1 -- :no\n, ?", "select 1 -- :no\n, $1", {"yes"}},
        {"block comment", "select /* :no */ :yes", "select /* :no */ ?", "select /* :no */ $1", {"yes"}},
        {"unterminated literal", "select ':no", "select ':no", "select ':no", {}},
        {"CR LF and union",
         "a < :edt11\r\nunion\r\nb between :edt12 and :edt13",
         "a < ?\r\nunion\r\nb between ? and ?",
         "a < $1\r\nunion\r\nb between $2 and $3",
         {"edt11", "edt12", "edt13"}},
    };
    for (const auto& c : cases) {
        const auto question = RewriteNamedParameters(c.sql, PlaceholderStyle::Question);
        EXPECT_EQ(question.names, c.names) << c.name;
        EXPECT_EQ(question.text, c.question) << c.name;
        EXPECT_EQ(RewriteNamedParameters(c.sql, PlaceholderStyle::Dollar).text, c.dollar) << c.name;
    }
}

TlVariant Int(int32_t v) {
    TlVariant out{};
    out.kind = TL_VT_INT32;
    out.v.i32 = v;
    return out;
}

TEST(NamedParameters, ChecksTheNumberOfValues) {
    const std::vector<TlVariant> zero = {Int(0)};
    const std::vector<TlVariant> three = {Int(1), Int(2), Int(3)};
    struct Case {
        const char* sql;
        const std::vector<TlVariant>* values;
        size_t bound; // values bound; SIZE_MAX: an error
    };
    const std::vector<TlVariant> none;
    const Case cases[] = {
        {"select 1", &zero, 0}, // the driver's single 0 with a text without parameters
        {"select 1", &three, 0},
        {"select 1", &none, 0},
        {"select :a, :b, :c", &three, 3},
        {"select :a, :a, :a", &three, 3}, // three occurrences of one name take three values
        {"select :a, :b", &three, SIZE_MAX},
        {"select :a, :b, :c", &zero, SIZE_MAX},
        {"select :a", &none, SIZE_MAX},
    };
    for (const auto& c : cases) {
        const auto positional = RewriteNamedParameters(c.sql, PlaceholderStyle::Question);
        if (c.bound == SIZE_MAX) {
            EXPECT_THROW(ValuesToBind(positional, *c.values), Error) << c.sql;
        } else {
            EXPECT_EQ(ValuesToBind(positional, *c.values).size(), c.bound) << c.sql;
        }
    }
}

TEST(NamedParameters, MismatchMessageNamesTheParameters) {
    const auto positional =
        RewriteNamedParameters("where a = :pn1 and b between :sdt and :edt", PlaceholderStyle::Question);
    const TlVariant one[] = {Int(12)};
    try {
        ValuesToBind(positional, one);
        FAIL() << "a count mismatch must throw";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(),
                     "the SQL text has 3 parameter(s) (:pn1, :sdt, :edt) but 1 value(s) were given");
    }
}

} // namespace
} // namespace tl::db
