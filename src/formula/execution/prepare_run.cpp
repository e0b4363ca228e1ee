// Preparing a run of the arbitrary formula: the run script assembled and compiled once, and the
// collection pass that learns what the formulas read.
#include "tlassembly/run_script.hpp"
#include "tlcommon/failure_text.hpp"
#include "tlcommon/interrupt.hpp"
#include "tlexecution/arbitrary_formula.hpp"
#include "tlexecution/used_element_lines.hpp"
#include "tlscript/engine.hpp"
#include "tlscript/program.hpp"

#include <exception>
#include <string>

namespace tl {
namespace {

constexpr std::string_view kCompileFailed = "Ошибка компиляции (См. файл tlosses.log)";
constexpr std::string_view kCollectionFailed = "Ошибка выполнения (См. файл tlosses.log)";

std::string ExceptionLine(const std::exception& error) {
    return "[Exception] " + FailureText(error);
}

} // namespace

bool ArbitraryFormula::Prepare(std::string_view common_script, TSQLItemParamContainer& data_filter,
                               TSQLItemParamContainer& momentary_filter) {
    // The text lives only while it is logged and compiled: the program keeps what it needs.
    const std::string script_text = BuildRunScript(common_script, objects_);
    report_.LogLine("---------------------Начало скрипта-----------------------");
    report_.LogLine(script_text);
    report_.LogLine("-------------------Окончание скрипта----------------------");
    report_.LogLine("");
    report_.LogLine("-------------------Ошибки компиляции----------------------");
    if (!Compile(script_text)) {
        return false;
    }
    return Collect(data_filter, momentary_filter);
}

void ArbitraryFormula::SetInterruptFlag(const volatile int32_t* flag) {
    interrupt_flag_ = flag;
    module_.Engine().MutableSettings().interrupt_flag = flag;
}

bool ArbitraryFormula::Compile(std::string_view script_text) {
    RunTimings::Clock::time_point started = RunTimings::Clock::now();
    try {
        program_ = module_.Engine().Compile(script_text);
    } catch (const std::exception& error) {
        program_.reset();
        report_.SendStatus(kCompileFailed);
        report_.LogLine(ExceptionLine(error));
        return false;
    }
    timings_.Lap(RunPhase::kCompile, started);
    if (program_->HasCompileErrors()) {
        for (const script::Message& message : program_->Messages()) {
            report_.LogLine(message.OneLine());
        }
        report_.SendStatus(kCompileFailed);
        return false;
    }
    return true;
}

bool ArbitraryFormula::Collect(TSQLItemParamContainer& data_filter,
                               TSQLItemParamContainer& momentary_filter) {
    RunTimings::Clock::time_point started = RunTimings::Clock::now();
    module_.EnterCollectionMode();
    // The lists live only while collecting, whatever happens to the logging.
    struct Leave {
        ScriptDataModule& module;
        ~Leave() { module.LeaveCollectionMode(); }
    } leave{module_};

    // Messages of the compiler come first; those of the execution follow them.
    const size_t compile_messages = program_->Messages().Count();
    bool succeeded = true;
    std::string exception_line;
    try {
        program_->Execute();
    } catch (const std::exception& error) {
        succeeded = false;
        exception_line = ExceptionLine(error);
    }
    ThrowIfInterrupted(interrupt_flag_);
    report_.LogLine("");
    report_.LogLine("-------------------Ошибки выполнения----------------------");
    if (!exception_line.empty()) {
        report_.SendStatus(kCollectionFailed);
        report_.LogLine(exception_line);
    } else if (program_->HasExecutionErrors()) {
        succeeded = false;
        const script::MessageList& messages = program_->Messages();
        for (size_t i = compile_messages; i < messages.Count(); ++i) {
            report_.LogLine(messages[i].OneLine());
        }
        report_.SendStatus(kCollectionFailed);
    }
    // What the formulas named before an error is still asked for.
    LogUsedElements(data_filter, momentary_filter);
    timings_.Lap(RunPhase::kCollection, started);
    return succeeded;
}

void ArbitraryFormula::LogUsedElements(TSQLItemParamContainer& data_filter,
                                       TSQLItemParamContainer& momentary_filter) {
    report_.LogLine("");
    report_.LogLine("------------------Мощность по устройствам-----------------");
    for (const ElementAddress& element : module_.UsedPowerElements()) {
        data_filter.Add(element);
        report_.LogLine(UsedElementLine(element));
    }
    report_.LogLine("");
    report_.LogLine("------------------Мгновенные величины----------------------");
    for (const ElementAddress& element : module_.UsedMomentaryElements()) {
        momentary_filter.Add(element);
        report_.LogLine(MomentaryElementLine(element));
    }
    report_.LogLine("");
    report_.LogLine("------------------ОИ/ДВ----------------------");
    for (const ElementAddress& element : module_.UsedStateElements()) {
        report_.LogLine(UsedElementLine(element));
        states_.AddItem(element.object, element.type, element.item);
    }
}

} // namespace tl
