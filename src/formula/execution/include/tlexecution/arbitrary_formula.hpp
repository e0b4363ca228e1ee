// The arbitrary-formula method (a formula per element): the task's common script and every
// element formula assembled into one run script, compiled once, executed once in the collection
// pass to learn which interval values, momentary values and element states the formulas read,
// then executed once per stamp of each pass with the stamp's rows, every element reading its two
// results from its two printed lines.
//
//     ArbitraryFormula formula({objects, states, report, errors, timings});
//     if (!formula.Prepare(common_script, data_filter, momentary_filter)) { ... code 2 ... }
//     formula.AcceptMomentary(discreteness.has_value());
//     formula.ProcessPass(window, interval_set, momentary_set, sink);   // per pass
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldata/data_list.hpp"
#include "tldata/item_filter.hpp"
#include "tldata/state_container.hpp"
#include "tlexecution/element_errors.hpp"
#include "tlexecution/run_timings.hpp"
#include "tlmethods/calc_objects.hpp"
#include "tlmethods/pass_window.hpp"
#include "tlmethods/run_report.hpp"
#include "tlosses/abi.h"
#include "tlunit/script_data_module.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

namespace script {
class Program;
}

// What the method needs of its run; everything must outlive the method.
struct ArbitraryFormulaLinks {
    const TCalcObjects& objects;
    TStateContainer& states;
    RunReport& report;
    ElementErrors& errors;
    RunTimings& timings;
    // The directory `{$I file}` of the scripts reads from; empty: every include is refused.
    std::string include_directory = {};
};

// Result rows one pass may make: at every stamp from the first row to the window end each element
// gets a row, so a window reaching far past the data (an end in 9999) would make hundreds of
// millions. About 1.6 GB of rows before they are stored.
inline constexpr size_t kMaxPassRows = 10'000'000;

class ArbitraryFormula {
public:
    explicit ArbitraryFormula(const ArbitraryFormulaLinks& links);
    ~ArbitraryFormula();
    ArbitraryFormula(const ArbitraryFormula&) = delete;
    ArbitraryFormula& operator=(const ArbitraryFormula&) = delete;

    // Assembles, logs and compiles the run script and runs the collection pass, which adds the
    // elements the formulas read to the filters and registers their state elements. False (the
    // run ends with "Некорректный сценарий") after compile errors, or after execution errors of
    // the collection pass, whose lists are logged and applied all the same.
    bool Prepare(std::string_view common_script, TSQLItemParamContainer& data_filter,
                 TSQLItemParamContainer& momentary_filter);

    // Whether the momentary functions read the rows they are given: set once the discreteness of
    // the momentary values is accepted.
    void AcceptMomentary(bool accepted) { momentary_accepted_ = accepted; }

    // The pass whose interval values arrived in `interval_set`: from the window begin (moved
    // forward to the first row) to the window end, every stamp's rows are read and the program
    // runs, also at stamps without rows. A null or empty set computes nothing. `window.begin` is
    // the current stamp meanwhile. Throws when the output does not pair up with the elements.
    // False, with a status line and a log line, when the window holds more stamps than
    // kMaxPassRows allows for the elements: then nothing is computed.
    bool ProcessPass(PassWindow& window, TlResultSet* interval_set, TlResultSet* momentary_set,
                     ResultSink& sink);

    // The host's interrupt flag: the engine ends a running script when it is set, and every
    // execution (the collection pass and each stamp) throws TaskInterrupted after it.
    void SetInterruptFlag(const volatile int32_t* flag);

    // One stamp: the program runs with the rows given, and each element's two printed lines
    // become its result row under the pass's result parameter. After execution errors every
    // element gets an error and no row is written. `status_bit` marks the rows with the status
    // bit.
    void ExecuteInterval(int pass, DateTime stamp, const TDataList& data, const TDataList& momentary,
                         int32_t season_key, bool status_bit, ResultSink& sink);

    ScriptDataModule& Module() { return module_; }

private:
    struct Values {
        double value0 = 0;
        double value1 = 0;
    };

    bool Compile(std::string_view script_text);
    bool Collect(TSQLItemParamContainer& data_filter, TSQLItemParamContainer& momentary_filter);
    void LogUsedElements(TSQLItemParamContainer& data_filter, TSQLItemParamContainer& momentary_filter);
    // Runs the program for the context; false after execution errors or an exception.
    bool Run(const ScriptContext& context);
    void ReadOutput();
    double ReadValue(int result_number, std::string_view line, const ElementAddress& element);
    void AddRows(int pass, DateTime stamp, bool status_bit, ResultSink& sink);
    void ReportNoResults();

    const TCalcObjects& objects_;
    TStateContainer& states_;
    RunReport& report_;
    ElementErrors& errors_;
    RunTimings& timings_;
    ScriptDataModule module_; // declared before the program, which refers to its engine
    std::unique_ptr<script::Program> program_;
    bool momentary_accepted_ = false;
    const volatile int32_t* interrupt_flag_ = nullptr;

    // Kept from stamp to stamp so that a warm pass does not allocate.
    TDataList data_;
    TDataList momentary_;
    TDataList unused_flagged_;
    std::vector<std::string_view> lines_; // views into the program's output
    std::vector<Values> values_;
};

} // namespace tl
