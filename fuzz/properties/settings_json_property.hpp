// What every input of the settings JSON import must satisfy, shared by the fuzzer and the
// regression test of its inputs.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tl::fuzz {

// A broken property: the fuzzer lets it escape (a crash to libFuzzer), the test reports it.
class PropertyViolation : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Parses `input` as a task-settings document. A refused document gives the refusal text. An
// accepted one gives an empty text after these have held: its JSON form parses back to the same
// document, and written into the settings store (an in-memory database of its own when the
// process has none) it reads back unchanged and without warnings; the task is erased afterwards.
std::string CheckSettingsJsonImport(std::string_view input);

} // namespace tl::fuzz
