#include "tlcommon/format_settings.hpp"
#include "tlparams/method1_obj.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using tl::TMethod1Obj;

constexpr const char* kSample = "1;1;3;2;0.1;10;5;0;0.5;110;110;0;700;0;0;0;0;0;0;0;0;0;0;;";

// Runs each case under both system decimal separators and puts the process's back afterwards.
class Method1Obj : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { tl::SetSystemDecimalSeparator(GetParam()); }
    void TearDown() override { tl::ResetSystemFormat(); }
};

// An expected text written with "." as the decimal separator, in the system's separator.
std::string Sep(std::string text, char separator) {
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

TMethod1Obj Parsed(const std::string& text) {
    TMethod1Obj record;
    std::string error;
    EXPECT_TRUE(record.Parse(text, &error)) << text << ": " << error;
    return record;
}

// The rounding of the two decimals is FormatFixed's own test (and the typed_halves fuzz regression).
TEST_P(Method1Obj, ParsesEitherSeparatorAndWritesTwoDecimalsWithTheSystemOne) {
    const char s = GetParam();
    for (const char* text : {kSample, "1;1;3;2;0,1;10;5;0;0,5;110;110;0;700;0;0;0;0;0;0;0;0;0;0;;"}) {
        const TMethod1Obj r = Parsed(text);
        EXPECT_DOUBLE_EQ(r.r0, 0.1);
        EXPECT_DOUBLE_EQ(r.Wiz, 0.5);
        EXPECT_TRUE(r.IsComplete()) << text;
        EXPECT_EQ(
            r.SaveToText(),
            Sep("1;1;3;2;0.10;10.00;5.00;0;0.50;110;110;0;700;0.00;0.00;0.00;0.00;0.00;0;0;0;0;0;;", s));
    }
}

TEST_P(Method1Obj, OnlyTwentyFourOrTwentyFiveFieldsParse) {
    const std::string base = "1;1;3;2;0.1;10;5;0;0.5;110;110;0;700;0;0;0;0;0;0;0;0;0;0";
    struct Case {
        std::string text;
        bool parses;
    };
    const std::vector<Case> cases = {
        {base + ";;", true},   // 25 fields, both texts empty
        {base + ";", true},    // 24 fields
        {base, false},         // 23
        {base + ";;;", false}, // 26
        {"", false},           // one empty field
    };
    for (const Case& c : cases) {
        TMethod1Obj record;
        EXPECT_EQ(record.LoadFromText(c.text), c.parses) << c.text;
    }
}

TEST_P(Method1Obj, FieldsThatDoNotConvertFailAndLeaveTheRecordAsItWas) {
    struct Case {
        int field; // 1-based
        const char* text;
    };
    const std::vector<Case> cases = {
        {1, "x"},      {2, "1.5"},  {5, "0.1.2"}, {5, ""},  {6, "1e"},
        {10, "110kV"}, {14, "nan"}, {19, "+-1"},  {23, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> fields = {"1",   "1",   "3", "2",   "0.1", "10",  "5",    "0", "0.5",
                                           "110", "110", "1", "700", "1",   "2",   "3",    "4", "5",
                                           "1",   "0",   "7", "95",  "3",   "obj", "state"};
        fields[static_cast<size_t>(c.field - 1)] = c.text;
        std::string text;
        for (const auto& f : fields) {
            text += (text.empty() ? "" : ";") + f;
        }
        TMethod1Obj record;
        record.r0 = 42;
        std::string error;
        EXPECT_FALSE(record.Parse(text, &error)) << text;
        EXPECT_NE(error.find("Поле " + std::to_string(c.field)), std::string::npos) << error;
        EXPECT_EQ(record.r0, 42) << text;
    }
}

TEST_P(Method1Obj, PartsThatAreOffKeepNothingOfTheText) {
    struct Case {
        const char* text;
        const char* written; // with the point as separator
    };
    const Case cases[] = {
        {"0;1;3;2;0.1;10;5;1;0.5;110;35;1;100;1;2;3;4;5;1;7;10;95;3;ОИ;Вкл",
         "0;1;3;2;0.00;0.00;0.00;0;0.00;0;0;1;100;1.00;2.00;3.00;4.00;5.00;1;7;10;95;3;ОИ;Вкл"},
        {"1;1;3;2;0.1;10;5;1;0.5;110;35;0;100;1;2;3;4;5;0;7;10;95;3;ОИ;Вкл",
         "1;1;3;2;0.10;10.00;5.00;1;0.50;110;35;0;700;0.00;0.00;0.00;0.00;0.00;0;0;0;0;0;;"},
        // The state text comes only from a twenty-fifth field.
        {"1;1;3;2;0.1;10;5;0;0.5;10;10;0;700;0;0;0;0;0;1;1;12;97;4;Ввод 1",
         "1;1;3;2;0.10;10.00;5.00;0;0.50;10;10;0;700;0.00;0.00;0.00;0.00;0.00;1;1;12;97;4;Ввод 1;"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parsed(c.text).SaveToText(), Sep(c.written, GetParam())) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, Method1Obj, ::testing::Values('.', ','),
                         [](const auto& param_info) { return param_info.param == '.' ? "point" : "comma"; });

TEST(Method1ObjComplete, EnabledPartsDecide) {
    // A complete line below 110 kV, no transformer part, secondary channel 2.
    const char* line = "1;0;0;2;0.1;10;0;0;0.5;35;35;0;700;0;0;0;0;0;0;0;0;0;0;";
    struct Case {
        const char* name;
        void (*change)(TMethod1Obj&);
        bool complete;
    };
    const std::vector<Case> cases = {
        {"35 kV without corona", [](TMethod1Obj&) {}, true},
        {"110 kV without corona", [](TMethod1Obj& r) { r.UWork = 110; }, false},
        {"110 kV with corona", [](TMethod1Obj& r) { r.UWork = 110, r.Wkor = 5; }, true},
        {"no secondary channel", [](TMethod1Obj& r) { r.SecondarySensor = 0; }, false},
        {"no leakage", [](TMethod1Obj& r) { r.Wiz = 0; }, false},
        {"negative length", [](TMethod1Obj& r) { r.l = -1; }, false},
        {"nominal voltage -1", [](TMethod1Obj& r) { r.UNominal = -1; }, false},
        {"no part at all", [](TMethod1Obj& r) { r.InLine = false; }, false},
        {"state without element", [](TMethod1Obj& r) { r.NotCalcState = true; }, false},
        {"state with element", [](TMethod1Obj& r) { r.NotCalcState = true, r.StateObjCode = 5; }, true},
        {"transformer on, incomplete",
         [](TMethod1Obj& r) { r.InTransf = true, r.Pxx = r.Pkz = r.Ixx = r.Ukz = 1; }, false},
        {"transformer on, complete",
         [](TMethod1Obj& r) { r.InTransf = true, r.Pxx = r.Pkz = r.Ixx = r.Ukz = r.Strnom = 1; }, true},
        {"transformer only, line values missing",
         [](TMethod1Obj& r) {
             r.InLine = false, r.r0 = 0, r.InTransf = true, r.Pxx = r.Pkz = r.Ixx = r.Ukz = r.Strnom = 1;
         },
         true},
    };
    for (const Case& c : cases) {
        TMethod1Obj r = Parsed(line);
        c.change(r);
        EXPECT_EQ(r.IsComplete(), c.complete) << c.name;
    }
    EXPECT_FALSE(TMethod1Obj().IsComplete()); // a new record
}

} // namespace
