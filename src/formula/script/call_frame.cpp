#include "tlscript/call_frame.hpp"

#include "float_format.hpp"
#include "runtime.hpp"
#include "tlscript/function_registry.hpp"

#include <fmt/format.h>

namespace tl::script {

std::string CallFrame::Text(int index) const {
    switch (def_->params[static_cast<size_t>(index)].type) {
    case ValueType::Integer:
        return fmt::format("{}", Int(index));
    case ValueType::Float:
        return FloatToText(Float(index), ctx_->decimal_separator);
    case ValueType::String:
        return std::string(String(index));
    case ValueType::Boolean:
        return Bool(index) ? "True" : "False";
    case ValueType::Char:
        return std::string(1, Char(index));
    case ValueType::Variant:
        return VariantText(args_[index].ref, ctx_->decimal_separator);
    case ValueType::Void:
        break;
    }
    return {};
}

void CallFrame::SetStringRef(int index, std::string_view text) {
    Slot* slot = args_[index].ref;
    StrRelease(slot->s);
    slot->s = text.empty() ? nullptr : StrCreate(text);
}

void CallFrame::ReturnString(std::string_view text) {
    StrRelease(result_->s);
    result_->s = text.empty() ? nullptr : StrCreate(text);
}

intptr_t CallFrame::Tag() const {
    return def_->tag;
}

void* CallFrame::UserData() const {
    return def_->user;
}

void CallFrame::AddError(std::string_view text) {
    ctx_->AddError(text);
}

void CallFrame::Raise(std::string_view text) const {
    ctx_->Raise(BuiltinTypes::Exception(), text, SourcePos{line_, column_, file_});
}

void CallFrame::RaiseClass(std::string_view class_name, std::string_view text) const {
    ctx_->RaiseClass(class_name, text, SourcePos{line_, column_, file_});
}

char CallFrame::DecimalSeparator() const {
    return ctx_->decimal_separator;
}

} // namespace tl::script
