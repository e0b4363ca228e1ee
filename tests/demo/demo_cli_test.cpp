// "tlhost demo" as a user runs it: a separate process writing into a scratch directory, the real
// driver, and the database it leaves behind.
#include "host_test_support.hpp"
#include "tlcommon/date_time.hpp"
#include "tlplatform/db_connection.hpp"

#include <array>
#include <cmath>
#include <filesystem>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tl {
namespace {

namespace fs = std::filesystem;

using host::testing::Outcome;

// tlhost in `cwd` with standard output and error redirected to files, so not a terminal, and
// without TLHOST_DB: the database is the one --db names.
Outcome RunTlhost(const fs::path& cwd, const std::vector<std::string>& args) {
    return host::testing::RunProcess(TLHOST_PATH, cwd, args);
}

DateTime At(int year, int month, int day, int hour = 0) {
    return EncodeDateTime({year, month, day, hour, 0, 0, 0});
}

class DemoCliTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        first_run_ = RunTlhost(directory_, {"demo", "--db", (directory_ / "run").string() + "/"});
    }
    static void TearDownTestSuite() { fs::remove_all(directory_); }

    static fs::path Database() { return directory_ / "run" / "demo.db"; }

    static int64_t Count(db::Connection& db, const std::string& where) {
        return db.Query("select count(*) from data where " + where, {})->AsInt64(0);
    }

    // Value0 or Value1 of a row; fails the test when the row is missing.
    static double Value(db::Connection& db, int32_t par_number, int32_t object, int32_t item, DateTime stamp,
                        int column, int32_t type = 0) {
        const auto set =
            db.Query(fmt::format("select value0, value1 from data where parnumber = {} and object = {} "
                                 "and objtype = {} and item = {} and data_date between {} and {}",
                                 par_number, object, type, item, stamp - 1e-6, stamp + 1e-6),
                     {});
        EXPECT_EQ(set->RowCount(), 1)
            << fmt::format("{} {}.{}.{} {}", par_number, object, type, item, FormatStamp(stamp));
        return set->AsDouble(column);
    }

    inline static const fs::path directory_ =
        fs::temp_directory_path() / ("tlosses-demo-test-" + std::to_string(getpid()));
    inline static Outcome first_run_;
};

TEST_F(DemoCliTest, EndsWithZeroAndStoresRowsForEveryIntervalKind) {
    const Outcome& run = first_run_;
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("\\Scripts\\Demo\\: 0 Успешный расчёт"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\\Scripts\\DemoFormulas\\: 0 Успешный расчёт"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Stored losses"), std::string::npos);
    EXPECT_NE(run.out.find("17.99.3 Т-1 ТДН-10000/110 (формула), кВт·ч"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(Database().string()), std::string::npos);
    // Not a terminal: no progress line, only status lines and results.
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    EXPECT_EQ(run.out.find('\033'), std::string::npos);
    EXPECT_TRUE(fs::exists(directory_ / "run" / "tlosses.log"));
    EXPECT_TRUE(fs::exists(directory_ / "run" / "tlosses-method0.log"));

    auto db = db::Connection::OpenExisting(Database().string());
    struct Kind {
        int32_t par_number;
        int64_t stamps; // per channel
    };
    // 5-minute: 7 January; 30-minute and hourly: 25 December to 7 January; days: 24 December to
    // 7 January; December, the fourth quarter and 2024 once each.
    constexpr std::array<Kind, 7> kinds = {
        {{30007, 288}, {30012, 14 * 48}, {30018, 14 * 24}, {30026, 15}, {30036, 1}, {30046, 1}, {30056, 1}}};
    // Eight channels by coefficients, four elements by formula.
    for (const Kind& kind : kinds) {
        const std::string parameter = "parnumber = " + std::to_string(kind.par_number);
        EXPECT_EQ(Count(*db, parameter + " and objtype = 0"), kind.stamps * 8) << kind.par_number;
        EXPECT_EQ(Count(*db, parameter + " and objtype = 99"), kind.stamps * 4) << kind.par_number;
    }
}

// 19:00 on 26 December, the hour 18:00-19:00, from the hourly powers the demo stored. By
// coefficients: the line formula for the 10 kV line (r0 0.43 Ohm/km, 8.6 km, 10 kV, insulators 0.07
// thousand kW*h per km and year, a leap year of 8784 hours) and the transformer formula for the
// 10 MV*A transformer (Pxx 14 kW, Pkz 58 kW). By formula: T2_LossesW_A with the power factor of
// both channels gives the transformer its load S = sqrt(Pa² + Pr²), as the coefficients do; the
// 10 kV line's current comes from the active power, the power factor and the phase voltage Ua
// last measured in the hour, and Line_LossesW_A turns it into L * R0 * I² * 1240² * T / 1000.
TEST_F(DemoCliTest, StoredLossesMatchAHandComputation) {
    ASSERT_EQ(first_run_.status, 0);
    auto db = db::Connection::OpenExisting(Database().string());
    const DateTime stamp = At(2024, 12, 26, 19);

    const double pa = Value(*db, 18, 18, 1, stamp, 0);
    const double pr = Value(*db, 18, 18, 2, stamp, 0);
    const double wa = pa / 1000; // MW over one hour
    const double wr = pr / 1000;
    const double line = (0.43 * 8.6 / (10.0 * 10.0 * 1.0) * (wa * wa + wr * wr) + 0.07 * 8.6 / 8784) * 1000;
    EXPECT_GT(wa, 0.5);
    EXPECT_NEAR(Value(*db, 30018, 18, 1, stamp, 0), line, 1e-9 * line);

    const double ta = Value(*db, 18, 17, 3, stamp, 0);
    const double tr = Value(*db, 18, 17, 4, stamp, 0);
    const double transformer = ((ta * ta + tr * tr) / (10000.0 * 10000.0) * 58 + 14) * 1.0;
    EXPECT_NEAR(Value(*db, 30018, 17, 3, stamp, 1), transformer, 1e-9 * transformer);
    EXPECT_NEAR(Value(*db, 30018, 17, 3, stamp, 0, 99), transformer, 1e-12 * transformer);

    const double ua = Value(*db, 1100, 18, 13, stamp, 0, 99);
    EXPECT_GT(ua, 5.5);
    const double current = pa / (3 * ua * (pa / std::sqrt(pa * pa + pr * pr))) / 1000;
    const double formula_line = 8.6 * 0.43 * current * current * 1240.0 * 1240.0 * 1.0 / 1000;
    EXPECT_NEAR(Value(*db, 30018, 18, 1, stamp, 0, 99), formula_line, 1e-12 * formula_line);
    EXPECT_NEAR(Value(*db, 30018, 18, 1, stamp, 1, 99), formula_line / pa * 100,
                1e-12 * formula_line / pa * 100);
}

// The breaker input of the 10 kV line is off from 09:30 to 14:00 on 27 December and the small
// transformer is under repair from 08:00 to 17:00 on 3 January: their rows are written with zeros,
// where the insulator and no-load parts alone would give more. The formulas test the states after
// computing the losses and zero them while the state holds.
TEST_F(DemoCliTest, StatesSuppressTheLossesOfTheirElements) {
    ASSERT_EQ(first_run_.status, 0);
    auto db = db::Connection::OpenExisting(Database().string());
    struct Case {
        int32_t par_number, item;
        DateTime stamp;
        int column, type;
        double expected; // below zero: any positive value
    } const cases[] = {
        {30018, 1, At(2024, 12, 27, 12), 0, 0, 0.0},
        {30018, 1, At(2024, 12, 27, 15), 0, 0, -1},
        {30018, 3, At(2025, 1, 3, 12), 1, 0, 0.0},
        {30018, 3, At(2025, 1, 3, 17), 1, 0, 3.85}, // no load in the hour before
        {30018, 1, At(2024, 12, 27, 12), 0, 99, 0.0},
        {30018, 1, At(2024, 12, 27, 15), 0, 99, -1},
        {30012, 3, At(2025, 1, 3, 12), 0, 99, 0.0},
        {30012, 3, At(2025, 1, 3, 18), 0, 99, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.par_number << " 18." << c.type << "." << c.item << " " << FormatStamp(c.stamp));
        const double value = Value(*db, c.par_number, 18, c.item, c.stamp, c.column, c.type);
        if (c.expected < 0) {
            EXPECT_GT(value, 0.0);
        } else {
            EXPECT_NEAR(value, c.expected, 1e-9 * c.expected); // zeros exactly
        }
    }
}

TEST_F(DemoCliTest, KeepsAnExistingDatabaseUnlessTold) {
    ASSERT_EQ(first_run_.status, 0);
    const std::string target = (directory_ / "run").string();
    const auto size = fs::file_size(Database());

    const Outcome refused = RunTlhost(directory_, {"demo", "--db", target});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(fs::file_size(Database()), size);

    // Rerun on the same data: the rows are replaced, not added.
    const Outcome kept = RunTlhost(directory_, {"demo", "--db", Database().string(), "--keep"});
    ASSERT_EQ(kept.status, 0) << kept.out << kept.err;
    EXPECT_EQ(kept.out.find("Generated"), std::string::npos);
    auto db = db::Connection::OpenExisting(Database().string());
    EXPECT_EQ(Count(*db, "parnumber = 30012 and objtype = 0"), 14 * 48 * 8);

    const Outcome replaced = RunTlhost(directory_, {"demo", "--db", target, "--force"});
    EXPECT_EQ(replaced.status, 0) << replaced.out << replaced.err;
    EXPECT_NE(replaced.out.find("Generated"), std::string::npos);
}

} // namespace
} // namespace tl
