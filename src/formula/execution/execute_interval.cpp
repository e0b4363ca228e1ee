// One stamp of the arbitrary formula: the program runs with the stamp's rows, and its output,
// two lines per element in the order of the calculation objects, becomes the stamp's result rows.
#include "tlassembly/output_lines.hpp"
#include "tlcommon/failure_text.hpp"
#include "tlcommon/interrupt.hpp"
#include "tldata/passes.hpp"
#include "tlexecution/arbitrary_formula.hpp"
#include "tlscript/program.hpp"

#include <fmt/format.h>

namespace tl {
namespace {

constexpr std::string_view kMissingValue0 = "нет значения Value0";
constexpr std::string_view kMissingValue1 = "нет значения Value1";

} // namespace

void ArbitraryFormula::ExecuteInterval(int pass, DateTime stamp, const TDataList& data,
                                       const TDataList& momentary, int32_t season_key, bool status_bit,
                                       ResultSink& sink) {
    const ScriptContext context{&data,    &momentary, momentary_accepted_, pass, stamp, season_key,
                                &states_, &objects_};
    if (!Run(context)) {
        report_.SendStatus("Ошибка выполнения скрипта");
        lines_.clear();
    }
    if (lines_.empty()) {
        ReportNoResults();
        return;
    }
    ReadOutput();
    AddRows(pass, stamp, status_bit, sink);
}

bool ArbitraryFormula::Run(const ScriptContext& context) {
    RunTimings::Clock::time_point started = RunTimings::Clock::now();
    module_.SetScriptContext(context);
    bool succeeded = false;
    try {
        succeeded = program_->Execute() && !program_->HasExecutionErrors();
        if (succeeded) {
            SplitOutputLines(program_->Output(), lines_);
        }
    } catch (...) {
        // Whatever the engine or a function throws counts as an execution error of the stamp.
        succeeded = false;
    }
    module_.ClearScriptContext();
    timings_.Lap(RunPhase::kExecute, started);
    // An execution that the host's flag ended is no error of the formulas: the task stops.
    ThrowIfInterrupted(interrupt_flag_);
    return succeeded;
}

void ArbitraryFormula::ReportNoResults() {
    for (TCalcObjects::Index k = 0; k < objects_.Count(); ++k) {
        errors_.AddElementError(objects_.At(k).address, "Не сформирован результат выполнения скрипта");
    }
}

double ArbitraryFormula::ReadValue(int result_number, std::string_view line, const ElementAddress& element) {
    const OutputValue parsed = ParseOutputLine(result_number, line);
    if (!parsed.found) {
        errors_.AddElementError(element, result_number == 0 ? kMissingValue0 : kMissingValue1);
    } else if (!parsed.error.empty()) {
        errors_.AddElementError(element, parsed.error);
    }
    return parsed.value;
}

// Lines 2k and 2k+1 are element k's. Output that does not pair up with the elements (an odd
// number of lines, or more pairs than elements, as when a formula prints lines of its own) ends
// the run: storing values under the wrong elements would be worse.
void ArbitraryFormula::ReadOutput() {
    RunTimings::Clock::time_point started = RunTimings::Clock::now();
    const size_t count = lines_.size();
    values_.clear();
    for (size_t i = 0; i < count; i += 2) {
        const auto k = static_cast<TCalcObjects::Index>(i / 2);
        if (k >= objects_.Count()) {
            throw LocalizedError(
                fmt::format("Скрипт вывел {} строк результата для {} элементов", count, objects_.Count()));
        }
        const ElementAddress& element = objects_.At(k).address;
        Values values;
        values.value0 = ReadValue(0, lines_[i], element);
        if (i + 1 >= count) {
            throw LocalizedError(
                fmt::format("Скрипт вывел {} строк результата: нет второй строки элемента {}", count,
                            FormatAddress(element)));
        }
        values.value1 = ReadValue(1, lines_[i + 1], element);
        values_.push_back(values);
    }
    timings_.Lap(RunPhase::kParse, started);
}

void ArbitraryFormula::AddRows(int pass, DateTime stamp, bool status_bit, ResultSink& sink) {
    RunTimings::Clock::time_point started = RunTimings::Clock::now();
    const int32_t par_number = ResultParNumber(pass);
    const int64_t status = status_bit ? kStatusBit : 0;
    for (size_t k = 0; k < values_.size(); ++k) {
        const ElementAddress& element = objects_.At(static_cast<TCalcObjects::Index>(k)).address;
        sink.Add(ResultRow{par_number, stamp, element.object, element.item, element.type, values_[k].value0,
                           values_[k].value1, status, Now()});
    }
    timings_.Lap(RunPhase::kResultRows, started);
}

} // namespace tl
