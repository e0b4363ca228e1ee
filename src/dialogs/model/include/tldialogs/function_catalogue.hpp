// The side panel "Доступные функции" of the formula editor: four groups of script functions with
// their descriptions and parameter lines, and what a double-click inserts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tl::dialogs {

struct FunctionEntry {
    std::string description; // "Синус"
    std::string name;        // the script name, "Sin"
    // Lines of "#Name - meaning" (and free lines), joined by CR LF; empty: no arguments.
    std::string parameters;
    // What a double-click inserts when it is not name(parameters): the momentary quantities that
    // are no function of their own are reached through M.
    std::string insertion;
};

struct FunctionGroup {
    std::string caption;
    std::vector<FunctionEntry> entries;
};

// "Расчет потерь", "Математические", "Мгновенные величины", "Дополнительные".
const std::vector<FunctionGroup>& FunctionCatalogue();

// "(%d) %s (%s)": position from 1, description, script name.
std::string EntryText(size_t position, const FunctionEntry& entry);
// The script name, "(", the parameter names of the lines that begin with "#" (the text between
// "#" and the first "-", trimmed) joined by ", ", and ")": "W2(ObjCode, ObjType, ObjItem)", "T()".
std::string InsertionText(const FunctionEntry& entry);
// "Параметры:" and the description with every "#" removed, or "Нет аргументов".
std::string DescriptionText(const FunctionEntry& entry);
inline constexpr std::string_view kNoFunctionSelected = "Выберите функцию";

} // namespace tl::dialogs
