#include "tldata/result_reader.hpp"

#include "tlcommon/text_codec.hpp"
#include "tlplatform/dbd.h"

#include <fmt/format.h>
#include <stdexcept>
#include <string>

namespace tl {

ResultReader::ResultReader(TlResultSet* set) : set_(set) {
    if (set_ == nullptr) {
        throw std::invalid_argument("no result set to read");
    }
}

ResultReader::Field ResultReader::Find(std::string_view name) const {
    const std::string text = Utf8ToCp1251(name);
    return Field{set_->vtbl->FieldIndex(set_, text.c_str())};
}

ResultReader::Field ResultReader::Require(std::string_view name) const {
    const Field field = Find(name);
    if (!field.Found()) {
        throw std::runtime_error(fmt::format("the result set has no field {}", name));
    }
    return field;
}

int32_t ResultReader::Checked(Field field) {
    if (!field.Found()) {
        throw std::runtime_error("reading a field the result set does not have");
    }
    return field.index;
}

int64_t ResultReader::StatusWord() const {
    return DBGetStatusInt(set_);
}

} // namespace tl
