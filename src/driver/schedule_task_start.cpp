// The first step of a run: settings, periods, element list, the element-state query.
#include "tlassembly/run_script.hpp"
#include "tlcommon/failure_text.hpp"
#include "tlcommon/format_settings.hpp"
#include "tldata/passes.hpp"
#include "tldriver/result_codes.hpp"
#include "tldriver/run_period.hpp"
#include "tldriver/schedule_task.hpp"
#include "tlmethods/element_list.hpp"
#include "tlplatform/tlvtools.h"
#include "tlsettings/key_conversion.hpp"
#include "tlsettings/required_settings.hpp"
#include "tlsettings/task_keys.hpp"

#include <array>
#include <fmt/format.h>
#include <vector>

namespace tl {
namespace {

constexpr int32_t kIntervalDepth = 0;
constexpr int32_t kIntervalFixed = 1;
constexpr int32_t kWindowMinutes = 30; // the state query covers whole half-hours

std::string PeriodLine(DateTime begin, DateTime end, std::string_view suffix) {
    return fmt::format("Начало - {}, окончание - {}{}", FormatShortDateLongTime(begin),
                       FormatShortDateLongTime(end), suffix);
}

} // namespace

uint8_t TScheduleTask::ReadFirstPass() {
    const std::string& section = TaskSection();
    if (!adv_par_number_) {
        return kFirstBasePass;
    }
    const int32_t pass = settings_.ReadInteger(section, settings::kParNumber, 0);
    if (pass < 0 || pass > kFirstBasePass) {
        throw LocalizedError(fmt::format("Индекс списка вне границ ({})", pass));
    }
    return static_cast<uint8_t>(pass);
}

void TScheduleTask::ReadPeriods() {
    const std::string& section = TaskSection();
    const DateTime week_ago = Link().Today() - 7;

    switch (settings_.ReadInteger(section, settings::kIntervalType, kIntervalDepth)) {
    case kIntervalDepth:
        base_end_ = Link().Now();
        base_begin_ = DepthBack(settings_.ReadInteger(section, settings::kDeepBase, 0), base_end_);
        break;
    case kIntervalFixed:
        base_begin_ = settings_.ReadDateTime(section, settings::kBeginDateTime, week_ago);
        base_end_ = settings_.ReadDateTime(section, settings::kEndDateTime, base_begin_);
        break;
    default:
        break; // no dialog writes another type: the period stays at the zero date
    }
    SendStatus(PeriodLine(base_begin_, base_end_, " "));

    if (adv_par_number_) {
        switch (settings_.ReadInteger(section, settings::kIntervalTypeAdv, kIntervalDepth)) {
        case kIntervalDepth:
            adv_end_ = Link().Now();
            // Counted back from the base end: every pass ends there.
            adv_begin_ = DepthBack(settings_.ReadInteger(section, settings::kDeepAdv, 0), base_end_);
            break;
        case kIntervalFixed:
            adv_begin_ = settings_.ReadDateTime(section, settings::kBeginDateTimeAdv, week_ago);
            adv_end_ = settings_.ReadDateTime(section, settings::kEndDateTimeAdv, adv_begin_);
            break;
        default:
            break;
        }
        SendStatus(PeriodLine(adv_begin_, adv_end_, " (Доп.)"));
    }

    window_.begin = adv_par_number_ && adv_begin_ < base_begin_ ? adv_begin_ : base_begin_;
    CorrectDateForMinutes(&window_.begin, kWindowMinutes, false);
    window_.end = base_end_;
    CorrectDateForMinutes(&window_.end, kWindowMinutes, true);
}

int32_t TScheduleTask::StartRun() {
    SendStatus("Начало работы");
    const std::string& section = TaskSection();
    if (!settings::HasRequiredSettings(settings_, section)) {
        SendStatus("Нет обязательных настроек");
        SendStatus(FinalStatusLine(kResultBadScenario));
        return kResultBadScenario;
    }

    method_ = settings_.ReadInteger(section, settings::kMethod, kMethodDefinedFormula);
    if (method_ < 0 || static_cast<size_t>(method_) >= ElementSections().size()) {
        throw LocalizedError(fmt::format("Индекс списка вне границ ({})", method_));
    }
    const std::string& element_section = ElementSections()[static_cast<size_t>(method_)];

    if (!settings::ConvertElementKeys(settings_, method_, section, element_section)) {
        SendStatus("Преобразование скрипта под новый формат заверешено с ошибкой!");
        SendStatus(FinalStatusLine(kResultBadScenario));
        return kResultBadScenario;
    }

    adv_par_number_ = settings_.ReadBool(section, settings::kAdvParNumber, false);
    step_ = ReadFirstPass();
    common_script_ = settings_.ReadString(section, settings::kCommonScript, "");
    ReadPeriods();
    states_.SetUseAltDate(settings_.ReadBool(section, settings::kSCUseCalcEvType, true));

    int32_t result = kResultNotCalculated;
    const int32_t count =
        ReadElementList(settings_, element_section, method_, channel_, objects_, data_filter_);
    if (count > 0) {
        SendStatus(fmt::format("Общее количество объектов, подлежащих расчету: {}", count));
        if (method_ == kMethodArbitraryFormula) {
            // The task's own script data, beside the program compiled with it: runs whose steps
            // interleave never share rows, lists or context.
            arbitrary_ = std::make_unique<ArbitraryFormula>(ArbitraryFormulaLinks{
                objects_, states_, channel_, channel_, timings_, Link().include_directory});
            arbitrary_->SetInterruptFlag(Link().interrupt_flag);
            result = arbitrary_->Prepare(common_script_, data_filter_, momentary_filter_)
                         ? kResultWaiting
                         : kResultBadScenario;
            ReleaseFormulaTexts(objects_);
        } else {
            defined_formula_.Prepare(data_filter_);
            result = kResultWaiting;
        }
    }

    if (result == kResultWaiting) {
        AskElementStates();
        return kResultWaiting;
    }
    SendStatus(FinalStatusLine(result));
    return result;
}

void TScheduleTask::AskElementStates() {
    step_ = kStepStates;
    std::string sql;
    std::vector<Variant> params;
    if (states_.GetSQL(sql, params, window_.begin, window_.end)) {
        RunQuery(sql, params);
        return;
    }
    const std::array<Variant, 1> zero = {Variant::Int32(0)};
    RunQuery("", zero);
}

} // namespace tl
