// A value of a named field or query parameter on the C++ side: one of the kinds of TlVariant, with
// string values held as UTF-8 text of their own.
#pragma once

#include "tlosses/abi.h"

#include <cstdint>
#include <string>

namespace tl {

class Variant {
public:
    Variant() = default; // null

    static Variant Int32(int32_t value);
    static Variant Int64(int64_t value);
    static Variant Double(double value);
    static Variant DateTime(double days);
    static Variant Bool(bool value);
    static Variant String(std::string utf8);

    TlVariantKind Kind() const { return kind_; }
    bool IsNull() const { return kind_ == TL_VT_NULL; }
    int32_t AsInt32() const { return i32_; }
    int64_t AsInt64() const { return i64_; }
    // The double of a Double or DateTime value.
    double AsDouble() const { return f64_; }
    bool AsBool() const { return i32_ != 0; }
    const std::string& Text() const { return text_; }

    friend bool operator==(const Variant& a, const Variant& b);

private:
    TlVariantKind kind_ = TL_VT_NULL;
    union {
        int32_t i32_;
        int64_t i64_ = 0;
        double f64_;
    };
    std::string text_;
};

// The TlVariant form of a non-string value (str stays null for strings: their bytes live elsewhere).
TlVariant ToAbiScalar(const Variant& value);
// A Variant from a TlVariant whose string, if any, is in `string_is_cp1251` ? Windows-1251 : UTF-8.
Variant FromAbi(const TlVariant& value, bool string_is_cp1251);

} // namespace tl
