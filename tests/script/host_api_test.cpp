// Host units: registration, typed arguments, results left unset, tags, re-entry. A message added
// without raising is the percent function's, checked with the function unit and the formula
// execution.
#include "script_test_util.hpp"
#include "tlscript/call_frame.hpp"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tl::script {
namespace {

using testing::RunScript;

// One handler serving several names, told apart by the registration tag (as W/P/W2/P2 are).
void Energy(CallFrame& f) {
    double scale = f.Tag() == 1 ? 1.0 : 2.0;
    f.ReturnFloat(scale * f.Int(0) + f.Int(1));
}

void Describe(CallFrame& f) {
    f.ReturnString(std::string(f.String(0)) + ":" + (f.Bool(1) ? "yes" : "no") + ":" + f.Text(2));
}

void LeaveUnset(CallFrame&) {}

void Count(CallFrame& f) {
    ++*static_cast<int*>(f.UserData());
}

class HostApiTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine.RegisterFunction(
            {"MyUnit", "W", {{ValueType::Integer}, {ValueType::Integer}}, ValueType::Float, Energy, 1});
        engine.RegisterFunction(
            {"MyUnit", "P", {{ValueType::Integer}, {ValueType::Integer}}, ValueType::Float, Energy, 2});
        engine.RegisterFunction({"MyUnit",
                                 "Describe",
                                 {{ValueType::String}, {ValueType::Boolean}, {ValueType::Float}},
                                 ValueType::String,
                                 Describe});
        engine.RegisterFunction({"MyUnit", "UnsetF", {}, ValueType::Float, LeaveUnset});
        engine.RegisterFunction({"MyUnit", "UnsetI", {}, ValueType::Integer, LeaveUnset});
        engine.RegisterFunction({"MyUnit", "UnsetS", {}, ValueType::String, LeaveUnset});
        engine.RegisterFunction({"MyUnit", "UnsetB", {}, ValueType::Boolean, LeaveUnset});
        engine.RegisterFunction({"MyUnit", "Count", {}, ValueType::Void, Count, 0, &calls});
        engine.RegisterConstant({"MyUnit", "otDevice", ValueType::Integer, 99, 0, ""});
    }
    Engine engine;
    int calls = 0;
};

TEST_F(HostApiTest, CallsReachTheHandlers) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        // Tags tell the names apart; Integer results widen to Float.
        {"uses MyUnit; Print(W(3, 1)); Print(' '); Print(P(3, 1) * 0.5);", "4 3.5"},
        {"Print(w(1, 99)); Print(' '); Print(OTDEVICE);", "100 99"},
        {"Print(Describe('k', 1 > 0, 2));", "k:yes:2"},
        {"Print(UnsetF); Print(UnsetI); Print('[' + UnsetS + ']'); Print(UnsetB);", "00[]False"},
        {"uses MyUnit, SysUtils, Math, DateUtils, Classes, Variants, StrUtils; Count; Count; Count();", ""},
    };
    for (const auto& [source, output] : cases) {
        auto result = RunScript(engine, source);
        EXPECT_EQ(result.messages, "") << source;
        EXPECT_EQ(result.output, output) << source;
    }
    EXPECT_EQ(calls, 3); // the user data reached the handler
}

Program* running = nullptr;

void Reenter(CallFrame& f) {
    f.ReturnBool(running->Execute());
}

TEST(HostReentryTest, ExecutingWhileExecutingIsRefused) {
    Engine engine;
    engine.RegisterFunction({"MyUnit", "Reenter", {}, ValueType::Boolean, Reenter});
    auto program = engine.Compile("Print(Reenter);");
    running = program.get();
    EXPECT_FALSE(program->Execute());
    EXPECT_EQ(program->Output(), "False");
    EXPECT_EQ(program->Messages().ToText(), "Ошибка: Скрипт уже выполняется!\n");
    running = nullptr;
}

TEST(HostRegistrationTest, RefusesWhatTheEngineCannotCall) {
    Engine engine;
    FunctionDef too_many{"MyUnit", "Many", {}, ValueType::Float, LeaveUnset};
    too_many.params.resize(40);
    EXPECT_THROW(engine.RegisterFunction(too_many), std::invalid_argument);
    EXPECT_THROW(engine.RegisterFunction({"MyUnit", "V", {}, ValueType::Variant, LeaveUnset}),
                 std::invalid_argument);
    EXPECT_THROW(engine.RegisterFunction({"MyUnit", "N", {}, ValueType::Float, nullptr}),
                 std::invalid_argument);
}

} // namespace
} // namespace tl::script
