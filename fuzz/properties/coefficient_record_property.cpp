#include "coefficient_record_property.hpp"

#include "tlcommon/format_settings.hpp"
#include "tlparams/method1_obj.hpp"

#include <fmt/format.h>

namespace tl::fuzz {

std::string CheckCoefficientRecord(std::string_view text, char separator) {
    SetSystemDecimalSeparator(separator);
    TMethod1Obj record;
    std::string why;
    const bool parsed = record.Parse(text, &why);
    if (TMethod1Obj().LoadFromText(text) != parsed) {
        throw RecordPropertyViolation("LoadFromText and Parse disagree");
    }
    if (!parsed) {
        if (why.empty()) {
            throw RecordPropertyViolation("a refusal without a reason");
        }
        return why;
    }
    (void)record.IsComplete();
    const std::string stored = record.SaveToText();
    TMethod1Obj again;
    if (!again.Parse(stored, &why)) {
        throw RecordPropertyViolation(fmt::format("the stored form \"{}\" does not parse: {}", stored, why));
    }
    if (again.SaveToText() != stored) {
        throw RecordPropertyViolation(fmt::format("storing the stored form changes it: \"{}\" became \"{}\"",
                                                  stored, again.SaveToText()));
    }
    return {};
}

} // namespace tl::fuzz
