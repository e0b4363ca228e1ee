// The module-wide state of the loaded driver and what the exports do with it. One instance lives
// from module load to unload; every export forwards to it.
#pragma once

#include "tldata/element_state_log.hpp"
#include "tldriver/dialog_launcher.hpp"
#include "tldriver/host_link.hpp"
#include "tldriver/schedule_task_list.hpp"
#include "tlosses/abi.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

class DriverModule {
public:
    // `module_path`: the driver's own file (names the element-state log); `executable_directory`:
    // where tlosses.log goes unless the host names a directory.
    DriverModule(std::string_view module_path, std::string executable_directory);
    // Frees a task list that still exists; the host service reference is released last.
    ~DriverModule();
    DriverModule(const DriverModule&) = delete;
    DriverModule& operator=(const DriverModule&) = delete;

    void InitDriver(TlHostService* service);
    void DeInitDriver();
    // `task_key` in Windows-1251, as the host passes it.
    void StartAction(std::string_view task_key, int32_t task_id);
    void StopAction(int32_t task_id);
    // Opens the task settings dialog modally; true exactly when it was closed by OK. Without a
    // display, or without the dialogs library, a status line says why and the result is false.
    bool ShowSettingsDialog(std::string_view task_key);

    HostLink& Link() { return link_; }
    ElementStateLog& StateLog() { return state_log_; }
    TScheduleTaskList* TaskList() const { return task_list_.get(); }
    // The application object the module's dialogs belong to (null: the module's own).
    void* Application() const { return application_; }

    // Copies of the host parameters 1, 3, 4 and 5: kept only.
    const std::string& Param1() const { return param1_; }
    uint8_t Param3() const { return param3_; }
    uint32_t Param4() const { return param4_; }
    uint32_t Param5() const { return param5_; }

private:
    void ReadParams(TlHostService* service);

    ElementStateLog state_log_;
    HostLink link_;
    std::unique_ptr<TScheduleTaskList> task_list_;
    DialogLauncher dialogs_;
    std::string param1_; // Windows-1251 bytes, as given
    uint8_t param3_ = 0;
    uint32_t param4_ = 0;
    uint32_t param5_ = 0;
    void* application_ = nullptr;
    std::optional<void*> saved_application_;
};

} // namespace tl
