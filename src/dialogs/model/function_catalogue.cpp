#include "tldialogs/function_catalogue.hpp"

#include "tlunit/momentary_names.hpp"

#include <array>
#include <fmt/format.h>

namespace tl::dialogs {
namespace {

constexpr std::string_view kValue = "#Value - значение";
constexpr std::string_view kMomentaryParameters =
    "#ObjCode - код устройства;\r\n#ObjType - тип элемента (99 - "
    "устройство; 98 - подустройство);\r\n#ObjItem - код подустройства "
    "(0, если ObjType = 99);";
constexpr std::string_view kElementParameters =
    "#ObjCode - код устройства;\r\n#ObjType - тип элемента;\r\n#ObjItem - код элемента;";
constexpr std::string_view kChannelParameters = "#ObjCode - код устройства;\r\n#ObjItem - код канала учета;";
constexpr std::string_view kIntervalLength = "#T - длина интервала (ч), 0 - длина текущего интервала;";
constexpr std::string_view kPowerFactor = "#cosf - коэффициент мощности, 0 - принимается 0,85;";

// The momentary quantities by code (1..98), in the order of the momentary name table.
constexpr std::array<std::string_view, kMomentaryCodeCount> kMomentaryDescriptions = {
    "Активная мощность, сумма фаз",
    "Активная мощность, фаза A",
    "Активная мощность, фаза B",
    "Активная мощность, фаза C",
    "Реактивная мощность, сумма фаз",
    "Реактивная мощность, фаза A",
    "Реактивная мощность, фаза B",
    "Реактивная мощность, фаза C",
    "Полная мощность, сумма фаз",
    "Полная мощность, фаза A",
    "Полная мощность, фаза B",
    "Полная мощность, фаза C",
    "Фазное напряжение, фаза A",
    "Фазное напряжение, фаза B",
    "Фазное напряжение, фаза C",
    "Ток, фаза A",
    "Ток, фаза B",
    "Ток, фаза C",
    "Коэффициент мощности, средний",
    "Коэффициент мощности, фаза A",
    "Коэффициент мощности, фаза B",
    "Коэффициент мощности, фаза C",
    "Частота сети",
    "Коэффициент искажения синусоидальности напряжения, фаза A",
    "Коэффициент искажения синусоидальности напряжения, фаза B",
    "Коэффициент искажения синусоидальности напряжения, фаза C",
    "Частота сети, усредненная",
    "Фазное напряжение, усредненное, фаза A",
    "Фазное напряжение, усредненное, фаза B",
    "Фазное напряжение, усредненное, фаза C",
    "Междуфазное напряжение AB",
    "Междуфазное напряжение BC",
    "Междуфазное напряжение CA",
    "Напряжение прямой последовательности",
    "Коэффициент несимметрии токов по нулевой последовательности",
    "Коэффициент несимметрии токов по обратной последовательности",
    "Коэффициент искажения синусоидальности тока, фаза A",
    "Коэффициент искажения синусоидальности тока, фаза B",
    "Коэффициент искажения синусоидальности тока, фаза C",
    "Коэффициент несимметрии напряжений по нулевой последовательности",
    "Коэффициент несимметрии напряжений по обратной последовательности",
    "Коэффициент искажения синусоидальности междуфазного напряжения AB",
    "Коэффициент искажения синусоидальности междуфазного напряжения BC",
    "Коэффициент искажения синусоидальности междуфазного напряжения CA",
    "Температура счетчика",
    "Установившееся напряжение",
    "Размах изменения напряжения",
    "Отклонение частоты",
    "Отклонение напряжения",
    "Напряжение, среднее по трем фазам",
    "Напряжение прямой последовательности основной частоты",
    "Напряжение обратной последовательности основной частоты",
    "Напряжение нулевой последовательности основной частоты",
    "Ток прямой последовательности основной частоты",
    "Ток обратной последовательности основной частоты",
    "Ток нулевой последовательности основной частоты",
    "Ток, средний",
    "Напряжение, среднее",
    "Междуфазное напряжение AB, усредненное",
    "Междуфазное напряжение BC, усредненное",
    "Междуфазное напряжение CA, усредненное",
    "Напряжение прямой последовательности, усредненное",
    "Коэффициент искажения синусоидальности напряжения, усредненный, фаза A",
    "Коэффициент искажения синусоидальности напряжения, усредненный, фаза B",
    "Коэффициент искажения синусоидальности напряжения, усредненный, фаза C",
    "Коэффициент искажения синусоидальности междуфазного напряжения AB, усредненный",
    "Коэффициент искажения синусоидальности междуфазного напряжения BC, усредненный",
    "Коэффициент искажения синусоидальности междуфазного напряжения CA, усредненный",
    "Коэффициент несимметрии напряжений по нулевой последовательности, усредненный",
    "Коэффициент несимметрии напряжений по обратной последовательности, усредненный",
    "Угол между напряжениями фаз A и B",
    "Угол между напряжениями фаз B и C",
    "Угол между напряжениями фаз C и A",
    "Уровень заряда батареи",
    "Коэффициент реактивной мощности (sin), средний",
    "Коэффициент реактивной мощности (sin), фаза A",
    "Коэффициент реактивной мощности (sin), фаза B",
    "Коэффициент реактивной мощности (sin), фаза C",
    "Коэффициент реактивной мощности (tg), средний",
    "Коэффициент реактивной мощности (tg), фаза A",
    "Коэффициент реактивной мощности (tg), фаза B",
    "Коэффициент реактивной мощности (tg), фаза C",
    "Величина PCW, фаза A",
    "Величина PCW, фаза B",
    "Величина PCW, фаза C",
    "Величина PCW, нейтраль",
    "Угол между током и напряжением, фаза A",
    "Угол между током и напряжением, фаза B",
    "Угол между током и напряжением, фаза C",
    "Ток, средний по фазам",
    "Напряжение, среднее по фазам",
    "Ток основной гармоники, фаза A",
    "Ток основной гармоники, фаза B",
    "Ток основной гармоники, фаза C",
    "Напряжение основной гармоники, фаза A",
    "Напряжение основной гармоники, фаза B",
    "Напряжение основной гармоники, фаза C",
    "Качества сигнала GSM",
};

std::string Join(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        if (!text.empty()) {
            text += "\r\n";
        }
        text += line;
    }
    return text;
}

FunctionGroup LossFunctions() {
    return {
        "Расчет потерь",
        {
            {"Активные потери в линии (кВт.ч)", "Line_LossesW_A",
             Join({"#L - длина линии электропередачи (км);",
                   "#Ro - удельное активное сопротивление линии (Ом/км);",
                   "#Pxx - потери холостого хода (кВт);", "#I - ток (А);",
                   "#Tm - число часов использования максимума нагрузки (ч);", kIntervalLength}),
             ""},
            {"Реактивные потери в линии (кВар.ч)", "Line_LossesW_R",
             Join({"#L - длина линии электропередачи (км);",
                   "#Xo - удельное реактивное сопротивление линии (Ом/км);",
                   "#Qxx - реактивные потери холостого хода (кВар);", "#I - ток (А);",
                   "#Tm - число часов использования максимума нагрузки (ч);", kIntervalLength}),
             ""},
            {"Активные потери в 2х обмоточном трансформаторе (кВт.ч)", "T2_LossesW_A",
             Join({"#Pxx - потери холостого хода трансформатора (кВт);",
                   "#Pk - потери короткого замыкания трансформатора (кВт);",
                   "#Snom - номинальная мощность трансформатора (кВ*А);", kPowerFactor, kIntervalLength,
                   "#W - энергия через трансформатор за интервал (кВт.ч);"}),
             ""},
            {"Активные потери в 3х обмоточном трансформаторе (кВт.ч)", "T3_LossesW_A",
             Join({"#Pxx - потери холостого хода трансформатора (кВт);",
                   "#Pk_up - потери короткого замыкания, обмотка высшего напряжения (кВт);",
                   "#Pk_mid - потери короткого замыкания, обмотка среднего напряжения (кВт);",
                   "#Pk_down - потери короткого замыкания, обмотка низшего напряжения (кВт);",
                   "#Snom_up - номинальная мощность обмотки высшего напряжения (кВ*А);",
                   "#Snom_mid - номинальная мощность обмотки среднего напряжения (кВ*А);",
                   "#Snom_down - номинальная мощность обмотки низшего напряжения (кВ*А);", kPowerFactor,
                   kIntervalLength, "#W_up - энергия через обмотку высшего напряжения за интервал (кВт.ч);",
                   "#W_mid - энергия через обмотку среднего напряжения за интервал (кВт.ч);",
                   "#W_down - энергия через обмотку низшего напряжения за интервал (кВт.ч);"}),
             ""},
        }};
}

FunctionGroup MathFunctions() {
    FunctionGroup group{"Математические", {}};
    const std::pair<std::string_view, std::string_view> functions[] = {
        {"Синус", "Sin"},         {"Косинус", "Cos"},       {"Тангенс", "Tan"},       {"Котангенс", "Cotan"},
        {"Арксинус", "Arcsin"},   {"Арккосинус", "Arccos"}, {"Арктангенс", "Arctan"}, {"Экспонента", "Exp"},
        {"Модуль", "Abs"},        {"Логарифм", "Ln"},       {"Квадрат", "Sqr"},       {"Корень", "Sqrt"},
        {"Целое число", "Trunc"},
    };
    for (const auto& [description, name] : functions) {
        group.entries.push_back({std::string(description), std::string(name), std::string(kValue), ""});
    }
    group.entries.push_back({"Процент", "Percent", Join({kValue, "#Percent - процент (0-100)"}), ""});
    return group;
}

FunctionGroup MomentaryFunctions() {
    FunctionGroup group{"Мгновенные величины", {}};
    for (int32_t code = 1; code <= kMomentaryCodeCount; ++code) {
        FunctionEntry entry{std::string(kMomentaryDescriptions[static_cast<size_t>(code - 1)]),
                            std::string(MomentaryName(code)), std::string(kMomentaryParameters), ""};
        if (code > kNamedMomentaryFunctions) {
            entry.insertion = fmt::format("M(ObjCode, ObjType, ObjItem, {})", code);
        }
        group.entries.push_back(std::move(entry));
    }
    return group;
}

FunctionGroup AdditionalFunctions() {
    return {
        "Дополнительные",
        {
            {"Энергия", "W", std::string(kChannelParameters), ""},
            {"Мощность", "P", std::string(kChannelParameters), ""},
            {"Энергия", "W2", std::string(kElementParameters), ""},
            {"Мощность", "P2", std::string(kElementParameters), ""},
            {"Период (час)", "T", "", ""},
            {"Мгновенная величина", "M",
             Join({kElementParameters, "#MomentaryCode - код мгновенной величины"}), ""},
            {"Состояние ДВ", "DI",
             "#ObjCode - код устройства;\r\n#ObjItem - код дискретного ввода;\r\n\r\nСостояния:\r\n-1 - "
             "неопределенное;\r\n1 - включен;\r\n0 - выключен;",
             ""},
            {"Состояние ОИ", "MO",
             "#ObjCode - код объекта измерения;\r\n\r\nСостояния:\r\n-1 - неопределенное;\r\n1..N - код "
             "состояния;",
             ""},
            {"Расчетный период", "CalcDiscret",
             "#InfoType - тип информации\r\n0 - вид периода;\r\n1 - значение периода;", ""},
            {"Номер параметра", "Parnumber",
             "#InfoType - тип информации\r\n0 - параметр исходных данных;\r\n1 - параметр результата);", ""},
        }};
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

const std::vector<FunctionGroup>& FunctionCatalogue() {
    static const std::vector<FunctionGroup> groups = {LossFunctions(), MathFunctions(), MomentaryFunctions(),
                                                      AdditionalFunctions()};
    return groups;
}

std::string EntryText(size_t position, const FunctionEntry& entry) {
    return fmt::format("({}) {} ({})", position, entry.description, entry.name);
}

std::string InsertionText(const FunctionEntry& entry) {
    if (!entry.insertion.empty()) {
        return entry.insertion;
    }
    std::string names;
    std::string_view rest = entry.parameters;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.starts_with('#')) {
            continue;
        }
        const std::string_view name = Trim(line.substr(
            1, line.find('-') == std::string_view::npos ? std::string_view::npos : line.find('-') - 1));
        names += names.empty() ? "" : ", ";
        names += name;
    }
    return entry.name + "(" + names + ")";
}

std::string DescriptionText(const FunctionEntry& entry) {
    if (entry.parameters.empty()) {
        return "Нет аргументов";
    }
    std::string description = "Параметры:\r\n";
    for (const char c : entry.parameters) {
        if (c != '#') {
            description.push_back(c);
        }
    }
    return description;
}

} // namespace tl::dialogs
