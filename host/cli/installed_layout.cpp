#include "installed_layout.hpp"

#include "tlhost/driver_library.hpp"

#include <filesystem>

namespace tl::host {

std::string DefaultDriverPath() {
    const std::filesystem::path beside = DriverLibrary::DefaultPath();
#ifdef TLHOST_INSTALLED_DRIVER
    std::error_code ec;
    if (!std::filesystem::exists(beside, ec)) {
        const std::filesystem::path installed = beside.parent_path() / TLHOST_INSTALLED_DRIVER;
        if (std::filesystem::exists(installed, ec)) {
            return installed.lexically_normal().string();
        }
    }
#endif
    return beside.string();
}

} // namespace tl::host
