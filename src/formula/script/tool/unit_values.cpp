#include "unit_values.hpp"

#include "tlcommon/iso_date_time.hpp"
#include "tldata/pass_names.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace tl::tool {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsCall(std::string_view text) {
    const size_t open = text.find('(');
    if (open == 0 || open == std::string_view::npos || !text.ends_with(')')) {
        return false;
    }
    const std::string_view name = Trim(text.substr(0, open));
    return !name.empty() && !std::isdigit(static_cast<unsigned char>(name.front())) &&
           std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

} // namespace

void ReadUnitLine(std::string_view line, const std::string& place, UnitInputs& inputs) {
    line = Trim(line.substr(0, line.find('#')));
    if (line.empty()) {
        return;
    }
    const size_t equals = line.rfind('=');
    if (equals == std::string_view::npos) {
        throw UnitValueError(place + ": expected NAME = VALUE, e.g. W2(100, 0, 5) = 50");
    }
    const std::string_view name = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (name == "interval") {
        const auto pass = PassOfName(value);
        if (!pass) {
            throw UnitValueError(place + ": unknown interval \"" + std::string(value) + "\"; one of " +
                                 std::string(PassNameList()));
        }
        inputs.pass = *pass;
        return;
    }
    if (name == "time") {
        const auto time = ParseIsoDateTime(value);
        if (!time) {
            throw UnitValueError(place + ": \"" + std::string(value) +
                                 "\" is not a date-time yyyy-mm-dd hh:nn[:ss]");
        }
        inputs.time = *time;
        return;
    }
    if (!IsCall(name)) {
        throw UnitValueError(place + ": \"" + std::string(name) +
                             "\" is neither interval, time nor a call such as W2(100, 0, 5)");
    }
    std::string number(value);
    std::replace(number.begin(), number.end(), ',', '.');
    double parsed = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
        !std::isfinite(parsed)) {
        throw UnitValueError(place + ": \"" + std::string(value) + "\" is not a number");
    }
    inputs.calls.push_back({std::string(name), parsed, place});
}

void ReadUnitLines(std::string_view text, const std::string& name, UnitInputs& inputs) {
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        ReadUnitLine(text.substr(0, end), name + ":" + std::to_string(++number), inputs);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
}

} // namespace tl::tool
