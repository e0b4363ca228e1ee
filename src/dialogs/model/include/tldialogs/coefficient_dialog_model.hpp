// TfrmParams1 without its windows: the coefficient record of one element of the defined-formula
// method as the coefficient dialog edits it. Its choices (channel type, secondary channel, parts,
// voltages, state link) follow the dialog's rules; Validate says what is missing; Apply writes the
// record as OK does.
#pragma once

#include "tldialogs/element_catalogue.hpp"
#include "tlparams/method1_obj.hpp"

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tl::dialogs {

enum class ChannelType { kNone, kActive, kReactive }; // "Тип выбранного канала:"
enum class Part { kLine, kTransformer, kState };
enum class Page { kEmpty, kLine, kTransformer, kState };

// The labels and captions the validation paints red.
enum class Field {
    kSecondary,
    kR0,
    kL,
    kWkor,
    kWiz,
    kUp,
    kUNominal, // line page
    kPxx,
    kPkz,
    kIxx,
    kUkz,
    kStrnom, // transformer page
    kStateObject,
    kState, // state page
    kLinePart,
    kTransformerPart,
    kStatePart, // the part buttons
};

struct SecondaryCandidate {
    ElementAddress address;
    std::string text; // "(%d) %s (Тип: %s)"
};

inline constexpr int32_t kMeasurementObjectType = 95;
inline constexpr int32_t kDiscreteInputType = 97;

// The object whose state suppresses the calculation: a measurement object (95) or a discrete
// input (97, an input of a device).
struct StateObject {
    int32_t type = 0;
    int32_t code = 0;
    int32_t item = 0;
    std::string name;
};

struct StateChoice {
    std::string text; // as listed
    int32_t value = 0;
    std::string name; // a measurement object's state name, kept in the record
};

struct LineValues {
    double r0 = 0;
    double l = 0;
    std::array<double, 2> wkor{}; // the value field of each choice
    int32_t wkor_variant = 0; // 0 "Ктаб * Кпопр.2", 1 "Ктаб * Кпопр.1 * l * Кпопр.2"
    double wiz = 0;
    std::optional<int32_t> up; // kV, one of kDialogVoltages when chosen
    std::optional<int32_t> unominal;
};

struct TransformerValues {
    double trab = 700;
    double pxx = 0;
    double pkz = 0;
    double ixx = 0;
    double ukz = 0;
    double strnom = 0;
};

struct Validation {
    bool line = false;
    bool transformer = false;
    bool state = false;
    bool all = false; // OK is enabled
    std::set<Field> red;
};

class CoefficientDialogModel {
public:
    // The states of a measurement object by its code ("(%d) %s" entries).
    using StateSource = std::function<std::vector<StateChoice>(int32_t object_code)>;
    // The kind of a channel as the settings dialog sees it (see TaskDialogModel::KindOf).
    using KindLookup = std::function<std::optional<int32_t>(const ElementAddress&)>;

    CoefficientDialogModel(const ElementCatalogue& catalogue, const ElementAddress& element,
                           const TMethod1Obj& record, KindLookup kind_of, StateSource states);

    // "%s.%s (%s.%d)": device name, element name, object code in four hex digits, item.
    std::string Caption() const;

    bool TypeEnabled() const { return type_enabled_; }
    ChannelType Type() const { return type_; }
    void SetType(ChannelType type);
    std::string SecondaryLabel() const;
    const std::vector<SecondaryCandidate>& Candidates() const { return candidates_; }
    int SelectedCandidate() const { return selected_candidate_; }
    void SelectCandidate(int index) { selected_candidate_ = index; }

    bool PartOn(Part part) const { return part_on_[static_cast<size_t>(part)]; }
    // Ticking or clearing a part's check box presses or releases its button while the empty page
    // or the part's own page is shown.
    void SetPartOn(Part part, bool on);
    // Pressing a part's button (enabled only while the part is on) shows its page, pressing it
    // again the empty page.
    void PressPart(Part part);
    Page CurrentPage() const { return page_; }
    bool ButtonEnabled(Part part) const { return PartOn(part); }

    LineValues& Line() { return line_; }
    const LineValues& Line() const { return line_; }
    // Up may not exceed Uном: each choice moves the other when it would.
    void SetUp(int32_t kv);
    void SetUNominal(int32_t kv);
    // Corona losses count from 110 kV on.
    bool WkorEnabled() const { return line_.up.has_value() && *line_.up >= 110; }

    TransformerValues& Transformer() { return transformer_; }

    const std::optional<StateObject>& StateLink() const { return state_object_; }
    // "ОИ: (%d) %s" or "ДВ: ($%s.%d) %s"; empty without an object.
    std::string StateObjectText() const;
    void SetStateObject(const StateObject& object);
    const std::vector<StateChoice>& States() const { return states_; }
    std::optional<size_t> SelectedState() const { return selected_state_; }
    void SelectState(size_t index) { selected_state_ = index; }

    Validation Validate() const;
    // OK: writes the choices into the record; values of a part switched off stay as they were.
    void Apply(TMethod1Obj& record) const;

private:
    void FillCandidates();

    const ElementCatalogue& catalogue_;
    ElementAddress element_;
    KindLookup kind_of_;
    StateSource state_source_;
    bool type_enabled_ = false;
    ChannelType type_ = ChannelType::kNone;
    std::vector<SecondaryCandidate> candidates_;
    int selected_candidate_ = -1;
    int32_t secondary_item_; // the record's secondary channel, listed in any case
    std::array<bool, 3> part_on_{};
    Page page_ = Page::kEmpty;
    LineValues line_;
    TransformerValues transformer_;
    std::optional<StateObject> state_object_;
    std::vector<StateChoice> states_;
    std::optional<size_t> selected_state_;
};

// The states of a measurement object from MObjects and MObjStates through the database library.
std::vector<StateChoice> MeasurementObjectStates(int32_t object_code);

} // namespace tl::dialogs
