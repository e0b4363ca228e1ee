// Native functions and constants that scripts can call by name: the built-in library and the
// units a host registers. Names match without regard to letter case; one name may carry several
// overloads that differ in their parameters.
#pragma once

#include "tlscript/value.hpp"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tl::script {

class CallFrame;
using NativeFunction = void (*)(CallFrame&);

struct ParamSpec {
    ValueType type = ValueType::Integer;
    bool by_ref = false; // a var parameter: the argument must be a variable of exactly this type
};

struct FunctionDef {
    std::string unit;
    std::string name;
    std::vector<ParamSpec> params;
    ValueType result = ValueType::Void;
    NativeFunction fn = nullptr;
    intptr_t tag = 0;
    void* user = nullptr;
};

struct ConstantDef {
    std::string unit;
    std::string name;
    ValueType type = ValueType::Integer;
    int32_t int_value = 0;
    double float_value = 0;
    std::string string_value;
};

class FunctionRegistry {
public:
    // Registration happens before the first compile; the returned definition stays valid.
    const FunctionDef& Add(FunctionDef def);
    void AddConstant(ConstantDef def);
    void AddUnit(std::string_view unit);

    const std::vector<const FunctionDef*>* FindFunction(std::string_view name) const;
    const ConstantDef* FindConstant(std::string_view name) const;
    bool HasUnit(std::string_view unit) const;

private:
    std::deque<FunctionDef> functions_;
    std::deque<ConstantDef> constants_;
    std::unordered_map<std::string, std::vector<const FunctionDef*>> by_name_;
    std::unordered_map<std::string, const ConstantDef*> constants_by_name_;
    std::vector<std::string> units_;
};

std::string LowerAscii(std::string_view text);

} // namespace tl::script
