// Errors of the host itself (a driver that cannot be loaded, a missing database, a bad task key):
// reported to the user, never passed into the driver.
#pragma once

#include <stdexcept>

namespace tl::host {

class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tl::host
