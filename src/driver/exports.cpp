// The ten functions the host resolves. Each forwards to the module object and turns anything
// thrown into the quiet outcome its contract allows: nothing may unwind into the host.
#include "tlcommon/text_codec.hpp"
#include "tldriver/driver_module.hpp"
#include "tldriver/result_codes.hpp"
#include "tlosses/abi.h"
#include "tlplatform/revi.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

const char kModuleAnchor = 0;

std::string ModulePath() {
    Dl_info info{};
    if (dladdr(&kModuleAnchor, &info) != 0 && info.dli_fname != nullptr) {
        return info.dli_fname;
    }
    return "libtlosses.so";
}

std::string ExecutableDirectory() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0) {
        return {};
    }
    path.resize(static_cast<size_t>(length));
    return path.substr(0, path.find_last_of('/') + 1);
}

// Constructed when the module is loaded, destroyed when it is unloaded.
struct LoadedModule {
    LoadedModule() : module(ModulePath(), ExecutableDirectory()) { Init(); }
    tl::DriverModule module;
};

LoadedModule g_loaded;

tl::DriverModule& Module() {
    return g_loaded.module;
}

// Returned strings live in a buffer per export and thread, valid until that export is called
// again on that thread. The buffers are plain arrays: a thread_local with a destructor would keep
// the module from being unloaded while the thread lives.
using TextBuffer = std::array<char, 128>;

const char* Keep(TextBuffer& buffer, std::string_view utf8) noexcept {
    try {
        const std::string text = tl::Utf8ToCp1251(utf8);
        const size_t length = std::min(text.size(), buffer.size() - 1);
        std::memcpy(buffer.data(), text.data(), length);
        buffer[length] = '\0';
    } catch (...) {
        buffer[0] = '\0';
    }
    return buffer.data();
}

const char* DecodeResult(TextBuffer& buffer, int32_t code) noexcept {
    try {
        return Keep(buffer, tl::ResultText(code));
    } catch (...) {
        buffer[0] = '\0';
        return buffer.data();
    }
}

} // namespace

extern "C" {

void InitDriver(TlHostService* service) {
    try {
        Module().InitDriver(service);
    } catch (...) {
    }
}

void DeInitDriver(void) {
    try {
        Module().DeInitDriver();
    } catch (...) {
    }
}

const char* GetFunctionName(void) {
    thread_local TextBuffer buffer;
    return Keep(buffer, "Расчёт потерь электроэнергии");
}

bool GetDBAccessNecessity(void) {
    return true;
}

void ShowSpecificDataDialog(int32_t ignored, const char* task_key) {
    ShowSpecificDataDialogEx(ignored, task_key);
}

bool ShowSpecificDataDialogEx(int32_t /*ignored*/, const char* task_key) {
    try {
        return Module().ShowSettingsDialog(task_key != nullptr ? task_key : "");
    } catch (...) {
        return false;
    }
}

void StartAction(const char* task_key, int32_t task_id) {
    try {
        Module().StartAction(task_key != nullptr ? task_key : "", task_id);
    } catch (...) {
    }
}

void StopAction(int32_t /*ignored*/, int32_t task_id) {
    try {
        Module().StopAction(task_id);
    } catch (...) {
    }
}

const char* GetStartActionDecodeResult(int32_t code) {
    thread_local TextBuffer buffer;
    return DecodeResult(buffer, code);
}

const char* GetStopActionDecodeResult(int32_t code) {
    thread_local TextBuffer buffer;
    return DecodeResult(buffer, code);
}

} // extern "C"
