// libFuzzer target: compiles each input as a script and, when it compiled, executes it. A few host
// functions shaped like the function unit's are registered so that host calls get exercised too.
// The time limit turns a script's legitimate endless loop into an execution error instead of a hang.
#include "tlscript/call_frame.hpp"
#include "tlscript/engine.hpp"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tl::script::CallFrame;
using tl::script::Engine;
using tl::script::EngineSettings;
using tl::script::ValueType;

constexpr int64_t kTimeLimitMs = 200;

// Serves W, P and W2, told apart by the tag like the energy functions.
void Energy(CallFrame& f) {
    double value = f.Int(0) * 0.5 + f.Int(1);
    if (f.Tag() == 2) {
        value += f.Int(2);
    }
    f.ReturnFloat(f.Tag() == 1 ? value * 2 : value);
}

void Hours(CallFrame& f) {
    f.ReturnFloat(0.5);
}

void State(CallFrame& f) {
    f.ReturnInt(f.Int(0) & 1);
}

// Adds an error and lets the execution go on, as percent does out of range.
void Percent(CallFrame& f) {
    if (f.Float(1) < 0 || f.Float(1) > 100) {
        f.AddError("Функция percent (проценты вне диапазона 0 - 100)");
        return;
    }
    f.ReturnFloat(f.Float(0) * f.Float(1) / 100);
}

void Losses(CallFrame& f) {
    double sum = 0;
    for (int i = 0; i < f.ArgCount(); ++i) {
        sum += f.Float(i);
    }
    f.ReturnFloat(sum);
}

// Raises a catchable script exception on a negative argument.
void Checked(CallFrame& f) {
    if (f.Int(0) < 0) {
        f.Raise("отрицательный аргумент");
    }
    f.ReturnFloat(f.Int(0));
}

// Strings in and out, in UTF-8, and a Variant in its printed form.
void Describe(CallFrame& f) {
    f.ReturnString(std::string(f.String(0)) + (f.Bool(1) ? ":да:" : ":нет:") + f.Text(2));
}

void Register(Engine& engine) {
    const auto ints = [](size_t count) {
        return std::vector<tl::script::ParamSpec>(count, {ValueType::Integer, false});
    };
    engine.RegisterFunction({"MyUnit", "W", ints(2), ValueType::Float, Energy, 0});
    engine.RegisterFunction({"MyUnit", "P", ints(2), ValueType::Float, Energy, 1});
    engine.RegisterFunction({"MyUnit", "W2", ints(3), ValueType::Float, Energy, 2});
    engine.RegisterFunction({"MyUnit", "T", {}, ValueType::Float, Hours});
    engine.RegisterFunction({"MyUnit", "MO", ints(1), ValueType::Integer, State});
    engine.RegisterFunction(
        {"MyUnit", "percent", {{ValueType::Float}, {ValueType::Float}}, ValueType::Float, Percent});
    engine.RegisterFunction({"MyUnit", "T2_LossesW_A",
                             std::vector<tl::script::ParamSpec>(6, {ValueType::Float, false}),
                             ValueType::Float, Losses});
    engine.RegisterFunction({"MyUnit", "Checked", ints(1), ValueType::Float, Checked});
    engine.RegisterFunction({"MyUnit",
                             "Describe",
                             {{ValueType::String}, {ValueType::Boolean}, {ValueType::Variant}},
                             ValueType::String,
                             Describe});
    engine.RegisterConstant({"MyUnit", "otDevice", ValueType::Integer, 99, 0, ""});
    engine.RegisterConstant({"MyUnit", "otSubDevice", ValueType::Integer, 98, 0, ""});
}

Engine& EngineFor(char decimal_separator) {
    // No include directories: every include switch is refused.
    const auto make = [](char separator) {
        EngineSettings settings;
        settings.decimal_separator = separator;
        settings.time_limit_ms = kTimeLimitMs;
        auto* engine = new Engine(settings); // lives for the whole process
        Register(*engine);
        return engine;
    };
    static Engine* const point = make('.');
    static Engine* const comma = make(',');
    return decimal_separator == ',' ? *comma : *point;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The last byte picks the decimal separator without taking anything away from the script.
    const char separator = size > 0 && (data[size - 1] & 1) != 0 ? ',' : '.';
    auto program = EngineFor(separator).Compile(text, "fuzz.pas");
    if (!program->HasCompileErrors()) {
        const auto start = std::chrono::steady_clock::now();
        program->Execute();
        // A second execution starts from fresh data; skipped after a slow first one, which is
        // mostly a script running into the time limit.
        if (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(kTimeLimitMs / 10)) {
            program->Execute();
        }
    }
    for (const auto& message : program->Messages()) {
        (void)message.OneLine();
    }
    return 0;
}
