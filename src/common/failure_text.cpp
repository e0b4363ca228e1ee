#include "tlcommon/failure_text.hpp"

#include <new>

namespace tl {

std::string FailureText(const std::exception& error) {
    if (const auto* localized = dynamic_cast<const LocalizedError*>(&error)) {
        return localized->what();
    }
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return "Недостаточно памяти";
    }
    if (dynamic_cast<const std::out_of_range*>(&error) != nullptr ||
        dynamic_cast<const std::length_error*>(&error) != nullptr) {
        return "Выход за границы допустимого диапазона";
    }
    if (dynamic_cast<const std::invalid_argument*>(&error) != nullptr) {
        return "Недопустимое значение аргумента";
    }
    if (dynamic_cast<const std::logic_error*>(&error) != nullptr) {
        return "Нарушен порядок работы драйвера";
    }
    if (dynamic_cast<const std::runtime_error*>(&error) != nullptr) {
        return "Ошибка времени выполнения";
    }
    return UnknownFailureText();
}

std::string UnknownFailureText() {
    return "Непредвиденное исключение";
}

} // namespace tl
