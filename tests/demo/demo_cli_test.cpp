// "tlhost demo" as a user runs it: a separate process writing into a scratch directory, the real
// driver, and the database it leaves behind. The values of the stored losses are the scenario
// tests' and the loss formulas' own tests' business; here, that both demo tasks run and store a
// row for every channel and interval kind, and what another demo does to an existing database.
#include "host_test_support.hpp"
#include "tlplatform/db_connection.hpp"

#include <filesystem>
#include <fmt/format.h>
#include <gtest/gtest.h>

namespace tl {
namespace {

namespace fs = std::filesystem;

using host::testing::Contains;
using host::testing::Outcome;

int64_t Count(const fs::path& database, const std::string& where) {
    return db::Connection::OpenExisting(database.string())
        ->Query("select count(*) from data where " + where, {})
        ->AsInt64(0);
}

TEST(DemoCliTest, StoresRowsForEveryIntervalKindAndKeepsAnExistingDatabaseUnlessTold) {
    host::testing::ScratchDir dir;
    // Standard output and error go to files, so not a terminal.
    const std::string target = (dir / "run").string();
    const fs::path database = dir / "run" / "demo.db";
    const Outcome run = host::testing::RunTlhost(dir.Path(), target + "/", {"demo"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    for (const std::string& text :
         {std::string("\\Scripts\\Demo\\: 0 Успешный расчёт"),
          std::string("\\Scripts\\DemoFormulas\\: 0 Успешный расчёт"), std::string("Stored losses"),
          std::string("17.99.3 Т-1 ТДН-10000/110 (формула), кВт·ч"), database.string()}) {
        EXPECT_TRUE(Contains(run.out, text)) << text << "\n" << run.out;
    }
    // No progress line, only status lines and results.
    EXPECT_FALSE(Contains(run.out, "\r") || Contains(run.out, "\033")) << run.out;
    EXPECT_TRUE(fs::exists(dir / "run" / "tlosses.log"));
    EXPECT_TRUE(fs::exists(dir / "run" / "tlosses-method0.log"));

    // Per channel: 5-minute on 7 January; 30-minute and hourly from 25 December to 7 January; days
    // from 24 December; December, the fourth quarter and 2024 once each. Eight channels by
    // coefficients, four elements by formula.
    const std::pair<int32_t, int64_t> kinds[] = {
        {30007, 288}, {30012, 14 * 48}, {30018, 14 * 24}, {30026, 15}, {30036, 1}, {30046, 1}, {30056, 1}};
    for (const auto& [par_number, stamps] : kinds) {
        EXPECT_EQ(Count(database, fmt::format("parnumber = {} and objtype = 0", par_number)), stamps * 8);
        EXPECT_EQ(Count(database, fmt::format("parnumber = {} and objtype = 99", par_number)), stamps * 4);
    }

    const auto size = fs::file_size(database);
    const Outcome refused = host::testing::RunTlhost(dir.Path(), target, {"demo"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Contains(refused.err, "--force")) << refused.err;
    EXPECT_EQ(fs::file_size(database), size);
    // Rerun on the same data: the rows are replaced, not added.
    const Outcome kept = host::testing::RunTlhost(dir.Path(), database.string(), {"demo", "--keep"});
    ASSERT_EQ(kept.status, 0) << kept.out << kept.err;
    EXPECT_FALSE(Contains(kept.out, "Generated"));
    EXPECT_EQ(Count(database, "parnumber = 30012 and objtype = 0"), 14 * 48 * 8);
    const Outcome replaced = host::testing::RunTlhost(dir.Path(), target, {"demo", "--force"});
    EXPECT_EQ(replaced.status, 0) << replaced.out << replaced.err;
    EXPECT_TRUE(Contains(replaced.out, "Generated"));
}

} // namespace
} // namespace tl
