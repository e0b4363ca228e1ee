// The random-number family: a seed fixes the sequence, ranges hold, and the normal distribution
// has its mean and spread.
#include "script_test_util.hpp"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace tl::script {
namespace {

using testing::RunScript;

std::vector<double> Numbers(const std::string& output) {
    std::vector<double> values;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        values.push_back(std::stod(line));
    }
    return values;
}

TEST(RandomTest, ASeedFixesTheSequence) {
    const char* draws = "for i := 1 to 5 do begin PrintLn(Random); PrintLn(Random(1000)); "
                        "PrintLn(RandomInt(7)); PrintLn(RandG(0, 1)); end;";
    std::string script =
        std::string("var i: Integer; SetRandSeed(42); ") + draws + " SetRandSeed(42); " + draws;
    auto result = RunScript(script);
    ASSERT_EQ(result.messages, "");
    std::vector<double> values = Numbers(result.output);
    ASSERT_EQ(values.size(), 40u);
    std::vector<double> first(values.begin(), values.begin() + 20);
    std::vector<double> second(values.begin() + 20, values.end());
    EXPECT_EQ(first, second);
    // Another seed gives other numbers.
    auto other = RunScript(std::string("var i: Integer; SetRandSeed(43); ") + draws);
    EXPECT_NE(Numbers(other.output), first);
}

TEST(RandomTest, RandSeedReadsWhatWasSetAndMovesOnEveryDraw) {
    auto result = RunScript("var x: Float; SetRandSeed(-12345); PrintLn(RandSeed); x := Random; "
                            "PrintLn(RandSeed <> -12345); Randomize; PrintLn(RandSeed <> -12345);");
    EXPECT_EQ(result.output, "-12345\r\nTrue\r\nTrue\r\n");
}

// The generator's state outlives one execution, as Pascal's RandSeed does; a new program starts
// from seed 0.
TEST(RandomTest, StateCarriesOverFromOneExecutionToTheNext) {
    Engine engine;
    auto program = engine.Compile("PrintLn(Random(1000000));");
    ASSERT_TRUE(program->Execute());
    std::string first(program->Output());
    ASSERT_TRUE(program->Execute());
    EXPECT_NE(std::string(program->Output()), first);
    auto seeded = RunScript("SetRandSeed(0); PrintLn(Random(1000000));");
    EXPECT_EQ(seeded.output, first);
}

struct RangeCase {
    const char* call;
    double low;  // inclusive
    double high; // inclusive
    size_t distinct;
};

TEST(RandomTest, DrawsStayInRangeAndCoverIt) {
    const std::vector<RangeCase> cases = {
        {"Random(10)", 0, 9, 10},
        {"RandomInt(3)", 0, 2, 3},
        {"Random(0)", 0, 0, 1},
        {"Random(-4)", -3, 0, 4},
        {"Random(2147483647) div 1000000", 0, 2147, 1200},
        {"Random", 0, 0.99999999999999989, 1990},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.call);
        auto result = RunScript(
            std::string("var i: Integer; SetRandSeed(7); for i := 1 to 2000 do PrintLn(") + c.call + ");");
        ASSERT_EQ(result.messages, "");
        std::vector<double> values = Numbers(result.output);
        ASSERT_EQ(values.size(), 2000u);
        EXPECT_GE(*std::min_element(values.begin(), values.end()), c.low);
        EXPECT_LE(*std::max_element(values.begin(), values.end()), c.high);
        std::sort(values.begin(), values.end());
        EXPECT_GE(static_cast<size_t>(std::unique(values.begin(), values.end()) - values.begin()),
                  c.distinct);
    }
}

TEST(RandomTest, RandGHasItsMeanAndSpread) {
    auto result =
        RunScript("var i: Integer; SetRandSeed(2024); for i := 1 to 20000 do PrintLn(RandG(50, 4));");
    std::vector<double> values = Numbers(result.output);
    ASSERT_EQ(values.size(), 20000u);
    double sum = 0;
    double squares = 0;
    int within_one_sd = 0;
    for (double v : values) {
        sum += v;
        squares += v * v;
        within_one_sd += std::fabs(v - 50) < 4 ? 1 : 0;
    }
    double mean = sum / 20000;
    double sd = std::sqrt(squares / 20000 - mean * mean);
    // Five standard errors: a fixed seed makes the check exact, the margins keep it honest.
    EXPECT_NEAR(mean, 50, 5 * 4 / std::sqrt(20000.0));
    EXPECT_NEAR(sd, 4, 0.15);
    EXPECT_NEAR(within_one_sd / 20000.0, 0.6827, 0.02);
}

} // namespace
} // namespace tl::script
