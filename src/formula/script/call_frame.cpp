#include "tlscript/call_frame.hpp"

#include "ansi_text.hpp"
#include "float_format.hpp"
#include "runtime.hpp"
#include "tlscript/function_registry.hpp"

#include <fmt/format.h>

namespace tl::script {
namespace {

void Store(StrRep*& target, std::string_view bytes) {
    StrRep* rep = bytes.empty() ? nullptr : StrCreate(bytes);
    StrRelease(target);
    target = rep;
}

} // namespace

std::string_view CallFrame::String(int index) const {
    std::string_view bytes = Bytes(index);
    if (IsAscii(bytes)) {
        return bytes;
    }
    utf8_.push_front(ToUtf8(bytes));
    return utf8_.front();
}

std::string CallFrame::Text(int index) const {
    switch (def_->params[static_cast<size_t>(index)].type) {
    case ValueType::Integer:
        return fmt::format("{}", Int(index));
    case ValueType::Float:
        return FloatToText(Float(index), ctx_->decimal_separator);
    case ValueType::String:
        return ToUtf8(Bytes(index));
    case ValueType::Boolean:
        return Bool(index) ? "True" : "False";
    case ValueType::Char: {
        char c = Char(index);
        return ToUtf8(std::string_view(&c, 1));
    }
    case ValueType::Variant:
        return ToUtf8(VariantText(args_[index].ref, ctx_->decimal_separator));
    case ValueType::Void:
        break;
    }
    return {};
}

void CallFrame::SetStringRef(int index, std::string_view utf8) {
    Store(args_[index].ref->s, ToCp1251(utf8));
}

void CallFrame::SetBytesRef(int index, std::string_view bytes) {
    Store(args_[index].ref->s, bytes);
}

char* CallFrame::MutableBytesRef(int index) {
    Slot* slot = args_[index].ref;
    Str s = Str::Adopt(slot->s);
    slot->s = nullptr;
    char* data = s.MutableData();
    slot->s = s.Release();
    return data;
}

void CallFrame::ReturnString(std::string_view utf8) {
    Store(result_->s, ToCp1251(utf8));
}

void CallFrame::ReturnBytes(std::string_view bytes) {
    Store(result_->s, bytes);
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
    ctx_->Raise(BuiltinTypes::Exception(), ToCp1251(text), SourcePos{line_, column_, file_});
}

void CallFrame::RaiseClass(std::string_view class_name, std::string_view text) const {
    ctx_->RaiseClass(class_name, ToCp1251(text), SourcePos{line_, column_, file_});
}

char CallFrame::DecimalSeparator() const {
    return ctx_->decimal_separator;
}

} // namespace tl::script
