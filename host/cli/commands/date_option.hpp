// Date-time options of the commands: "yyyy-mm-dd" or "yyyy-mm-dd hh:nn[:ss[.zzz]]", local time.
#pragma once

#include "tlcommon/iso_date_time.hpp"

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

namespace tl::host {

inline std::optional<DateTime> ParseDateOption(const std::string& text) {
    return ParseIsoDateTime(text.size() == 10 ? text + " 00:00" : text);
}

// The option's value must be such a date; a wrong one is a command-line error.
inline CLI::Option* AddDateOption(CLI::App& command, const std::string& name, std::string& value,
                                  const std::string& description) {
    return command.add_option(name, value, description + " (yyyy-mm-dd[ hh:nn[:ss]])")
        ->check(CLI::Validator(
            [](std::string& text) {
                return ParseDateOption(text) ? std::string()
                                             : "not a date-time yyyy-mm-dd[ hh:nn[:ss]]: " + text;
            },
            "DATE"));
}

} // namespace tl::host
