#include "tlunit/momentary_names.hpp"

#include <algorithm>
#include <array>
#include <string>

namespace tl {
namespace {

constexpr std::array<std::string_view, kMomentaryCodeCount> kNames = {
    "Pabc",       "Pa",         "Pb",         "Pc",         "Qabc",
    "Qa",         "Qb",         "Qc",         "Sabc",       "Sa",
    "Sb",         "Sc",         "Ua",         "Ub",         "Uc",
    "Ia",         "Ib",         "Ic",         "COSavr",     "COSa",
    "COSb",       "COSc",       "F",          "KUa",        "KUb",
    "KUc",        "Fs",         "Usa",        "Usb",        "Usc",
    "Uab",        "Ubc",        "Uca",        "U1",         "K0I",
    "K2I",        "KIa",        "KIb",        "KIc",        "K0U",
    "K2U",        "KUab",       "KUbc",       "KUca",       "CounterTemperature",
    "Us_1",       "dUc",        "dF",         "dU",         "Uabc",
    "U1_1",       "U2_1",       "U0_1",       "I1_1",       "I2_1",
    "I0_1",       "Iavr",       "Uavr",       "Usab",       "Usbc",
    "Usca",       "U1s",        "KUsa",       "KUsb",       "KUsc",
    "KUsab",      "KUsbc",      "KUsca",      "K0Us",       "K2Us",
    "angleUab",   "angleUbc",   "angleUca",   "BatLvl",     "KQsinavr",
    "KQsina",     "KQsinb",     "KQsinc",     "KQtgavr",    "KQtga",
    "KQtgb",      "KQtgc",      "PCWa",       "PCWb",       "PCWc",
    "PCWn",       "angleIUa",   "angleIUb",   "angleIUc",   "IavrPh",
    "UavrPh",     "IMainHarma", "IMainHarmb", "IMainHarmc", "UMainHarma",
    "UMainHarmb", "UMainHarmc", "GSMQuality"};

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

struct NamedCode {
    std::string upper_name;
    int32_t code = 0;
};

// The names in upper case with their codes, sorted by name for lookup.
const std::array<NamedCode, kMomentaryCodeCount>& ByName() {
    static const std::array<NamedCode, kMomentaryCodeCount> table = [] {
        std::array<NamedCode, kMomentaryCodeCount> sorted;
        for (size_t i = 0; i < kNames.size(); ++i) {
            sorted[i] = {Upper(kNames[i]), static_cast<int32_t>(i) + 1};
        }
        std::sort(sorted.begin(), sorted.end(),
                  [](const NamedCode& a, const NamedCode& b) { return a.upper_name < b.upper_name; });
        return sorted;
    }();
    return table;
}

} // namespace

std::string_view MomentaryName(int32_t code) {
    if (code < 1 || code > kMomentaryCodeCount) {
        return {};
    }
    return kNames[static_cast<size_t>(code) - 1];
}

int32_t MomentaryCode(std::string_view name) {
    const std::string upper = Upper(name);
    const auto& table = ByName();
    const auto found = std::lower_bound(
        table.begin(), table.end(), upper,
        [](const NamedCode& entry, const std::string& key) { return entry.upper_name < key; });
    return found != table.end() && found->upper_name == upper ? found->code : -1;
}

} // namespace tl
