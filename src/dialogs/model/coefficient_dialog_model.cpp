#include "tldialogs/coefficient_dialog_model.hpp"

#include "tldialogs/database_query.hpp"
#include "tlparams/sensor_types.hpp"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>

namespace tl::dialogs {
namespace {

ChannelType TypeOfKind(std::optional<int32_t> kind) {
    switch (SensorTypeKind(kind.value_or(-1))) {
    case SensorKind::kActive:
        return ChannelType::kActive;
    case SensorKind::kReactive:
        return ChannelType::kReactive;
    case SensorKind::kNeither:
        break;
    }
    return ChannelType::kNone;
}

std::optional<int32_t> Voltage(int32_t kv) {
    if (std::ranges::find(kDialogVoltages, kv) == kDialogVoltages.end()) {
        return std::nullopt;
    }
    return kv;
}

} // namespace

CoefficientDialogModel::CoefficientDialogModel(const ElementCatalogue& catalogue,
                                               const ElementAddress& element, const TMethod1Obj& record,
                                               KindLookup kind_of, StateSource states)
    : catalogue_(catalogue), element_(element), kind_of_(std::move(kind_of)),
      state_source_(std::move(states)), secondary_item_(record.SecondarySensor) {
    const CatalogueEntry* entry = catalogue_.Find(element_);
    type_enabled_ = entry == nullptr || TypeOfKind(entry->kind) == ChannelType::kNone;
    type_ = TypeOfKind(record.SensorType);
    FillCandidates();

    part_on_ = {record.InLine, record.InTransf, record.NotCalcState};
    page_ = record.InLine         ? Page::kLine
            : record.InTransf     ? Page::kTransformer
            : record.NotCalcState ? Page::kState
                                  : Page::kEmpty;
    line_.r0 = record.r0;
    line_.l = record.l;
    line_.wkor_variant = record.WkorMode == 1 ? 1 : 0;
    line_.wkor[static_cast<size_t>(line_.wkor_variant)] = record.Wkor;
    line_.wiz = record.Wiz;
    line_.up = Voltage(record.UWork);
    line_.unominal = Voltage(record.UNominal);
    transformer_ = {
        static_cast<double>(record.Trab), record.Pxx, record.Pkz, record.Ixx, record.Ukz, record.Strnom};
    if ((record.StateObjType == kMeasurementObjectType || record.StateObjType == kDiscreteInputType) &&
        record.StateObjCode > 0) {
        SetStateObject({record.StateObjType, record.StateObjCode, record.StateItem, record.StateObjText});
        const auto found = std::ranges::find(states_, record.StateValue, &StateChoice::value);
        if (found != states_.end()) {
            selected_state_ = static_cast<size_t>(found - states_.begin());
        }
    }
}

std::string CoefficientDialogModel::Caption() const {
    const CatalogueEntry* entry = catalogue_.Find(element_);
    return fmt::format("{}.{} ({}.{})", entry != nullptr ? entry->device_name : "",
                       entry != nullptr ? entry->name : "", Hex4(element_.object_code), element_.item);
}

void CoefficientDialogModel::SetType(ChannelType type) {
    const std::optional<ElementAddress> chosen =
        selected_candidate_ >= 0
            ? std::optional(candidates_[static_cast<size_t>(selected_candidate_)].address)
            : std::nullopt;
    type_ = type;
    FillCandidates();
    if (chosen) {
        const auto found = std::ranges::find(candidates_, *chosen, &SecondaryCandidate::address);
        selected_candidate_ = found == candidates_.end() ? -1 : static_cast<int>(found - candidates_.begin());
    }
}

std::string CoefficientDialogModel::SecondaryLabel() const {
    switch (type_) {
    case ChannelType::kActive:
        return "Реактивный канал:";
    case ChannelType::kReactive:
        return "Активный канал:";
    case ChannelType::kNone:
        break;
    }
    return "Вторичный канал:";
}

// The channels of the element's own device whose type is not set or is the wanted one (the
// other type than the element's), and the current secondary channel in any case.
void CoefficientDialogModel::FillCandidates() {
    const ChannelType wanted = type_ == ChannelType::kActive     ? ChannelType::kReactive
                               : type_ == ChannelType::kReactive ? ChannelType::kActive
                                                                 : ChannelType::kNone;
    candidates_.clear();
    selected_candidate_ = -1;
    for (const CatalogueEntry& entry : catalogue_.Entries()) {
        const ElementAddress& address = entry.address;
        if (address.object_code != element_.object_code || !entry.IsChannel()) {
            if (!candidates_.empty()) {
                break;
            }
            continue;
        }
        if (address == element_) {
            continue;
        }
        const std::optional<int32_t> kind = kind_of_(address);
        const ChannelType type = TypeOfKind(kind);
        const bool current = address.item == secondary_item_;
        if (!current && type != ChannelType::kNone && wanted != ChannelType::kNone && type != wanted) {
            continue;
        }
        if (current) {
            selected_candidate_ = static_cast<int>(candidates_.size());
        }
        candidates_.push_back({address, fmt::format("({}) {} (Тип: {})", address.item, entry.name,
                                                    SensorTypeName(kind.value_or(-1)))});
    }
}

void CoefficientDialogModel::SetPartOn(Part part, bool on) {
    part_on_[static_cast<size_t>(part)] = on;
    const Page own = static_cast<Page>(static_cast<int>(part) + 1);
    if (page_ == Page::kEmpty || page_ == own) {
        page_ = on ? own : Page::kEmpty;
    }
}

void CoefficientDialogModel::PressPart(Part part) {
    if (!PartOn(part)) {
        return;
    }
    const Page own = static_cast<Page>(static_cast<int>(part) + 1);
    page_ = page_ == own ? Page::kEmpty : own;
}

void CoefficientDialogModel::SetUp(int32_t kv) {
    line_.up = kv;
    if (!line_.unominal || kv > *line_.unominal) {
        line_.unominal = kv;
    }
}

void CoefficientDialogModel::SetUNominal(int32_t kv) {
    line_.unominal = kv;
    if (!line_.up || kv < *line_.up) {
        line_.up = kv;
    }
}

std::string CoefficientDialogModel::StateObjectText() const {
    if (!state_object_) {
        return {};
    }
    if (state_object_->type == kMeasurementObjectType) {
        return fmt::format("ОИ: ({}) {}", state_object_->code, state_object_->name);
    }
    return fmt::format("ДВ: (${}.{}) {}", Hex4(state_object_->code), state_object_->item,
                       state_object_->name);
}

void CoefficientDialogModel::SetStateObject(const StateObject& object) {
    state_object_ = object;
    selected_state_.reset();
    if (object.type == kMeasurementObjectType) {
        states_ = state_source_ ? state_source_(object.code) : std::vector<StateChoice>{};
    } else {
        states_ = {{"Включен", 1, {}}, {"Выключен", 0, {}}};
    }
}

Validation CoefficientDialogModel::Validate() const {
    Validation v;
    std::set<Field> line_faults;
    const bool corona = WkorEnabled();
    const double wkor = line_.wkor[static_cast<size_t>(line_.wkor_variant)];
    const std::pair<bool, Field> line_checks[] = {
        {!corona || wkor > 0, Field::kWkor},
        {line_.r0 > 0, Field::kR0},
        {line_.l > 0, Field::kL},
        {line_.wiz > 0, Field::kWiz},
        {line_.up.has_value(), Field::kUp},
        {line_.unominal.has_value(), Field::kUNominal},
    };
    const std::pair<bool, Field> transformer_checks[] = {
        {transformer_.pxx > 0, Field::kPxx},       {transformer_.pkz > 0, Field::kPkz},
        {transformer_.ixx > 0, Field::kIxx},       {transformer_.ukz > 0, Field::kUkz},
        {transformer_.strnom > 0, Field::kStrnom},
    };
    const std::pair<bool, Field> state_checks[] = {
        {state_object_.has_value(), Field::kStateObject},
        {selected_state_.has_value(), Field::kState},
    };
    const auto judge = [&v](const auto& checks, bool on, Field part) {
        bool valid = true;
        for (const auto& [ok, field] : checks) {
            valid &= ok;
            if (!ok && on) {
                v.red.insert(field);
            }
        }
        if (!valid && on) {
            v.red.insert(part);
        }
        return valid;
    };
    v.line = judge(line_checks, PartOn(Part::kLine), Field::kLinePart);
    v.transformer = judge(transformer_checks, PartOn(Part::kTransformer), Field::kTransformerPart);
    v.state = judge(state_checks, PartOn(Part::kState), Field::kStatePart);
    const bool secondary = selected_candidate_ >= 0;
    if (!secondary) {
        v.red.insert(Field::kSecondary);
    }
    v.all = secondary && (PartOn(Part::kLine) || PartOn(Part::kTransformer)) &&
            (!PartOn(Part::kLine) || v.line) && (!PartOn(Part::kTransformer) || v.transformer) &&
            (!PartOn(Part::kState) || v.state);
    return v;
}

void CoefficientDialogModel::Apply(TMethod1Obj& record) const {
    const SecondaryCandidate* secondary =
        selected_candidate_ >= 0 ? &candidates_[static_cast<size_t>(selected_candidate_)] : nullptr;
    record.SecondarySensor = secondary != nullptr ? secondary->address.item : 0;
    if (type_enabled_) {
        record.SensorType = type_ == ChannelType::kActive     ? kActiveSensorType
                            : type_ == ChannelType::kReactive ? kReactiveSensorType
                                                              : 0;
    }
    const CatalogueEntry* secondary_entry =
        secondary != nullptr ? catalogue_.Find(secondary->address) : nullptr;
    if (type_ != ChannelType::kNone &&
        (secondary_entry == nullptr || TypeOfKind(secondary_entry->kind) == ChannelType::kNone)) {
        record.SecondarySensorType = type_ == ChannelType::kActive ? kReactiveSensorType : kActiveSensorType;
    }
    record.InLine = PartOn(Part::kLine);
    if (record.InLine) {
        record.r0 = line_.r0;
        record.l = line_.l;
        record.Wkor = line_.wkor[static_cast<size_t>(line_.wkor_variant)];
        record.WkorMode = line_.wkor_variant;
        record.Wiz = line_.wiz;
        record.UWork = line_.up.value_or(0);
        record.UNominal = line_.unominal.value_or(0);
    }
    record.InTransf = PartOn(Part::kTransformer);
    if (record.InTransf) {
        record.Trab = static_cast<int32_t>(std::lround(transformer_.trab));
        record.Pxx = transformer_.pxx;
        record.Pkz = transformer_.pkz;
        record.Ixx = transformer_.ixx;
        record.Ukz = transformer_.ukz;
        record.Strnom = transformer_.strnom;
    }
    record.NotCalcState = PartOn(Part::kState);
    if (record.NotCalcState && state_object_) {
        record.StateObjType = state_object_->type;
        record.StateObjCode = state_object_->code;
        record.StateItem = state_object_->item;
        record.StateObjText = state_object_->name;
        if (selected_state_) {
            const StateChoice& state = states_[*selected_state_];
            record.StateValue = state.value;
            record.StateText = state.name;
        }
    }
}

std::vector<StateChoice> MeasurementObjectStates(int32_t object_code) {
    QueryRows rows(
        "Select MOS.Name as MOSName, MOS.Code as MOSCode From MObjects M Inner Join MObjStates MOS On "
        "MOS.ObjectID = M.Id Where M.Code = :c Order By MOS.Code",
        {TlVariant{TL_VT_INT32, {.i32 = object_code}}});
    const int32_t name = rows.Field("MOSName");
    const int32_t code = rows.Field("MOSCode");
    std::vector<StateChoice> states;
    for (; !rows.AtEnd(); rows.Next()) {
        states.push_back({fmt::format("({}) {}", rows.Integer(code), rows.Text(name)), rows.Integer(code),
                          rows.Text(name)});
    }
    return states;
}

} // namespace tl::dialogs
