// Result codes of a task step, and their texts as the host shows them.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace tl {

inline constexpr int32_t kResultWaiting = -1; // the task waits for a query; never posted
inline constexpr int32_t kResultSuccess = 0;
inline constexpr int32_t kResultNoConnection = 1;
inline constexpr int32_t kResultBadScenario = 2;
inline constexpr int32_t kResultBadDescription = 3;
inline constexpr int32_t kResultNotCalculated = 4;
inline constexpr int32_t kResultInterrupted = 5;
inline constexpr int32_t kResultInternalError = 6;

// UTF-8 text of a code; codes without a text of their own read "Код возврата N".
std::string ResultText(int32_t code);

// The final status line of a run: "Статус выполнения: " and the text of its code.
std::string FinalStatusLine(int32_t code);

// "Внутренняя ошибка: " and the Russian text of the failure that ended a step with code 6 (or kept
// a task from being made): the log line, and the status line of a failed StartAction.
std::string FailureLine(const std::exception& error);
// The same for an exception of no standard kind.
std::string FailureLine();

} // namespace tl
