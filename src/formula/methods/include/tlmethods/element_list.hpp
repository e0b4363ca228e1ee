// Reading the elements to calculate from a task's element section: one key per element
// ("object.type.item"), its value the element's parameter record. An element whose key or record
// is bad is reported and left out; the others are read.
#pragma once

#include "tlcommon/failure_text.hpp"
#include "tldata/item_filter.hpp"
#include "tlmethods/calc_objects.hpp"
#include "tlmethods/run_report.hpp"
#include "tlsettings/svc_config.hpp"

#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace tl {

// A failure of one element key or record; its text goes to the run log as the description.
class ElementReadError : public LocalizedError {
public:
    using LocalizedError::LocalizedError;
};

// The address of an element key: "." and "," both separate the parts, parts 1..3 are the object
// code, element type and item, a part that is no integer reads as -1, further parts are ignored.
// Fewer than three parts fail with the list's index error, an address with a -1 in it with
// "Не удалось определить код элемента!".
ElementAddress ParseElementKeyParts(std::string_view key);

// The record of `method` (0 coefficient record, 1 element formula) parsed from `text`; throws
// ElementReadError when the text is no record of that method.
std::unique_ptr<TCustomObjParams> ParseElementRecord(int method, std::string_view text);

// Reads every key of `element_section` in the service's listing order into `objects` and the
// element addresses into `filter`, logging each element and each failure. Returns the number of
// elements read.
int32_t ReadElementList(TSvcConfig& config, std::string_view element_section, int method, RunReport& report,
                        TCalcObjects& objects, TSQLItemParamContainer& filter);

} // namespace tl
