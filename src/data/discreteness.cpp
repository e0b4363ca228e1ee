#include "tldata/discreteness.hpp"

#include <array>

namespace tl {

std::string_view DiscretKindName(uint8_t kind) {
    static constexpr std::array<std::string_view, 9> kNames = {
        "Год", "Квартал", "Месяц", "День", "Час", "Минута", "Секунда", "Фиксированные", "Миллисекунда"};
    const unsigned index = kind & 0x7Fu;
    return index < kNames.size() ? kNames[index] : std::string_view("Не известно");
}

bool IsSupportedMomentaryDiscreteness(const Discreteness& discreteness) {
    switch (discreteness.kind) {
    case DiscretKind::kMinute:
        return discreteness.count >= 1 && discreteness.count <= 30;
    case DiscretKind::kSecond:
        return true;
    default:
        return false;
    }
}

} // namespace tl
