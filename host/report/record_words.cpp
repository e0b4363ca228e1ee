#include "tlreport/record_words.hpp"

#include "tlparams/sensor_types.hpp"

#include <fmt/format.h>

namespace tl::report {

std::vector<std::string> DescribeCoefficients(const TMethod1Obj& r) {
    std::vector<std::string> words;
    words.push_back(fmt::format("channel {} ({}), paired with item {} ({})", r.SensorType,
                                SensorTypeName(r.SensorType), r.SecondarySensor,
                                SensorTypeName(r.SecondarySensorType)));
    if (r.InLine) {
        words.push_back(fmt::format("line losses: r0 {} Ohm/km, length {} km, U work {} kV, U nominal {} kV, "
                                    "corona {} thousand kW·h/year{}, "
                                    "insulators {} thousand kW·h/km/year",
                                    r.r0, r.l, r.UWork, r.UNominal, r.Wkor,
                                    r.WkorMode == 0 ? " per km" : " for the line", r.Wiz));
    } else {
        words.push_back("line losses: off");
    }
    if (r.InTransf) {
        words.push_back(
            fmt::format("transformer losses: no-load {} kW, short-circuit {} kW, no-load current {} %, "
                        "short-circuit voltage {} %, rated power {} kV·A",
                        r.Pxx, r.Pkz, r.Ixx, r.Ukz, r.Strnom));
    } else {
        words.push_back("transformer losses: off");
    }
    if (r.NotCalcState) {
        const bool input = r.StateObjType == 97;
        words.push_back(fmt::format("not calculated while {} {}{} ({}) is in state {}{}",
                                    input ? "discrete input" : "measurement object", r.StateObjCode,
                                    input ? fmt::format(".{}", r.StateItem) : std::string(), r.StateObjText,
                                    r.StateValue, r.StateText.empty() ? "" : " (" + r.StateText + ")"));
    }
    return words;
}

} // namespace tl::report
