// Script types and the layout of their values in slots.
#pragma once

#include "tlscript/value.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tl::script {

enum class TypeKind : uint8_t {
    Error,
    Void,
    Integer,
    Float,
    String,
    Char,
    Boolean,
    Variant,
    Array,
    Record,
    Class,
    Nil
};

struct Type;

struct Field {
    std::string name;
    std::string lower;
    const Type* type = nullptr;
    int32_t offset = 0;
};

struct Type {
    TypeKind kind = TypeKind::Error;
    std::string name;
    int64_t slots = 1;    // size of a value in slots
    bool managed = false; // holds counted references that copying and release must follow
    // Array
    const Type* element = nullptr;
    int32_t low = 0;
    int32_t high = -1;
    // Record
    std::vector<Field> fields;
    // Class (exception classes)
    const Type* parent = nullptr;

    int64_t Count() const { return static_cast<int64_t>(high) - low + 1; }
    const Field* FindField(std::string_view lower_name) const;
    bool IsScalar() const {
        return kind == TypeKind::Integer || kind == TypeKind::Float || kind == TypeKind::String ||
               kind == TypeKind::Char || kind == TypeKind::Boolean;
    }
    bool IsAggregate() const { return kind == TypeKind::Array || kind == TypeKind::Record; }
    // A class that is cls or descends from it.
    bool DescendsFrom(const Type* cls) const;
};

// The built-in types, shared by all programs.
struct BuiltinTypes {
    static const Type* Error();
    static const Type* Void();
    static const Type* Integer();
    static const Type* Float();
    static const Type* String();
    static const Type* Char();
    static const Type* Boolean();
    static const Type* Variant();
    static const Type* Nil();
    // The standard exception classes: Exception and the classes run-time errors raise.
    static const Type* Exception();
    static const Type* FindClass(std::string_view lower_name);
    static const std::vector<const Type*>& Classes();
    // Integer, Float, ... by name, including the aliases (Double, Real, TDateTime, ...).
    static const Type* FindScalar(std::string_view lower_name);
    static const Type* FromValueType(ValueType type);
};

// "Integer", "array [1..3] of Float", the declared name of a record or class.
std::string TypeName(const Type* type);

// Storage management of a value of type `type` in `slots`.
void ReleaseValue(const Type* type, Slot* slots);
void CopyValue(const Type* type, Slot* dst, const Slot* src);

} // namespace tl::script
