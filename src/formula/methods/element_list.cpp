#include "tlmethods/element_list.hpp"

#include "tlcommon/format_settings.hpp"
#include "tlparams/method1_obj.hpp"

#include <algorithm>
#include <exception>
#include <fmt/format.h>
#include <string>
#include <vector>

namespace tl {
namespace {

constexpr int32_t kUnknownPart = -1;

std::vector<std::string_view> SplitKey(std::string_view key) {
    std::vector<std::string_view> parts;
    if (key.empty()) {
        return parts;
    }
    size_t start = 0;
    while (true) {
        const size_t end = key.find_first_of(".,", start);
        parts.push_back(key.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

int32_t PartAt(const std::vector<std::string_view>& parts, size_t index) {
    if (index >= parts.size()) {
        throw ElementReadError(fmt::format("Индекс списка вне границ ({})", index));
    }
    return ParseIntStrict(parts[index]).value_or(kUnknownPart);
}

size_t FieldCount(std::string_view text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), ';')) + 1;
}

} // namespace

ElementAddress ParseElementKeyParts(std::string_view key) {
    const std::vector<std::string_view> parts = SplitKey(key);
    const ElementAddress address{PartAt(parts, 0), PartAt(parts, 1), PartAt(parts, 2)};
    if (address.object == kUnknownPart || address.type == kUnknownPart || address.item == kUnknownPart) {
        throw ElementReadError("Не удалось определить код элемента!");
    }
    return address;
}

std::unique_ptr<TCustomObjParams> ParseElementRecord(int method, std::string_view text) {
    std::unique_ptr<TCustomObjParams> params = CreateObjParams(method);
    std::string why;
    auto* coefficients = dynamic_cast<TMethod1Obj*>(params.get());
    const bool parsed =
        coefficients != nullptr ? coefficients->Parse(text, &why) : params->LoadFromText(text);
    if (parsed) {
        return params;
    }
    // A record of the right shape whose field does not convert fails with the conversion's own
    // text; any other refusal is a record that is not one.
    const size_t fields = FieldCount(text);
    if (coefficients != nullptr && !why.empty() &&
        (fields == TMethod1Obj::kFieldCount || fields == TMethod1Obj::kFieldCount - 1)) {
        throw ElementReadError(why);
    }
    throw ElementReadError(fmt::format("Некорректное описание параметров объекта: {}", text));
}

int32_t ReadElementList(TSvcConfig& config, std::string_view element_section, int method, RunReport& report,
                        TCalcObjects& objects, TSQLItemParamContainer& filter) {
    report.LogLine("");
    report.LogLine("------------Чтение перечня элементов скрипта-------------------");
    for (const std::string& key : config.ReadSection(element_section)) {
        try {
            const ElementAddress address = ParseElementKeyParts(key);
            const std::string record = config.ReadString(element_section, key, "");
            std::unique_ptr<TCustomObjParams> params = ParseElementRecord(method, record);
            if (!objects.Add(address, std::move(params))) {
                throw ElementReadError(fmt::format("Элемент {} уже есть в перечне", FormatAddress(address)));
            }
            report.LogLine("----");
            report.LogLine(fmt::format("+ {}", FormatAddress(address)));
            report.LogLine("Параметры:");
            report.LogLine(record);
            filter.Add(address);
        } catch (const std::exception& error) {
            const std::string failure = fmt::format("Ошибка при получении списка объектов: {}", key);
            report.LogLine(failure);
            report.LogLine(fmt::format("Описание: {}", FailureText(error)));
            report.SendStatus(failure);
        }
    }
    return objects.Count();
}

} // namespace tl
