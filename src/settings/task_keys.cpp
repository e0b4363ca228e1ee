#include "tlsettings/task_keys.hpp"

#include <algorithm>

namespace tl::settings {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

} // namespace

const TaskKey* FindTaskKey(std::string_view name) {
    const auto found = std::ranges::find(kTaskKeys, name, &TaskKey::name);
    return found == kTaskKeys.end() ? nullptr : &*found;
}

const TaskKey* FindTaskKeyIgnoringCase(std::string_view name) {
    const auto found = std::ranges::find_if(
        kTaskKeys, [name](const TaskKey& key) { return EqualIgnoringCase(key.name, name); });
    return found == kTaskKeys.end() ? nullptr : &*found;
}

std::string UpdateFormatKey(int method) {
    return "UpdateFormat" + std::to_string(method);
}

std::string_view KeyTypeName(KeyType type) {
    switch (type) {
    case KeyType::kInteger:
        return "integer";
    case KeyType::kBoolean:
        return "boolean";
    case KeyType::kDateTime:
        return "date-time";
    case KeyType::kString:
        return "string";
    }
    return "unknown";
}

} // namespace tl::settings
