// The reference workload on Lua 5.4: the printed variant, parsed back, must give the values the
// stored variant leaves in its arrays, element by element; and the output parser must accept
// exactly the driver's result lines.
#include "workload.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <lua.hpp>
#include <string>
#include <vector>

namespace tl::bench {
namespace {

StampValues g_values;
std::string g_printed;

int HostW(lua_State* L) {
    lua_pushnumber(L, HostFunctions::W(g_values, static_cast<int>(lua_tointeger(L, 1)),
                                       static_cast<int>(lua_tointeger(L, 2))));
    return 1;
}
int HostP(lua_State* L) {
    lua_pushnumber(L, HostFunctions::P(g_values, static_cast<int>(lua_tointeger(L, 1)),
                                       static_cast<int>(lua_tointeger(L, 2))));
    return 1;
}
int HostT(lua_State* L) {
    lua_pushnumber(L, HostFunctions::kIntervalHours);
    return 1;
}
int HostT2(lua_State* L) {
    lua_pushnumber(L, HostFunctions::T2LossesWA(lua_tonumber(L, 1), lua_tonumber(L, 2), lua_tonumber(L, 3),
                                                lua_tonumber(L, 4), lua_tonumber(L, 5), lua_tonumber(L, 6)));
    return 1;
}
int HostPrint(lua_State* L) {
    // 17 significant digits: the text reads back to the same double.
    g_printed +=
        lua_type(L, 1) == LUA_TNUMBER ? fmt::format("{:.17g}", lua_tonumber(L, 1)) : lua_tostring(L, 1);
    return 0;
}
int HostPrintLn(lua_State* L) {
    HostPrint(L);
    g_printed += "\r\n";
    return 0;
}

// Runs a workload and returns the state with the two result tables on top.
lua_State* RunWorkload(Output output, int elements) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    lua_register(L, "W", HostW);
    lua_register(L, "P", HostP);
    lua_register(L, "T", HostT);
    lua_register(L, "T2_LossesW_A", HostT2);
    lua_register(L, "Print", HostPrint);
    lua_register(L, "PrintLn", HostPrintLn);
    std::string source = RenderWorkload(Language::Lua, output, elements);
    EXPECT_EQ(luaL_loadbuffer(L, source.data(), source.size(), "workload"), 0) << lua_tostring(L, -1);
    EXPECT_EQ(lua_pcall(L, 0, 2, 0), 0) << lua_tostring(L, -1);
    return L;
}

TEST(ReferenceWorkload, PrintedResultsMatchStoredResultsElementByElement) {
    constexpr int kElements = 203; // all four formula shapes, codes wrapping past 50
    for (std::uint32_t stamp : {1u, 2u, 977u}) {
        g_values.Fill(stamp);
        g_printed.clear();
        lua_State* printed = RunWorkload(Output::Printed, kElements);
        lua_State* stored = RunWorkload(Output::Stored, kElements);
        std::vector<ElementResult> results;
        ASSERT_TRUE(ParseResults(g_printed, results)) << g_printed.substr(0, 400);
        ASSERT_EQ(results.size(), static_cast<size_t>(kElements));
        int with_second_value = 0;
        for (int k = 0; k < kElements; ++k) {
            lua_rawgeti(stored, -2, k + 1);
            lua_rawgeti(stored, -2, k + 1);
            double value0 = lua_tonumber(stored, -2);
            double value1 = lua_tonumber(stored, -1);
            lua_pop(stored, 2);
            EXPECT_EQ(results[static_cast<size_t>(k)].value0, value0) << "element " << k;
            EXPECT_EQ(results[static_cast<size_t>(k)].value1, value1) << "element " << k;
            EXPECT_FALSE(results[static_cast<size_t>(k)].failed) << "element " << k;
            EXPECT_NE(value0, 0.0) << "element " << k << " computed nothing";
            with_second_value += value1 != 0.0 ? 1 : 0;
        }
        EXPECT_EQ(with_second_value, 102) << "shapes 1 and 2 (k mod 4 = 1, 2) set the second value";
        lua_close(printed);
        lua_close(stored);
    }
}

struct ParseCase {
    const char* name;
    const char* output;
    bool ok;
    size_t elements;
    double value0;
    double value1;
    bool failed;
};

class ParseResultsCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseResultsCases, ReadsLinePairs) {
    const auto& c = GetParam();
    std::vector<ElementResult> results;
    ASSERT_EQ(ParseResults(c.output, results), c.ok);
    if (!c.ok) {
        return;
    }
    ASSERT_EQ(results.size(), c.elements);
    if (c.elements > 0) {
        EXPECT_EQ(results.back().value0, c.value0);
        EXPECT_EQ(results.back().value1, c.value1);
        EXPECT_EQ(results.back().failed, c.failed);
    }
}

std::string ParseCaseName(const ::testing::TestParamInfo<ParseCase>& param) {
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseResultsCases,
    ::testing::Values(
        ParseCase{"empty", "", true, 0, 0, 0, false},
        ParseCase{"one_pair", "Result0=12.5\r\nResult1=0\r\n", true, 1, 12.5, 0, false},
        ParseCase{"exponent", "Result0=1e-07\r\nResult1=-3E+20\r\n", true, 1, 1e-7, -3e20, false},
        ParseCase{"error_pair", "Result0=Err:Division by zero\r\nResult1=Err:Division by zero\r\n", true, 1,
                  0, 0, true},
        ParseCase{"second_pair", "Result0=1\r\nResult1=2\r\nResult0=3\r\nResult1=4", true, 2, 3, 4, false},
        ParseCase{"odd_line_count", "Result0=1\r\nResult1=2\r\nResult0=3\r\n", false, 0, 0, 0, false},
        ParseCase{"swapped", "Result1=1\r\nResult0=2\r\n", false, 0, 0, 0, false},
        ParseCase{"printed_text_shifts", "hello\r\nResult0=1\r\n", false, 0, 0, 0, false},
        ParseCase{"bad_number", "Result0=12,5x\r\nResult1=0\r\n", false, 0, 0, 0, false}),
    ParseCaseName);

} // namespace
} // namespace tl::bench
