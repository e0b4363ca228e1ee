// The driver's ten exports, resolved from a shared library with dlopen and dlsym.
#pragma once

#include "tlosses/abi.h"

#include <memory>
#include <string>

namespace tl::host {

struct DriverExports {
    TlInitDriverFn InitDriver = nullptr;
    TlDeInitDriverFn DeInitDriver = nullptr;
    TlGetFunctionNameFn GetFunctionName = nullptr;
    TlGetDBAccessNecessityFn GetDBAccessNecessity = nullptr;
    TlShowSpecificDataDialogFn ShowSpecificDataDialog = nullptr;
    TlShowSpecificDataDialogExFn ShowSpecificDataDialogEx = nullptr;
    TlStartActionFn StartAction = nullptr;
    TlStopActionFn StopAction = nullptr;
    TlDecodeResultFn GetStartActionDecodeResult = nullptr;
    TlDecodeResultFn GetStopActionDecodeResult = nullptr;
};

class DriverLibrary {
public:
    // Loads the library and resolves every export; throws HostError with the loader's text when
    // the file cannot be loaded or an export is missing.
    static std::unique_ptr<DriverLibrary> Load(const std::string& path);
    // libtlosses.so in the directory of the running executable.
    static std::string DefaultPath();

    ~DriverLibrary();
    DriverLibrary(const DriverLibrary&) = delete;
    DriverLibrary& operator=(const DriverLibrary&) = delete;

    const DriverExports& Exports() const { return exports_; }
    const std::string& Path() const { return path_; }

private:
    DriverLibrary(void* handle, std::string path, const DriverExports& exports);

    void* handle_;
    std::string path_;
    DriverExports exports_;
};

} // namespace tl::host
