// Host units: registration, typed arguments, UTF-8 strings, results left unset, tags, re-entry. A message
// added without raising is the percent function's, checked with the function unit and the formula execution.
#include "script_test_util.hpp"
#include "tlscript/call_frame.hpp"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tl::script {
namespace {

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

// Strings cross in UTF-8 both ways.
void Echo(CallFrame& f) {
    f.ReturnString(std::string(f.String(0)) + "|" + std::to_string(f.String(0).size()));
}
void Shout(CallFrame& f) {
    f.Raise(std::string("ошибка: ") + std::string(f.String(0)));
}
void Rename(CallFrame& f) {
    f.SetStringRef(0, "узел");
}

TEST(HostApiTest, CallsReachTheHandlers) {
    Engine engine;
    int calls = 0;
    const ParamSpec i{ValueType::Integer};
    const ParamSpec s{ValueType::String};
    engine.RegisterFunction({"MyUnit", "W", {i, i}, ValueType::Float, Energy, 1});
    engine.RegisterFunction({"MyUnit", "P", {i, i}, ValueType::Float, Energy, 2});
    engine.RegisterFunction(
        {"MyUnit", "Describe", {s, {ValueType::Boolean}, {ValueType::Float}}, ValueType::String, Describe});
    for (const auto& [name, type] :
         {std::pair{"UnsetF", ValueType::Float}, std::pair{"UnsetI", ValueType::Integer},
          std::pair{"UnsetS", ValueType::String}, std::pair{"UnsetB", ValueType::Boolean}}) {
        engine.RegisterFunction({"MyUnit", name, {}, type, LeaveUnset});
    }
    engine.RegisterFunction({"MyUnit", "Count", {}, ValueType::Void, Count, 0, &calls});
    engine.RegisterConstant({"MyUnit", "otDevice", ValueType::Integer, 99, 0, ""});
    engine.RegisterFunction({"MyUnit", "Echo", {s}, ValueType::String, Echo});
    engine.RegisterFunction({"MyUnit", "Shout", {s}, ValueType::Void, Shout});
    engine.RegisterFunction({"MyUnit", "Rename", {{ValueType::String, true}}, ValueType::Void, Rename});
    engine.RegisterConstant({"MyUnit", "Station", ValueType::String, 0, 0, "ПС-1"});
    testing::ExpectOutputs(
        engine,
        {// Tags tell the names apart; Integer results widen to Float.
         {"uses MyUnit; Print(W(3, 1)); Print(' '); Print(P(3, 1) * 0.5);", "4 3.5"},
         {"Print(w(1, 99)); Print(' '); Print(OTDEVICE);", "100 99"},
         {"Print(Describe('k', 1 > 0, 2));", "k:yes:2"},
         {"Print(UnsetF); Print(UnsetI); Print('[' + UnsetS + ']'); Print(UnsetB);", "00[]False"},
         {"uses MyUnit, SysUtils, Math, DateUtils, Classes, Variants, StrUtils; Count; Count; Count();", ""},
         // "ёж" reaches the host as 4 UTF-8 bytes and comes back as 2 + 1 + 1 characters.
         {"var s: String; s := Echo('ёж'); PrintLn(s); PrintLn(Length(s));\n"
          "Rename(s); PrintLn(s + IntToStr(Length(s))); PrintLn(Station + IntToStr(Length(Station)));\n"
          "try Shout('тп'); except on E: Exception do PrintLn(Length(E.Message)); end;",
          "ёж|4\r\n4\r\nузел4\r\nПС-14\r\n10\r\n"}});
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
