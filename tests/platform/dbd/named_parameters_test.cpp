#include "named_parameters.hpp"

#include <gtest/gtest.h>

namespace tl::db {
namespace {

TEST(NamedParameters, RewritesOccurrencesInOrder) {
    struct Case {
        const char* name;
        const char* sql;
        const char* question;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"none", "where parnumber = 1100", "where parnumber = 1100", {}},
        {"repeated name", "a = :x or b = :x", "a = ? or b = ?", {"x", "x"}},
        {"name at the end", "where a < :edt11", "where a < ?", {"edt11"}},
        {"underscore and case", "(:Sdt_1,:_e)", "(?,?)", {"Sdt_1", "_e"}},
        {"string literal", "a = ':no' and b = :yes", "a = ':no' and b = ?", {"yes"}},
        {"doubled quote in literal", "a = 'it''s :no' and b = :yes", "a = 'it''s :no' and b = ?", {"yes"}},
        {"quoted identifier",
         "select \":no\" from t where c = :yes",
         "select \":no\" from t where c = ?",
         {"yes"}},
        {"cast", "select :v::integer, x::text", "select ?::integer, x::text", {"v"}},
        {"colon before digit or blank", "select '10:00', a : b, :1", "select '10:00', a : b, :1", {}},
        {"line comment", "select 1 -- :no\n, :yes", "select 1 -- :no\n, ?", {"yes"}},
        {"block comment", "select /* :no */ :yes", "select /* :no */ ?", {"yes"}},
        {"unterminated literal", "select ':no", "select ':no", {}},
    };
    for (const auto& c : cases) {
        const auto question = RewriteNamedParameters(c.sql, PlaceholderStyle::Question);
        EXPECT_EQ(question.names, c.names) << c.name;
        EXPECT_EQ(question.text, c.question) << c.name;
    }
    const auto dollar = RewriteNamedParameters(
        "a < :edt11\r\nunion\r\nb between :edt12 and :edt11 and c = '$1'", PlaceholderStyle::Dollar);
    EXPECT_EQ(dollar.text, "a < $1\r\nunion\r\nb between $2 and $3 and c = '$1'");
    EXPECT_EQ(dollar.names, (std::vector<std::string>{"edt11", "edt12", "edt11"}));
}

} // namespace
} // namespace tl::db
