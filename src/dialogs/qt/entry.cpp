// The one entry point of libtlosses_dialogs.so: the task settings dialog for a task key, shown
// modally. Nothing thrown leaves it; a failure becomes a status line and TL_DIALOG_FAILED.
#include "application_scope.hpp"
#include "task_dialog.hpp"
#include "tlcommon/format_settings.hpp"
#include "tldialogs/dialog_request.h"
#include "tldialogs/display_guard.hpp"

#include <exception>
#include <string>

namespace {

void Report(const TlDialogRequest& request, const std::string& line) {
    if (request.status != nullptr) {
        request.status(request.status_context, line.c_str());
    }
}

} // namespace

extern "C" __attribute__((visibility("default"))) int32_t
TlShowTaskSettingsDialog(const TlDialogRequest* request) noexcept {
    if (request == nullptr || request->size < sizeof(TlDialogRequest) || request->task_key == nullptr) {
        return TL_DIALOG_FAILED;
    }
    try {
        if (request->decimal_separator == '.' || request->decimal_separator == ',') {
            tl::SetSystemDecimalSeparator(request->decimal_separator);
        }
        // The host's application (parameter 11) is whatever QApplication the process has; without
        // one, an application of our own could only be made where a window can be shown.
        if (QCoreApplication::instance() == nullptr && !tl::dialogs::DisplayAvailable()) {
            Report(*request, std::string(tl::dialogs::kNoDisplayLine));
            return TL_DIALOG_FAILED;
        }
        tl::dialogs::ApplicationScope application;
        // The dialog is gone before the application it belongs to.
        const bool accepted = [&] {
            tl::dialogs::TaskDialog dialog(request->task_key, request->now);
            return dialog.exec() == QDialog::Accepted;
        }();
        return accepted ? TL_DIALOG_ACCEPTED : TL_DIALOG_CANCELLED;
    } catch (const std::exception& error) {
        Report(*request, std::string("Диалог настроек: ") + error.what());
    } catch (...) {
        Report(*request, "Диалог настроек: внутренняя ошибка");
    }
    return TL_DIALOG_FAILED;
}
