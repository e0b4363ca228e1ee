// The driver as the scheduler uses it for the dialogs: libtlosses.so loaded with dlopen (from the
// build's directory or from a copy), initialised with a fake host, ShowSpecificDataDialogEx
// called with a task key in Windows-1251.
#pragma once

#include "driver_test_support.hpp"
#include "fake_host_service.hpp"
#include "tlosses/abi.h"

#include <string>

namespace tl::test {

class DialogDriver {
public:
    // `directory` ends in '/' and holds libtlosses.so and its platform libraries; `application`,
    // when given, is handed over as the host's application object (parameter 11).
    explicit DialogDriver(const std::string& directory, void* application = nullptr);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // ShowSpecificDataDialogEx with the UTF-8 key converted for the boundary.
    bool ShowEx(const std::string& task_key);
    void Show(const std::string& task_key);

private:
    void* handle_ = nullptr;
    FakeHost host_;
    TlDeInitDriverFn deinit_ = nullptr;
    TlShowSpecificDataDialogFn show_ = nullptr;
    TlShowSpecificDataDialogExFn show_ex_ = nullptr;
};

// Copies the driver's libraries from `from` into `to`, all but those named `except`.
void CopyDriverLibraries(const std::string& from, const std::string& to, const std::string& except);

// Whether a library of that file name is loaded in this process.
bool LibraryLoaded(const char* file_name);

// No display server for the dialogs of this process: DISPLAY and WAYLAND_DISPLAY unset.
void ForgetDisplays();

// The offscreen platform and a private runtime directory (removed at the end) for the dialogs this
// process opens while it lives, with no display server in reach.
class OffscreenPlatform {
public:
    OffscreenPlatform();

private:
    TempDir runtime_;
};

} // namespace tl::test
