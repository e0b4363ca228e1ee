#include "tldialogs/task_dialog_model.hpp"

#include "tlparams/method1_obj.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <set>

namespace tl::dialogs {
namespace {

constexpr std::string_view kSaving = "Сохранение параметров...";
constexpr std::string_view kLoading = "Загрузка параметров...";
constexpr std::string_view kRemoveQuestion = "Один или несколько удаляемых каналов учета имеют настроенные "
                                             "параметры.\r\nУдалить данные каналы учета из списка?";
constexpr std::string_view kRemoveCaption = "Подтверждение изменения списка каналов учета";

} // namespace

SelectionOptions SelectionOptionsFor(int method) {
    return {.offered = method == kDefinedFormula ? 16 : 52};
}

TaskDialogModel::TaskDialogModel(std::string task_key, TSvcConfig& config, ElementCatalogue catalogue,
                                 TaskDialogServices services)
    : config_(config), catalogue_(std::move(catalogue)), services_(services), settings_(std::move(task_key)) {
}

void TaskDialogModel::Load(DateTime today) {
    settings_.LoadSettings(config_, today);
    period_ = PeriodFromSettings(settings_.Settings());
    method_ = -1;
    list_changed_ = false;
    const int stored = settings_.Settings().method;
    SelectMethod(stored == kArbitraryFormula ? kArbitraryFormula : kDefinedFormula);
}

void TaskDialogModel::SelectMethod(int method) {
    if (method == method_) {
        return;
    }
    if (list_changed_ && method_ >= 0 &&
        services_.boxes->Ask("Сохранение", "Настройки были изменены. Сохранить?", Buttons::kYesNo,
                             BoxIcon::kQuestion) == Answer::kYes) {
        services_.panel->ShowText(kSaving);
        settings_.SaveElements(config_, method_);
    }
    method_ = method;
    settings_.Settings().method = method;
    services_.panel->ShowText(kLoading);
    list_changed_ = false;
    copy_source_.reset();
    can_paste_ = false;
    settings_.LoadElements(config_, method);
    if (method == kDefinedFormula) {
        PairAll();
    }
    services_.panel->ShowGrid();
}

std::vector<ElementAddress> TaskDialogModel::AddressesWithRecords() const {
    std::vector<ElementAddress> addresses;
    for (const ElementRecord& element : settings_.Elements(method_)) {
        if (element.HasRecord()) {
            addresses.push_back(element.address);
        }
    }
    return addresses;
}

std::vector<ElementAddress> TaskDialogModel::Rows() const {
    std::vector<ElementAddress> rows = AddressesWithRecords();
    std::ranges::sort(rows);
    if (descending_) {
        std::ranges::reverse(rows);
    }
    return rows;
}

const settings::ElementRecord* TaskDialogModel::Element(const ElementAddress& address) const {
    const auto& elements = settings_.Elements(method_);
    const auto found = std::ranges::find(elements, address, &ElementRecord::address);
    return found == elements.end() ? nullptr : &*found;
}

settings::ElementRecord* TaskDialogModel::Find(const ElementAddress& address) {
    return settings_.FindElement(method_, address);
}

settings::ElementRecord& TaskDialogModel::Add(const ElementAddress& address) {
    const ElementRecord* before = Find(address);
    const bool had_record = before != nullptr && before->HasRecord();
    ElementRecord& element = settings_.AddElement(method_, address);
    if (!had_record) {
        if (auto* coefficients = dynamic_cast<TMethod1Obj*>(element.params.get())) {
            const CatalogueEntry* entry = catalogue_.Find(address);
            if (entry != nullptr && entry->kind.has_value()) {
                coefficients->SensorType = *entry->kind;
            }
        }
    }
    return element;
}

bool TaskDialogModel::Remove(const ElementAddress& address) {
    if (!settings_.RemoveElement(method_, address)) {
        return false;
    }
    if (method_ == kDefinedFormula) {
        for (ElementRecord& other : settings_.Elements(method_)) {
            auto* coefficients = dynamic_cast<TMethod1Obj*>(other.params.get());
            if (coefficients == nullptr || other.address.object_code != address.object_code ||
                other.address.element_type != address.element_type ||
                coefficients->SecondarySensor != address.item) {
                continue;
            }
            const bool was_complete = other.IsComplete();
            coefficients->SecondarySensor = 0;
            if (was_complete) {
                other.changed = true;
                list_changed_ = true;
            }
        }
    }
    if (copy_source_ == address) {
        copy_source_.reset();
        can_paste_ = false;
    }
    return true;
}

bool TaskDialogModel::ConfirmRemoving(const std::vector<ElementAddress>& candidates) {
    const bool configured = std::ranges::any_of(candidates, [this](const ElementAddress& address) {
        const ElementRecord* element = Element(address);
        return element != nullptr && element->IsComplete();
    });
    return !configured || services_.boxes->Ask(kRemoveCaption, kRemoveQuestion, Buttons::kYesNo,
                                               BoxIcon::kQuestion) == Answer::kYes;
}

std::optional<ElementAddress> TaskDialogModel::ConfigureList() {
    const std::optional<std::vector<ElementAddress>> chosen =
        services_.selection->Select(method_, SelectionOptionsFor(method_), AddressesWithRecords());
    if (!chosen) {
        return std::nullopt;
    }
    const std::set<ElementAddress> selected(chosen->begin(), chosen->end());
    std::vector<ElementAddress> added;
    for (const ElementAddress& address : *chosen) {
        const ElementRecord* element = Element(address);
        if (element == nullptr || !element->HasRecord()) {
            Add(address);
            added.push_back(address);
        }
    }
    std::vector<ElementAddress> unselected;
    for (const ElementAddress& address : AddressesWithRecords()) {
        if (!selected.contains(address)) {
            unselected.push_back(address);
        }
    }
    const bool remove_configured = ConfirmRemoving(unselected);
    bool removed = false;
    for (const ElementAddress& address : unselected) {
        const ElementRecord* element = Element(address);
        if (remove_configured || !element->IsComplete()) {
            removed |= Remove(address);
        }
    }
    if (method_ == kDefinedFormula) {
        for (const ElementAddress& address : added) {
            Pair(address);
        }
    }
    if (!added.empty() || removed) {
        list_changed_ = true;
    }
    return added.empty() ? std::nullopt : std::optional(added.back());
}

void TaskDialogModel::Delete(const std::vector<ElementAddress>& selected) {
    const bool remove_configured = ConfirmRemoving(selected);
    bool removed = false;
    for (const ElementAddress& address : selected) {
        const ElementRecord* element = Element(address);
        if (element != nullptr && (remove_configured || !element->IsComplete())) {
            removed |= Remove(address);
        }
    }
    if (removed) {
        list_changed_ = true;
    }
}

void TaskDialogModel::Copy(const ElementAddress& focused) {
    const ElementRecord* element = Element(focused);
    if (element == nullptr || !element->HasRecord()) {
        return;
    }
    copy_source_ = focused;
    can_paste_ = true;
}

void TaskDialogModel::Paste(const std::vector<ElementAddress>& selected) {
    if (!can_paste_ || !copy_source_) {
        return;
    }
    const ElementRecord* source = Element(*copy_source_);
    if (source == nullptr || !source->HasRecord()) {
        return;
    }
    std::optional<bool> to_all; // the answer to every further question, once given
    for (const ElementAddress& address : selected) {
        ElementRecord* target = Find(address);
        if (address == *copy_source_ || target == nullptr || !target->HasRecord()) {
            continue;
        }
        if (target->IsComplete()) {
            bool replace = to_all.value_or(false);
            if (!to_all) {
                const std::string text =
                    fmt::format("Объект \"{}\" имеет настроенные параметры. Заменить?", ObjectText(address));
                switch (
                    services_.boxes->Ask("Подтверждение", text, Buttons::kYesNoToAll, BoxIcon::kQuestion)) {
                case Answer::kYes:
                    replace = true;
                    break;
                case Answer::kNo:
                    replace = false;
                    break;
                case Answer::kYesToAll:
                    replace = true;
                    to_all = true;
                    break;
                case Answer::kNoToAll:
                    replace = false;
                    to_all = false;
                    break;
                }
            }
            if (!replace) {
                continue;
            }
        }
        target->params->Assign(*source->params);
        target->changed = true;
        list_changed_ = true;
    }
}

bool TaskDialogModel::EditElement(const ElementAddress& address, const std::vector<std::string>& errors) {
    ElementRecord* element = Find(address);
    if (element == nullptr || !element->HasRecord()) {
        return false;
    }
    if (auto* coefficients = dynamic_cast<TMethod1Obj*>(element->params.get())) {
        const int32_t secondary_before = coefficients->SecondarySensor;
        if (!services_.editors->EditCoefficients(address, *coefficients)) {
            return false;
        }
        const int32_t secondary_after = coefficients->SecondarySensor;
        Pair(address);
        if (secondary_before >= 1 && secondary_before != secondary_after) {
            Remove({address.object_code, address.element_type, secondary_before});
        }
    } else if (auto* formula = dynamic_cast<TMethod2Obj*>(element->params.get())) {
        if (!services_.editors->EditFormula(address, *formula, CommonScript(), errors)) {
            return false;
        }
    }
    if (ElementRecord* edited = Find(address)) {
        edited->changed = true;
    }
    list_changed_ = true;
    return true;
}

bool TaskDialogModel::EditCommonScript(const std::vector<std::string>& errors) {
    std::optional<std::string> edited = services_.editors->EditCommonScript(CommonScript(), errors);
    if (!edited) {
        return false;
    }
    settings_.Settings().common_script = std::move(*edited);
    list_changed_ = true;
    return true;
}

bool TaskDialogModel::Save() {
    if (list_changed_ && method_ == kArbitraryFormula && !CheckScripts()) {
        return false;
    }
    PeriodToSettings(period_, settings_.Settings());
    settings_.Settings().method = method_;
    services_.panel->ShowText(kSaving);
    settings_.Save(config_);
    services_.panel->ShowGrid();
    list_changed_ = false;
    return true;
}

std::string TaskDialogModel::ObjectText(const ElementAddress& address) const {
    return ElementCaption(address, catalogue_.Find(address));
}

} // namespace tl::dialogs
