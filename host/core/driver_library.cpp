#include "tlhost/driver_library.hpp"

#include "tlhost/host_error.hpp"

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <fmt/format.h>

namespace tl::host {
namespace {

std::string LoaderError() {
    const char* text = dlerror();
    return text != nullptr ? text : "unknown loader error";
}

template <typename Fn>
void Resolve(void* handle, const std::string& path, const char* name, Fn& out) {
    dlerror();
    void* symbol = dlsym(handle, name);
    if (symbol == nullptr) {
        std::string why = LoaderError();
        dlclose(handle);
        throw HostError(fmt::format("the driver {} has no export {}: {}", path, name, why));
    }
    // Object and function pointers have the same size and representation on this platform.
    static_assert(sizeof(Fn) == sizeof(void*));
    std::memcpy(&out, &symbol, sizeof(out));
}

} // namespace

std::unique_ptr<DriverLibrary> DriverLibrary::Load(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        throw HostError(fmt::format("cannot load the driver {}: {}", path, LoaderError()));
    }
    DriverExports e;
    Resolve(handle, path, "InitDriver", e.InitDriver);
    Resolve(handle, path, "DeInitDriver", e.DeInitDriver);
    Resolve(handle, path, "GetFunctionName", e.GetFunctionName);
    Resolve(handle, path, "GetDBAccessNecessity", e.GetDBAccessNecessity);
    Resolve(handle, path, "ShowSpecificDataDialog", e.ShowSpecificDataDialog);
    Resolve(handle, path, "ShowSpecificDataDialogEx", e.ShowSpecificDataDialogEx);
    Resolve(handle, path, "StartAction", e.StartAction);
    Resolve(handle, path, "StopAction", e.StopAction);
    Resolve(handle, path, "GetStartActionDecodeResult", e.GetStartActionDecodeResult);
    Resolve(handle, path, "GetStopActionDecodeResult", e.GetStopActionDecodeResult);
    return std::unique_ptr<DriverLibrary>(new DriverLibrary(handle, path, e));
}

std::string DriverLibrary::DefaultPath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return "./libtlosses.so";
    }
    return (exe.parent_path() / "libtlosses.so").string();
}

DriverLibrary::DriverLibrary(void* handle, std::string path, const DriverExports& exports)
    : handle_(handle), path_(std::move(path)), exports_(exports) {}

DriverLibrary::~DriverLibrary() {
    // Unloading runs the driver's module teardown, which releases its service reference.
    dlclose(handle_);
}

} // namespace tl::host
