#include "types.hpp"

#include "runtime.hpp"
#include "tlscript/function_registry.hpp"

#include <fmt/format.h>
#include <memory>

namespace tl::script {
namespace {

Type MakeScalar(TypeKind kind, const char* name, int64_t slots = 1, bool managed = false) {
    Type type;
    type.kind = kind;
    type.name = name;
    type.slots = slots;
    type.managed = managed;
    return type;
}

const Type kError = MakeScalar(TypeKind::Error, "?");
const Type kVoid = MakeScalar(TypeKind::Void, "Void", 0);
const Type kInteger = MakeScalar(TypeKind::Integer, "Integer");
const Type kFloat = MakeScalar(TypeKind::Float, "Float");
const Type kString = MakeScalar(TypeKind::String, "String", 1, true);
const Type kChar = MakeScalar(TypeKind::Char, "Char");
const Type kBoolean = MakeScalar(TypeKind::Boolean, "Boolean");
const Type kVariant = MakeScalar(TypeKind::Variant, "Variant", 2, true);
const Type kNil = MakeScalar(TypeKind::Nil, "Nil");

struct ClassTable {
    std::vector<std::unique_ptr<Type>> owned;
    std::vector<const Type*> all;
    std::vector<std::string> lower_names;
    const Type* Add(const char* name, const Type* parent) {
        auto type = std::make_unique<Type>(MakeScalar(TypeKind::Class, name, 1, true));
        type->parent = parent;
        all.push_back(type.get());
        lower_names.push_back(LowerAscii(name));
        owned.push_back(std::move(type));
        return all.back();
    }
    ClassTable() {
        const Type* exception = Add("Exception", nullptr);
        const Type* math = Add("EMathError", exception);
        Add("EZeroDivide", math);
        Add("EInvalidOp", math);
        Add("EOverflow", math);
        const Type* int_error = Add("EIntError", exception);
        Add("EDivByZero", int_error);
        Add("ERangeError", int_error);
        Add("EConvertError", exception);
        Add("EInvalidCast", exception);
        Add("EStackOverflow", exception);
        Add("EVariantError", exception);
        Add("ETimeout", exception);
    }
};

const ClassTable& ClassTableInstance() {
    static const ClassTable table;
    return table;
}

} // namespace

const Field* Type::FindField(std::string_view lower_name) const {
    for (const Field& field : fields) {
        if (field.lower == lower_name) {
            return &field;
        }
    }
    return nullptr;
}

bool Type::DescendsFrom(const Type* cls) const {
    for (const Type* t = this; t != nullptr; t = t->parent) {
        if (t == cls) {
            return true;
        }
    }
    return false;
}

const Type* BuiltinTypes::Error() {
    return &kError;
}
const Type* BuiltinTypes::Void() {
    return &kVoid;
}
const Type* BuiltinTypes::Integer() {
    return &kInteger;
}
const Type* BuiltinTypes::Float() {
    return &kFloat;
}
const Type* BuiltinTypes::String() {
    return &kString;
}
const Type* BuiltinTypes::Char() {
    return &kChar;
}
const Type* BuiltinTypes::Boolean() {
    return &kBoolean;
}
const Type* BuiltinTypes::Variant() {
    return &kVariant;
}
const Type* BuiltinTypes::Nil() {
    return &kNil;
}
const Type* BuiltinTypes::Exception() {
    return ClassTableInstance().all.front();
}
const std::vector<const Type*>& BuiltinTypes::Classes() {
    return ClassTableInstance().all;
}

const Type* BuiltinTypes::FindClass(std::string_view lower_name) {
    const ClassTable& table = ClassTableInstance();
    for (size_t i = 0; i < table.all.size(); ++i) {
        if (table.lower_names[i] == lower_name) {
            return table.all[i];
        }
    }
    return nullptr;
}

const Type* BuiltinTypes::FindScalar(std::string_view n) {
    if (n == "integer" || n == "longint" || n == "cardinal" || n == "word" || n == "byte" ||
        n == "smallint" || n == "shortint" || n == "longword") {
        return &kInteger;
    }
    if (n == "float" || n == "double" || n == "extended" || n == "real" || n == "single" || n == "currency" ||
        n == "tdatetime" || n == "datetime" || n == "tdate" || n == "ttime") {
        return &kFloat;
    }
    if (n == "string" || n == "ansistring" || n == "shortstring" || n == "widestring" ||
        n == "unicodestring") {
        return &kString;
    }
    if (n == "char" || n == "ansichar" || n == "widechar") {
        return &kChar;
    }
    if (n == "boolean") {
        return &kBoolean;
    }
    if (n == "variant" || n == "olevariant") {
        return &kVariant;
    }
    return nullptr;
}

const Type* BuiltinTypes::FromValueType(ValueType type) {
    switch (type) {
    case ValueType::Void:
        return &kVoid;
    case ValueType::Integer:
        return &kInteger;
    case ValueType::Float:
        return &kFloat;
    case ValueType::String:
        return &kString;
    case ValueType::Boolean:
        return &kBoolean;
    case ValueType::Char:
        return &kChar;
    case ValueType::Variant:
        return &kVariant;
    }
    return &kError;
}

std::string TypeName(const Type* type) {
    if (type->kind == TypeKind::Array && type->name.empty()) {
        return fmt::format("array [{}..{}] of {}", type->low, type->high, TypeName(type->element));
    }
    if (type->name.empty()) {
        return type->kind == TypeKind::Record ? "record" : "?";
    }
    return type->name;
}

void ReleaseValue(const Type* type, Slot* slots) {
    switch (type->kind) {
    case TypeKind::String:
        StrRelease(slots->s);
        slots->s = nullptr;
        break;
    case TypeKind::Variant:
        VariantClear(slots);
        break;
    case TypeKind::Class:
        ObjRelease(slots->o);
        slots->o = nullptr;
        break;
    case TypeKind::Array:
        if (type->element->managed) {
            for (int64_t i = 0; i < type->Count(); ++i) {
                ReleaseValue(type->element, slots + i * type->element->slots);
            }
        }
        break;
    case TypeKind::Record:
        for (const Field& field : type->fields) {
            if (field.type->managed) {
                ReleaseValue(field.type, slots + field.offset);
            }
        }
        break;
    default:
        break;
    }
}

void CopyValue(const Type* type, Slot* dst, const Slot* src) {
    if (dst == src) {
        return;
    }
    switch (type->kind) {
    case TypeKind::String:
        StrAddRef(src->s);
        StrRelease(dst->s);
        dst->s = src->s;
        break;
    case TypeKind::Variant:
        VariantCopy(dst, src);
        break;
    case TypeKind::Class:
        ObjAddRef(src->o);
        ObjRelease(dst->o);
        dst->o = src->o;
        break;
    case TypeKind::Array:
        if (!type->element->managed) {
            std::copy(src, src + type->slots, dst);
        } else {
            for (int64_t i = 0; i < type->Count(); ++i) {
                CopyValue(type->element, dst + i * type->element->slots, src + i * type->element->slots);
            }
        }
        break;
    case TypeKind::Record:
        for (const Field& field : type->fields) {
            CopyValue(field.type, dst + field.offset, src + field.offset);
        }
        break;
    default:
        *dst = *src;
        break;
    }
}

} // namespace tl::script
