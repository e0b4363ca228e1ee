#include "tldriver/dialog_launcher.hpp"

#include <dlfcn.h>
#include <fmt/format.h>

namespace tl {
std::string DialogLibraryBeside(const std::string& module_path) {
    const size_t slash = module_path.find_last_of('/');
    const std::string directory = slash == std::string::npos ? "" : module_path.substr(0, slash + 1);
    return directory + TL_DIALOGS_LIBRARY_NAME;
}

int32_t DialogLauncher::Show(const TlDialogRequest& request, std::string& why) {
    if (entry_ == nullptr) {
        // Never closed: Qt registers process-wide handlers that must outlive any unloading.
        void* handle = dlopen(library_path_.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (handle == nullptr) {
            const char* error = dlerror();
            why = fmt::format("не удалось загрузить библиотеку диалогов {}: {}", library_path_,
                              error != nullptr ? error : "");
            return TL_DIALOG_FAILED;
        }
        entry_ = reinterpret_cast<TlShowTaskSettingsDialogFn>(dlsym(handle, TL_DIALOGS_ENTRY_NAME));
        if (entry_ == nullptr) {
            why =
                fmt::format("в библиотеке диалогов {} нет функции {}", library_path_, TL_DIALOGS_ENTRY_NAME);
            return TL_DIALOG_FAILED;
        }
    }
    return entry_(&request);
}

} // namespace tl
