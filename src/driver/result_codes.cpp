#include "tldriver/result_codes.hpp"

#include <array>
#include <fmt/format.h>
#include <string_view>

namespace tl {
namespace {

constexpr std::array<std::string_view, 7> kTexts = {
    "Успешный расчёт",       // 0
    "Нет подключения к БД",  // 1
    "Некорректный сценарий", // 2
    "Некорректное описание", // 3
    "Расчёт не проводился",  // 4
    "Прервано",              // 5
    "Внутренняя ошибка",     // 6
};

} // namespace

std::string ResultText(int32_t code) {
    if (code >= 0 && code < static_cast<int32_t>(kTexts.size())) {
        return std::string(kTexts[static_cast<size_t>(code)]);
    }
    return fmt::format("Код возврата {}", code);
}

std::string FinalStatusLine(int32_t code) {
    return "Статус выполнения: " + ResultText(code);
}

} // namespace tl
