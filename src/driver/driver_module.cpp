#include "tldriver/driver_module.hpp"

#include "tlcommon/failure_text.hpp"
#include "tlcommon/format_settings.hpp"
#include "tlcommon/text_codec.hpp"
#include "tldialogs/display_guard.hpp"
#include "tldriver/result_codes.hpp"
#include "tldriver/schedule_task.hpp"
#include "tlsettings/task_names.hpp"

#include <cmath>
#include <cstring>
#include <fmt/format.h>

namespace tl {
namespace {

// Asks the host for one parameter; null when it does not supply it.
void* AskParam(TlHostService* service, int32_t index) {
    void* value = nullptr;
    if (!service->vtbl->GetParam(service, index, &value)) {
        return nullptr;
    }
    return value;
}

template <typename T>
void CopyValue(TlHostService* service, int32_t index, T& target) {
    if (const void* value = AskParam(service, index)) {
        std::memcpy(&target, value, sizeof(T));
    }
}

std::string WithTrailingSlash(std::string directory) {
    if (!directory.empty() && directory.back() != '/') {
        directory.push_back('/');
    }
    return directory;
}

} // namespace

DriverModule::DriverModule(std::string_view module_path, std::string executable_directory)
    : state_log_(ModiLogFileName(module_path)), dialogs_(DialogLibraryBeside(std::string(module_path))) {
    link_.log_directory = WithTrailingSlash(std::move(executable_directory));
    link_.state_log = &state_log_;
}

DriverModule::~DriverModule() {
    task_list_.reset();
    link_.service.Reset();
}

void DriverModule::ReadParams(TlHostService* service) {
    if (const void* value = AskParam(service, TL_PARAM_1)) {
        const char* text = *static_cast<const char* const*>(value);
        param1_ = text != nullptr ? text : "";
    }
    CopyValue(service, TL_PARAM_3, param3_);
    CopyValue(service, TL_PARAM_4, param4_);
    CopyValue(service, TL_PARAM_5, param5_);
    CopyValue(service, TL_PARAM_COMPLETION_MESSAGE, link_.completion.message);
    CopyValue(service, TL_PARAM_COMPLETION_WINDOW, link_.completion.window);
    if (void* callback = AskParam(service, TL_PARAM_STATUS_CALLBACK)) {
        link_.status_callback = reinterpret_cast<TlStatusProc>(callback);
    }
    // The application object is taken as given, also when null.
    void* application = nullptr;
    if (service->vtbl->GetParam(service, TL_PARAM_APPLICATION, &application)) {
        saved_application_ = application_;
        application_ = application;
    }
    // Not a parameter of the original hosts: those always write beside their executable.
    if (const void* value = AskParam(service, TL_PARAM_LOG_DIRECTORY)) {
        if (const char* directory = *static_cast<const char* const*>(value)) {
            link_.log_directory = WithTrailingSlash(Cp1251ToUtf8(directory));
        }
    }
    // Nor this one: where the host says which decimal separator its operators write, it overrides
    // the one of the process locale.
    if (const void* value = AskParam(service, TL_PARAM_DECIMAL_SEPARATOR)) {
        const char* separator = *static_cast<const char* const*>(value);
        if (separator != nullptr && (separator[0] == '.' || separator[0] == ',') && separator[1] == '\0') {
            SetSystemDecimalSeparator(separator[0]);
        }
    }
    // Nor this one: the tasks' scripts read their includes from this directory only, and from none
    // when the host names none.
    if (const void* value = AskParam(service, TL_PARAM_SCRIPT_INCLUDE_DIRECTORY)) {
        const char* directory = *static_cast<const char* const*>(value);
        link_.include_directory = directory != nullptr ? Cp1251ToUtf8(directory) : std::string();
    }
    // Nor this one: the address of the host's interrupt flag, kept (not its value). Asked anew
    // each time, so that a flag of an earlier host is never read.
    link_.interrupt_flag = static_cast<const volatile int32_t*>(AskParam(service, TL_PARAM_INTERRUPT_FLAG));
    // Nor this one: a host that reruns a past night gives the moment that counts as "now". Asked
    // anew each time, so that a host without it is never left with an earlier host's clock.
    link_.clock.reset();
    if (const void* value = AskParam(service, TL_PARAM_CLOCK)) {
        double clock = 0;
        std::memcpy(&clock, value, sizeof(clock));
        if (std::isfinite(clock)) {
            link_.clock = clock;
        }
    }
}

void DriverModule::InitDriver(TlHostService* service) {
    const HostServiceRef during_call(service);
    link_.service.Reset(service);
    if (service != nullptr) {
        ReadParams(service);
    }
    if (task_list_ == nullptr) {
        task_list_ = std::make_unique<TScheduleTaskList>(link_);
    }
}

void DriverModule::DeInitDriver() {
    if (task_list_ != nullptr) {
        task_list_->ShutdownAll();
        try {
            task_list_.reset();
        } catch (...) {
        }
    }
    if (saved_application_.has_value()) {
        application_ = *saved_application_;
        saved_application_.reset();
    }
}

void DriverModule::StartAction(std::string_view task_key, int32_t task_id) {
    const std::string key = Cp1251ToUtf8(task_key);
    // An exception while the task is made is reported to the host (a status line with its text and
    // a completion with code 6) instead of unwinding into it, so that a host never waits forever
    // for a task that was never started.
    try {
        if (task_list_ == nullptr) {
            throw LocalizedError("Драйвер не инициализирован");
        }
        if (task_list_->IndexOfTask(task_id) >= 0) {
            throw LocalizedError(fmt::format("Задача с идентификатором {} уже выполняется", task_id));
        }
        task_list_->Add(std::make_unique<TScheduleTask>(link_, key, task_id));
    } catch (const std::exception& error) {
        link_.SendStatus(ScenarioName(key), FailureLine(error));
        link_.PostCompletion(task_id, kResultInternalError);
        return;
    } catch (...) {
        link_.SendStatus(ScenarioName(key), FailureLine());
        link_.PostCompletion(task_id, kResultInternalError);
        return;
    }
    task_list_->StartTask(task_id);
}

void DriverModule::StopAction(int32_t task_id) {
    if (task_list_ == nullptr) {
        link_.PostCompletion(task_id, kResultInternalError);
        return;
    }
    task_list_->StopTask(task_id);
}

bool DriverModule::ShowSettingsDialog(std::string_view task_key) {
    const std::string key = Cp1251ToUtf8(task_key);
    const std::string scenario = ScenarioName(key);
    // A host that handed over its application object shows the dialog in its own application,
    // whatever the environment says; otherwise Qt is not loaded where it could not open a window.
    if (application_ == nullptr && !dialogs::DisplayAvailable()) {
        link_.SendStatus(scenario, std::string(dialogs::kNoDisplayLine));
        return false;
    }
    struct StatusTarget {
        const HostLink* link;
        const std::string* scenario;
    } target{&link_, &scenario};
    TlDialogRequest request{};
    request.size = sizeof(request);
    request.task_key = key.c_str();
    request.application = application_;
    request.status = [](void* context, const char* line) {
        const auto* status = static_cast<const StatusTarget*>(context);
        status->link->SendStatus(*status->scenario, line != nullptr ? line : "");
    };
    request.status_context = &target;
    request.decimal_separator = SystemFormat().decimal_separator;
    request.now = link_.clock.value_or(0);
    std::string why;
    const int32_t outcome = dialogs_.Show(request, why);
    if (outcome == TL_DIALOG_FAILED && !why.empty()) {
        link_.SendStatus(scenario, "Диалог настроек не открыт: " + why);
    }
    return outcome == TL_DIALOG_ACCEPTED;
}

} // namespace tl
