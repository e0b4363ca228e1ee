#include "tldriver/schedule_common_task.hpp"

#include "tldriver/result_codes.hpp"
#include "tldriver/schedule_task_list.hpp"
#include "tlsettings/task_names.hpp"

namespace tl {

TScheduleCommonTask::TScheduleCommonTask(HostLink& link, std::string task_key, int32_t task_id)
    : link_(link), scenario_name_(tl::ScenarioName(task_key)), task_key_(std::move(task_key)),
      task_section_(tl::TaskSection(scenario_name_)), element_sections_{ElementSection(task_key_, 0),
                                                                        ElementSection(task_key_, 1)},
      task_id_(task_id) {}

TScheduleCommonTask::~TScheduleCommonTask() = default;

int32_t TScheduleCommonTask::HandleData(TlResultSet** /*result*/, bool& release_it) {
    release_it = true;
    return kResultWaiting;
}

int32_t TScheduleCommonTask::Start() {
    return kResultWaiting;
}

int32_t TScheduleCommonTask::Stop() {
    return kResultInterrupted;
}

void TScheduleCommonTask::Shutdown() {}

void TScheduleCommonTask::RunQuery(std::string_view sql, std::span<const Variant> params) {
    link_.Database().ExecQuery(task_id_, sql, params, &TScheduleTaskList::DataReadyHandler, &link_);
}

void TScheduleCommonTask::DropDataSet(TlResultSet*& result) {
    link_.Database().ReleaseDataSet(&result);
}

void TScheduleCommonTask::SendStatus(std::string_view line) const {
    link_.SendStatus(scenario_name_, line);
}

} // namespace tl
