// TScheduleTask: the loss-calculation task. Its run is a chain of steps: Start reads and checks
// the settings, derives the periods, reads the element list and asks for the element states; each
// completed query (HandleData) does what its answer allows and issues the next query, pass after
// pass; the last step ends the run with a result code. The task owns the run's log and the list of
// incompletely calculated elements; when it is freed it closes the log with that list, reports
// the list by a status line and writes tlosses.log.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldata/data_requests.hpp"
#include "tldata/db_records.hpp"
#include "tldata/item_filter.hpp"
#include "tldata/state_container.hpp"
#include "tldriver/floating_point_scope.hpp"
#include "tldriver/run_log.hpp"
#include "tldriver/schedule_common_task.hpp"
#include "tlexecution/arbitrary_formula.hpp"
#include "tlexecution/element_errors.hpp"
#include "tlexecution/run_timings.hpp"
#include "tlmethods/calc_objects.hpp"
#include "tlmethods/container_states.hpp"
#include "tlmethods/defined_formula.hpp"
#include "tlmethods/pass_window.hpp"
#include "tlmethods/run_report.hpp"
#include "tlsettings/svc_config.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tl {

class TScheduleTask : public TScheduleCommonTask {
public:
    // Steps that wait for a query other than a pass's interval data.
    static constexpr uint8_t kStepStates = 13;
    static constexpr uint8_t kStepDiscreteness = 15;
    static constexpr uint8_t kStepMomentary = 16;
    // Before Start has asked anything.
    static constexpr uint8_t kStepIdle = 255;
    // Values of the Method setting.
    static constexpr int32_t kMethodDefinedFormula = 0;
    static constexpr int32_t kMethodArbitraryFormula = 1;

    TScheduleTask(HostLink& link, std::string task_key, int32_t task_id);
    ~TScheduleTask() override;

    int32_t HandleData(TlResultSet** result, bool& release_it) override;
    int32_t Start() override;
    int32_t Stop() override;
    void Shutdown() override;

    RunLog& Log() { return run_log_; }
    // Records an error of one element at the current stamp; the run goes on.
    void AddElementError(int32_t object, int32_t type, int32_t item, std::string_view message);

    uint8_t Step() const { return step_; }

private:
    // The run's way to the host for the requests and the methods.
    class Channel final : public RequestTask, public RunReport, public ElementErrors {
    public:
        explicit Channel(TScheduleTask& task) : task_(task) {}
        void RunQuery(std::string_view sql, std::span<const Variant> params) override;
        void LogLine(std::string_view line) override;
        void SendStatus(std::string_view line) override;
        void AddElementError(const ElementAddress& element, std::string_view message) override;

    private:
        TScheduleTask& task_;
    };

    int32_t StartRun();
    int32_t HandleStep();
    // Base and additional periods, their status lines and the overall window of the state query.
    void ReadPeriods();
    // The first pass: ParNumber with the additional parameter, else the 30-minute pass.
    uint8_t ReadFirstPass();
    void AskElementStates();
    void LoadElementStates();

    int32_t NextPass();
    bool PreparePass();
    int32_t FinishPass();
    int32_t ProcessDefinedFormulaPass();
    int32_t ProcessArbitraryFormulaPass();
    // The answer about parameter 1100: whether momentary values can be used.
    int32_t AcceptDiscreteness();
    // The momentary values of the pass are kept; its interval values are asked next.
    int32_t KeepMomentaryValues();

    // Closing section, status line of incompletely calculated elements, tlosses.log.
    void CloseRunLog() noexcept;
    void LogTimings();
    void LogFailure(std::string_view line);

    FloatingPointScope floating_point_;
    Channel channel_{*this};

    TSvcConfig settings_;
    TCalcObjects objects_;
    TStateContainer states_;
    ContainerStates state_view_{states_};
    DefinedFormula defined_formula_{objects_, channel_, state_view_};
    RunTimings timings_;
    RunTimings::Clock::time_point run_started_{};
    RunTimings::Clock::time_point step_ended_{}; // from here the task waits for its query
    // The arbitrary formula's script data, run script and compiled program, made by Start.
    std::unique_ptr<ArbitraryFormula> arbitrary_;
    bool adv_par_number_ = false;
    int32_t method_ = 0;
    TlResultSet* current_set_ = nullptr;   // the set of the last completed query, until released
    TlResultSet* momentary_set_ = nullptr; // momentary values of the current pass
    uint8_t saved_pass_ = 0;               // the pass to resume after the momentary query
    uint8_t step_ = kStepIdle;             // pass 0..12, or the query waited for (13, 15, 16)
    DateTime base_end_ = 0;
    DateTime adv_end_ = 0; // only logged: every pass ends at the base end
    DateTime base_begin_ = 0;
    DateTime adv_begin_ = 0;
    PassWindow window_;                   // begin: the current stamp while a pass is processed
    std::unique_ptr<TDBRecords> records_; // rows of the current pass until FinishPass
    TSQLItemParamContainer data_filter_;  // elements whose interval values are read
    TSQLItemParamContainer momentary_filter_;
    RunLog run_log_;
    IncompleteElements incomplete_;
    std::string common_script_;
};

} // namespace tl
