#include "tldriver/result_codes.hpp"

#include "tlcommon/failure_text.hpp"
#include "tlsettings/svc_config.hpp"

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

std::string FailureLine(const std::exception& error) {
    // The settings service's own texts are the host's English ones.
    const std::string text = dynamic_cast<const SvcConfigError*>(&error) != nullptr
                                 ? std::string("Ошибка службы настроек")
                                 : FailureText(error);
    return fmt::format("{}: {}", ResultText(kResultInternalError), text);
}

std::string FailureLine() {
    return fmt::format("{}: {}", ResultText(kResultInternalError), UnknownFailureText());
}

} // namespace tl
