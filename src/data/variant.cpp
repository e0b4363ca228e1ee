#include "tldata/variant.hpp"

#include "tlcommon/text_codec.hpp"

#include <utility>

namespace tl {

Variant Variant::Int32(int32_t value) {
    Variant v;
    v.kind_ = TL_VT_INT32;
    v.i64_ = 0;
    v.i32_ = value;
    return v;
}

Variant Variant::Int64(int64_t value) {
    Variant v;
    v.kind_ = TL_VT_INT64;
    v.i64_ = value;
    return v;
}

Variant Variant::Double(double value) {
    Variant v;
    v.kind_ = TL_VT_DOUBLE;
    v.f64_ = value;
    return v;
}

Variant Variant::DateTime(double days) {
    Variant v;
    v.kind_ = TL_VT_DATETIME;
    v.f64_ = days;
    return v;
}

Variant Variant::Bool(bool value) {
    Variant v;
    v.kind_ = TL_VT_BOOL;
    v.i64_ = 0;
    v.i32_ = value ? 1 : 0;
    return v;
}

Variant Variant::String(std::string utf8) {
    Variant v;
    v.kind_ = TL_VT_STRING;
    v.text_ = std::move(utf8);
    return v;
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.kind_ != b.kind_) {
        return false;
    }
    switch (a.kind_) {
    case TL_VT_NULL:
        return true;
    case TL_VT_INT32:
    case TL_VT_BOOL:
        return a.i32_ == b.i32_;
    case TL_VT_INT64:
        return a.i64_ == b.i64_;
    case TL_VT_DOUBLE:
    case TL_VT_DATETIME:
        return a.f64_ == b.f64_;
    case TL_VT_STRING:
        return a.text_ == b.text_;
    }
    return false;
}

TlVariant ToAbiScalar(const Variant& value) {
    TlVariant out{};
    out.kind = value.Kind();
    switch (value.Kind()) {
    case TL_VT_INT32:
        out.v.i32 = value.AsInt32();
        break;
    case TL_VT_BOOL:
        out.v.boolean = value.AsBool() ? 1 : 0;
        break;
    case TL_VT_INT64:
        out.v.i64 = value.AsInt64();
        break;
    case TL_VT_DOUBLE:
        out.v.f64 = value.AsDouble();
        break;
    case TL_VT_DATETIME:
        out.v.date_time = value.AsDouble();
        break;
    case TL_VT_NULL:
    case TL_VT_STRING:
        break;
    }
    return out;
}

Variant FromAbi(const TlVariant& value, bool string_is_cp1251) {
    switch (value.kind) {
    case TL_VT_INT32:
        return Variant::Int32(value.v.i32);
    case TL_VT_INT64:
        return Variant::Int64(value.v.i64);
    case TL_VT_DOUBLE:
        return Variant::Double(value.v.f64);
    case TL_VT_DATETIME:
        return Variant::DateTime(value.v.date_time);
    case TL_VT_BOOL:
        return Variant::Bool(value.v.boolean != 0);
    case TL_VT_STRING: {
        const std::string_view text = value.v.str != nullptr ? value.v.str : "";
        return Variant::String(string_is_cp1251 ? Cp1251ToUtf8(text) : std::string(text));
    }
    default:
        return {};
    }
}

} // namespace tl
