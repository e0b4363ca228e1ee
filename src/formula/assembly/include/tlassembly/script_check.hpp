// The syntax check of a formula or of the common script, as the settings dialogs run it before
// saving a task.
#pragma once

#include "tlscript/engine.hpp"
#include "tlscript/messages.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace tl {

// Compiles the check script (see BuildCheckScript) with `engine`. True when it compiles or is
// empty; otherwise false with every compiler message in `messages` (cleared first).
bool CheckScriptMessages(const script::Engine& engine, std::string_view common_script,
                         std::string_view formula, bool wrap, std::vector<script::Message>& messages);

// The same with the messages in their one-line forms ("Синтаксическая ошибка: ... [строка: 2,
// столбец: 5]"), as the formula editor lists them.
bool CheckScript(const script::Engine& engine, std::string_view common_script, std::string_view formula,
                 bool wrap, std::vector<std::string>& messages);

} // namespace tl
