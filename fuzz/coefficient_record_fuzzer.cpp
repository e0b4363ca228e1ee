// libFuzzer target: takes each input as the stored text of an element's coefficient record
// (LoadFromText of the defined-formula method), once with each decimal separator. A refusal must
// say why; an accepted record must store and parse back to a fixed point (see
// properties/coefficient_record_property.hpp).
#include "coefficient_record_property.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)tl::fuzz::CheckCoefficientRecord(text, '.');
    (void)tl::fuzz::CheckCoefficientRecord(text, ',');
    return 0;
}
