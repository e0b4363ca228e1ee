#include "dialog_export_support.hpp"

#include "tlcommon/text_codec.hpp"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <stdexcept>

namespace tl::test {

DialogDriver::DialogDriver(const std::string& directory, void* application) {
    handle_ = dlopen((directory + "libtlosses.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        throw std::runtime_error(dlerror());
    }
    auto init = reinterpret_cast<TlInitDriverFn>(dlsym(handle_, "InitDriver"));
    deinit_ = reinterpret_cast<TlDeInitDriverFn>(dlsym(handle_, "DeInitDriver"));
    show_ = reinterpret_cast<TlShowSpecificDataDialogFn>(dlsym(handle_, "ShowSpecificDataDialog"));
    show_ex_ = reinterpret_cast<TlShowSpecificDataDialogExFn>(dlsym(handle_, "ShowSpecificDataDialogEx"));
    host_.SetParam(TL_PARAM_STATUS_CALLBACK, reinterpret_cast<void*>(&FakeHost::StatusCallback));
    if (application != nullptr) {
        host_.SetParam(TL_PARAM_APPLICATION, application);
    }
    init(host_.Service());
}

DialogDriver::~DialogDriver() {
    deinit_();
    dlclose(handle_);
}

bool DialogDriver::ShowEx(const std::string& task_key) {
    return show_ex_(0, Utf8ToCp1251(task_key).c_str());
}

void DialogDriver::Show(const std::string& task_key) {
    show_(0, Utf8ToCp1251(task_key).c_str());
}

void CopyDriverLibraries(const std::string& from, const std::string& to, const std::string& except) {
    namespace fs = std::filesystem;
    for (const auto& entry : fs::directory_iterator(from)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("libtl") && entry.path().extension() == ".so" && name != except) {
            fs::copy_file(entry.path(), to + name, fs::copy_options::overwrite_existing);
        }
    }
}

bool LibraryLoaded(const char* file_name) {
    void* handle = dlopen(file_name, RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) {
        return false;
    }
    dlclose(handle);
    return true;
}

void ForgetDisplays() {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
}

OffscreenPlatform::OffscreenPlatform() {
    setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ForgetDisplays();
}

} // namespace tl::test
