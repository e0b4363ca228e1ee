#include "unit_test_support.hpp"

#include "tlscript/call_frame.hpp"
#include "tlscript/engine.hpp"

namespace tl::test {
namespace {

void Keep(script::CallFrame& f) {
    static_cast<std::vector<double>*>(f.UserData())->push_back(f.Float(0));
}

} // namespace

void RegisterKeep(ScriptDataModule& module, std::vector<double>* kept) {
    module.Engine().RegisterFunction(
        {"TestUnit", "Keep", {{script::ValueType::Float}}, script::ValueType::Void, Keep, 0, kept});
}

UnitTest::UnitTest() {
    RegisterKeep(module, &kept);
}

std::unique_ptr<script::Program> UnitTest::Run(std::string_view text) {
    kept.clear();
    auto program = module.Engine().Compile(text);
    EXPECT_FALSE(program->HasCompileErrors()) << text << "\n" << program->Messages().ToText();
    if (!program->HasCompileErrors()) {
        program->Execute();
    }
    return program;
}

double UnitTest::Eval(std::string_view expression) {
    auto program = Run("Keep(" + std::string(expression) + ");");
    EXPECT_FALSE(program->HasExecutionErrors()) << expression << "\n" << program->Messages().ToText();
    EXPECT_EQ(kept.size(), 1U) << expression;
    return kept.empty() ? 0 : kept.front();
}

void UnitTest::SetInterval(int index, DateTime time) {
    module.SetScriptContext({.data = &data,
                             .momentary = &momentary,
                             .momentary_accepted = true,
                             .interval_index = index,
                             .interval_time = time});
}

TDataRow Row(ElementAddress element, double value, DateTime stamp, int32_t season) {
    return {.type = element.type,
            .object = element.object,
            .item = element.item,
            .stamp = stamp,
            .value = value,
            .season = season};
}

} // namespace tl::test
