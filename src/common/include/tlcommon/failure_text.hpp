// The texts that status lines and run logs give for a failure. Everything the driver writes there
// is Russian, while the standard library and the platform libraries speak English: their texts
// are replaced by a Russian description of the kind of failure.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace tl {

// An exception whose text is already the system's own and goes to status lines and logs as it
// stands.
class LocalizedError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text of a LocalizedError; for any other exception a Russian text for its kind.
std::string FailureText(const std::exception& error);
// The text for an exception that is no std::exception at all.
std::string UnknownFailureText();

} // namespace tl
