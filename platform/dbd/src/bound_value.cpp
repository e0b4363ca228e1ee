#include "bound_value.hpp"

#include "tlplatform/db_connection.hpp"

#include <bit>
#include <fmt/format.h>

namespace tl::db {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

BoundValue BindVariant(const TlVariant& value) {
    BoundValue out;
    switch (value.kind) {
    case TL_VT_NULL:
        break;
    case TL_VT_INT32:
        out.kind = BoundValue::Kind::Integer;
        out.integer = value.v.i32;
        break;
    case TL_VT_INT64:
        out.kind = BoundValue::Kind::Integer;
        out.integer = value.v.i64;
        break;
    case TL_VT_BOOL:
        out.kind = BoundValue::Kind::Integer;
        out.integer = value.v.boolean != 0 ? 1 : 0;
        break;
    case TL_VT_DOUBLE:
        out.kind = BoundValue::Kind::Real;
        out.real = value.v.f64;
        break;
    case TL_VT_DATETIME:
        out.kind = BoundValue::Kind::Real;
        out.real = value.v.date_time;
        break;
    case TL_VT_STRING:
        if (value.v.str != nullptr) {
            out.kind = BoundValue::Kind::Text;
            out.text = value.v.str;
        }
        break;
    default:
        throw Error(fmt::format("unknown variant kind {}", value.kind));
    }
    return out;
}

bool IsStatusColumn(std::string_view column) {
    return EqualsIgnoringAsciiCase(column, "tvkstatus");
}

BoundValue BindStatusWord(const TlVariant& value) {
    if (value.kind == TL_VT_DOUBLE) {
        BoundValue out;
        out.kind = BoundValue::Kind::Integer;
        out.integer = std::bit_cast<int64_t>(value.v.f64);
        return out;
    }
    return BindVariant(value);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsPlainIdentifier(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) {
            return false;
        }
    }
    return true;
}

} // namespace tl::db
