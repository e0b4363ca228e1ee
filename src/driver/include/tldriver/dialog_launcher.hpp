// Opening the task settings dialog. Its Qt views live in libtlosses_dialogs.so beside the driver,
// loaded the first time a dialog is asked for, so that a host that never opens one loads no Qt.
#pragma once

#include "tldialogs/dialog_request.h"

#include <string>

namespace tl {

class DialogLauncher {
public:
    // `library_path`: the dialogs library to load on first use.
    explicit DialogLauncher(std::string library_path) : library_path_(std::move(library_path)) {}
    // The library stays loaded for the life of the process: Qt does not survive being unloaded.
    ~DialogLauncher() = default;
    DialogLauncher(const DialogLauncher&) = delete;
    DialogLauncher& operator=(const DialogLauncher&) = delete;

    // Shows the dialog; TL_DIALOG_FAILED with the reason in `why` when the library cannot be
    // loaded (the library's own failures come as status lines through the request).
    int32_t Show(const TlDialogRequest& request, std::string& why);

    const std::string& LibraryPath() const { return library_path_; }

private:
    std::string library_path_;
    TlShowTaskSettingsDialogFn entry_ = nullptr;
};

// The dialogs library in the directory of the driver file `module_path`.
std::string DialogLibraryBeside(const std::string& module_path);

} // namespace tl
