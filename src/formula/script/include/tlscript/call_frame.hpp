// What a native function (built-in or registered by the host) sees of one call: its arguments by
// position, its result, the tag it was registered with, and the running program.
//
// Strings inside a running script are Windows-1251 bytes, one byte a character. A host function
// reads and returns UTF-8 through String, Text, ReturnString and SetStringRef, and raises with
// UTF-8 texts; the built-in library works on the bytes themselves through Bytes, ReturnBytes and
// SetBytesRef. A Char is a Windows-1251 code either way.
#pragma once

#include "tlscript/value.hpp"

#include <cstdint>
#include <forward_list>
#include <string>
#include <string_view>

namespace tl::script {

class ExecContext;
struct FunctionDef;

class CallFrame {
public:
    CallFrame(Slot* args, int arg_count, Slot* result, const FunctionDef* def, ExecContext* ctx, int32_t line,
              int32_t column, int32_t file)
        : args_(args), result_(result), def_(def), ctx_(ctx), arg_count_(arg_count), line_(line),
          column_(column), file_(file) {}

    int ArgCount() const { return arg_count_; }

    // Value arguments.
    int32_t Int(int index) const { return args_[index].i; }
    double Float(int index) const { return args_[index].f; }
    bool Bool(int index) const { return args_[index].i != 0; }
    char Char(int index) const { return static_cast<char>(args_[index].i); }
    // UTF-8; the view stays valid until the function returns.
    std::string_view String(int index) const;
    std::string_view Bytes(int index) const { return StrView(args_[index].s); }
    // A Variant argument, or any argument, in its printed form (UTF-8).
    std::string Text(int index) const;

    // var arguments: the caller's storage.
    int32_t& IntRef(int index) { return args_[index].ref->i; }
    double& FloatRef(int index) { return args_[index].ref->f; }
    std::string_view BytesRef(int index) const { return StrView(args_[index].ref->s); }
    void SetStringRef(int index, std::string_view utf8);
    void SetBytesRef(int index, std::string_view bytes);
    // The caller's string, unshared, for changes in place; nullptr for an empty string.
    char* MutableBytesRef(int index);

    // A result left unset reads 0, empty or False.
    void ReturnInt(int32_t value) { result_->i = value; }
    void ReturnFloat(double value) { result_->f = value; }
    void ReturnBool(bool value) { result_->i = value ? 1 : 0; }
    void ReturnChar(char value) { result_->i = static_cast<unsigned char>(value); }
    void ReturnString(std::string_view utf8);
    void ReturnBytes(std::string_view bytes);

    // The registration this call serves: one handler may serve several names.
    const FunctionDef& Function() const { return *def_; }
    intptr_t Tag() const;
    void* UserData() const;

    // Adds a general error to the running program and marks it as having execution errors;
    // execution goes on.
    void AddError(std::string_view text);
    // Raises a script exception that a script's try-except can catch; the text is UTF-8.
    [[noreturn]] void Raise(std::string_view text) const;
    // Raises with a class of the standard exception set ("EConvertError", "EZeroDivide", ...).
    [[noreturn]] void RaiseClass(std::string_view class_name, std::string_view text) const;

    char DecimalSeparator() const;
    ExecContext& Context() { return *ctx_; }

private:
    Slot* args_;
    Slot* result_;
    const FunctionDef* def_;
    ExecContext* ctx_;
    int arg_count_;
    int32_t line_;
    int32_t column_;
    int32_t file_;
    // UTF-8 forms of non-ASCII String arguments handed out by String().
    mutable std::forward_list<std::string> utf8_;
};

} // namespace tl::script
