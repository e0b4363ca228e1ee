// Secondary channel pairing of the defined-formula method: every channel is calculated with the
// channel of the other kind on the same device (active received with reactive received, active
// delivered with reactive delivered), and both records name each other.
#include "tldialogs/task_dialog_model.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlparams/sensor_types.hpp"

namespace tl::dialogs {
namespace {

TMethod1Obj* Coefficients(const settings::ElementRecord* element) {
    return element == nullptr ? nullptr : dynamic_cast<TMethod1Obj*>(element->params.get());
}

// 0 <-> 2, 1 <-> 3; nothing for a code of neither kind.
std::optional<int32_t> PairedKind(int32_t kind) {
    if (kind < 0 || kind > 3) {
        return std::nullopt;
    }
    return kind ^ 2;
}

} // namespace

std::optional<int32_t> TaskDialogModel::KindOf(const ElementAddress& address) const {
    if (const TMethod1Obj* coefficients = Coefficients(Element(address))) {
        return coefficients->SensorType;
    }
    const CatalogueEntry* entry = catalogue_.Find(address);
    return entry != nullptr ? entry->kind : std::nullopt;
}

bool TaskDialogModel::IsPaired(const ElementAddress& address) const {
    const TMethod1Obj* coefficients = Coefficients(Element(address));
    return coefficients != nullptr && coefficients->SecondarySensor >= 1;
}

// From the element's place in the catalogue towards lower positions for an active kind and
// higher ones for a reactive kind, within the run of the same device's channels.
std::optional<ElementAddress> TaskDialogModel::FindSecondary(const ElementAddress& element,
                                                             int32_t kind) const {
    const int32_t start = catalogue_.IndexOf(element);
    if (start < 0) {
        return std::nullopt;
    }
    const auto& entries = catalogue_.Entries();
    const int32_t step = SensorTypeKind(kind) == SensorKind::kActive ? -1 : 1;
    for (int32_t i = start + step; i >= 0 && i < static_cast<int32_t>(entries.size()); i += step) {
        const ElementAddress& candidate = entries[static_cast<size_t>(i)].address;
        if (candidate.object_code != element.object_code || candidate.element_type != element.element_type) {
            break;
        }
        if (KindOf(candidate) == kind && !IsPaired(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

void TaskDialogModel::Pair(const ElementAddress& address) {
    TMethod1Obj* own = Coefficients(Element(address));
    if (own == nullptr) {
        return;
    }
    const std::string own_before = own->SaveToText();
    if (own->SecondarySensor < 1) {
        if (const std::optional<int32_t> wanted = PairedKind(own->SensorType)) {
            if (const std::optional<ElementAddress> found = FindSecondary(address, *wanted)) {
                own->SecondarySensor = found->item;
                own->SecondarySensorType = *wanted;
            }
        }
    }
    bool marked = false;
    if (own->SecondarySensor >= 1 && own->SecondarySensor != address.item) {
        const ElementAddress partner_address{address.object_code, address.element_type, own->SecondarySensor};
        const ElementRecord* existing = Element(partner_address);
        const bool had_record = existing != nullptr && existing->HasRecord();
        const std::string partner_before = had_record ? existing->params->SaveToText() : std::string();
        ElementRecord& partner = Add(partner_address);
        auto* other = static_cast<TMethod1Obj*>(partner.params.get());
        if (other->SecondarySensor < 1 || !other->IsComplete()) {
            other->Assign(*own);
        }
        other->SecondarySensor = address.item;
        other->SensorType = own->SecondarySensorType;
        other->SecondarySensorType = own->SensorType;
        const SensorKind kind = SensorTypeKind(own->SensorType);
        if (kind != SensorKind::kNeither && SensorTypeKind(other->SensorType) == kind) {
            other->SensorType = kind == SensorKind::kActive ? kReactiveSensorType : kActiveSensorType;
        }
        if ((!had_record || other->SaveToText() != partner_before) && partner.IsComplete()) {
            partner.changed = true;
            marked = true;
        }
    }
    ElementRecord* element = Find(address);
    if (own->SaveToText() != own_before && element->IsComplete()) {
        element->changed = true;
        marked = true;
    }
    if (marked) {
        list_changed_ = true;
    }
}

void TaskDialogModel::PairAll() {
    for (const ElementAddress& address : AddressesWithRecords()) {
        Pair(address);
    }
}

} // namespace tl::dialogs
