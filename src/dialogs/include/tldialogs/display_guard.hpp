// Whether a Qt application made now could reach a screen. Without one Qt aborts the whole process
// while it creates its application, so the driver (before it loads Qt) and the dialogs library
// (before it makes an application of its own) both refuse instead.
#pragma once

#include <cstdlib>
#include <string_view>

namespace tl::dialogs {

// Platforms that need no display server.
inline bool HeadlessPlatform(std::string_view name) {
    return name == "offscreen" || name == "minimal" || name == "vnc";
}

// DISPLAY or WAYLAND_DISPLAY is set, or QT_QPA_PLATFORM names (among its ';'-separated fallbacks,
// each possibly followed by ":options") a platform that needs no display server.
inline bool DisplayAvailable() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && value[0] != '\0';
    };
    if (set("DISPLAY") || set("WAYLAND_DISPLAY")) {
        return true;
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::string_view rest = platform != nullptr ? platform : "";
    while (!rest.empty()) {
        const size_t end = rest.find(';');
        const std::string_view entry = rest.substr(0, end);
        if (HeadlessPlatform(entry.substr(0, entry.find(':')))) {
            return true;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

// The status line that says why no dialog was shown.
inline constexpr std::string_view kNoDisplayLine =
    "Диалог настроек не открыт: нет графического дисплея (не заданы DISPLAY и WAYLAND_DISPLAY, "
    "QT_QPA_PLATFORM не выбирает offscreen)";

} // namespace tl::dialogs
