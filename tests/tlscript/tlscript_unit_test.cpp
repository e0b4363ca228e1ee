// tlscript trying formulas on given values: each kind of value reaches the function that reads
// it, T follows the interval, and faults end with their own exit status.
#include "host_test_support.hpp"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using tl::host::testing::Outcome;
using tl::host::testing::RunProcess;
using tl::host::testing::ScratchDir;

TEST(TlscriptUnit, TriesFormulasOnGivenValues) {
    ScratchDir dir;
    std::ofstream(dir / "values.txt") << "# the interval\ninterval = 30min\ntime = 2025-01-10 12:00\n"
                                         "W2(100, 0, 5) = 50   # kW*h\nP(100, 6) = 20\nUa(26, 0, 1) = 231,5\n"
                                         "DI(12, 1) = 0\nMO(7) = 3\n";
    std::ofstream(dir / "common.pas") << "var k: Float;\nk := 2;\n";
    std::ofstream(dir / "bad.txt") << "interval = 30min\nW2(100, 0, 5) = lots\n";
    std::ofstream(dir / "show.pas") << "PrintLn(W(100, 6) * T);\n";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err; // a fragment; empty: nothing at all
    };
    const Case cases[] = {
        // Every kind of value, and what the formula reads without one.
        {{"--values", "values.txt", "-e",
          "%RESULT0% := W2(100, 0, 5) + P2(100, 0, 6) + Ua(26, 0, 1) + DI(12, 1) * 1000 + MO(7) * 10000 + "
          "MO(8);"
          "%RESULT1% := T + W(100, 7)"},
         0,
         "T = 0.5 h (30min interval ending 2025-01-10 12:00:00)\nValue0 = 30300.5\nValue1 = 0.5\n",
         "reads the energy or power of 100.0.7, which was given no value"},
        // An energy of 30 minutes is half the stored power; a power of a day twice the stored energy.
        {{"--set", "W2(100, 0, 5) = 50", "--at", "2025-01-10 12:00", "-e", "P2(100, 0, 5)"},
         0,
         "T = 0.5 h (30min interval ending 2025-01-10 12:00:00)\nValue0 = 100\nValue1 = 0\n",
         ""},
        {{"--interval", "day", "--at", "2025-01-10 00:00", "--set", "P2(100, 0, 5) = 50", "-e",
          "W2(100, 0, 5)"},
         0,
         "T = 24 h (day interval ending 2025-01-10 00:00:00)\nValue0 = 25\nValue1 = 0\n",
         ""},
        {{"--interval", "month", "--at", "2025-02-01 00:00", "--common", "common.pas", "-e",
          "%RESULT1% := T * k"},
         0,
         "T = 744 h (month interval ending 2025-02-01 00:00:00)\nValue0 = 0\nValue1 = 1488\n",
         ""},
        // The stored 20 of P(100, 6) is an energy of 10 over half an hour.
        {{"--values", "values.txt", "--unit", "show.pas"}, 0, "5\r\n", ""},
        {{"--set", "W(100, 5) = 1", "--at", "2025-01-10 12:00", "-e", "W(100, 5) / 0"},
         2,
         "T = 0.5 h (30min interval ending 2025-01-10 12:00:00)\nValue0 = error: Floating point division by "
         "zero\nValue1 = error: Floating point division by zero\n",
         ""},
        {{"--values", "bad.txt", "-e", "1"}, 3, "", "bad.txt:2: \"lots\" is not a number"},
        {{"--set", "Nothing(1) = 2", "-e", "1"}, 3, "", "--set: Nothing(1): "},
        {{"--interval", "week", "-e", "1"}, 3, "", "unknown interval \"week\""},
        {{"-e", "W(100, 5) +"}, 1, "", "[строка: "},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunProcess(TLSCRIPT_PATH, dir.Path(), c.args);
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(outcome.status, c.status) << outcome.err;
        EXPECT_EQ(outcome.out, c.out);
        if (c.err.empty()) {
            EXPECT_EQ(outcome.err, "");
        } else {
            EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
        }
    }
}

} // namespace
