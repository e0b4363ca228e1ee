#include "tlparams/method1_obj.hpp"

#include "tlcommon/format_settings.hpp"

#include <fmt/format.h>
#include <vector>

namespace tl {
namespace {

// The fields of the stored text, every "," and "." already turned into the system separator (the
// two display texts included, as the stored form has always done).
class FieldReader {
public:
    FieldReader(std::string_view text, std::string* error) : error_(error) {
        const char separator = SystemFormat().decimal_separator;
        size_t start = 0;
        while (true) {
            const size_t end = text.find(';', start);
            std::string field(text.substr(start, end == std::string_view::npos ? end : end - start));
            for (char& c : field) {
                if (c == ',' || c == '.') {
                    c = separator;
                }
            }
            fields_.push_back(std::move(field));
            if (end == std::string_view::npos) {
                break;
            }
            start = end + 1;
        }
    }

    size_t Count() const { return fields_.size(); }
    bool Failed() const { return failed_; }

    void Int(int32_t& out) {
        const std::string& field = Take();
        if (failed_) {
            return;
        }
        if (auto value = ParseIntStrict(field)) {
            out = *value;
        } else {
            Fail(fmt::format("Поле {}: \"{}\" не является целым числом", next_, field));
        }
    }
    void Flag(bool& out) {
        int32_t value = 0;
        Int(value);
        out = value != 0;
    }
    void Float(double& out) {
        const std::string& field = Take();
        if (failed_) {
            return;
        }
        if (auto value = ParseFloatStrict(field)) {
            out = *value;
        } else {
            Fail(fmt::format("Поле {}: \"{}\" не является числом", next_, field));
        }
    }
    void Text(std::string& out) {
        const std::string& field = Take();
        if (!failed_) {
            out = field;
        }
    }

    void Fail(std::string why) {
        if (!failed_ && error_ != nullptr) {
            *error_ = std::move(why);
        }
        failed_ = true;
    }

private:
    const std::string& Take() { return fields_[next_++]; }

    std::vector<std::string> fields_;
    size_t next_ = 0;
    bool failed_ = false;
    std::string* error_;
};

} // namespace

std::string TMethod1Obj::SaveToText() const {
    return fmt::format("{};{};{};{};{};{};{};{};{};{};{};{};{};{};{};{};{};{};{};{};{};{};{};{};{}",
                       InLine ? 1 : 0, SensorType, SecondarySensorType, SecondarySensor, FormatFixed(r0, 2),
                       FormatFixed(l, 2), FormatFixed(Wkor, 2), WkorMode, FormatFixed(Wiz, 2), UWork,
                       UNominal, InTransf ? 1 : 0, Trab, FormatFixed(Pxx, 2), FormatFixed(Pkz, 2),
                       FormatFixed(Ixx, 2), FormatFixed(Ukz, 2), FormatFixed(Strnom, 2), NotCalcState ? 1 : 0,
                       StateValue, StateObjCode, StateObjType, StateItem, StateObjText, StateText);
}

bool TMethod1Obj::LoadFromText(std::string_view text) {
    return Parse(text, nullptr);
}

bool TMethod1Obj::Parse(std::string_view text, std::string* error) {
    FieldReader reader(text, error);
    const size_t count = reader.Count();
    if (count != kFieldCount && count != kFieldCount - 1) {
        reader.Fail(fmt::format("Число полей {}, ожидается {} или {}", count, kFieldCount - 1, kFieldCount));
        return false;
    }
    TMethod1Obj parsed;
    reader.Flag(parsed.InLine);
    reader.Int(parsed.SensorType);
    reader.Int(parsed.SecondarySensorType);
    reader.Int(parsed.SecondarySensor);
    reader.Float(parsed.r0);
    reader.Float(parsed.l);
    reader.Float(parsed.Wkor);
    reader.Int(parsed.WkorMode);
    reader.Float(parsed.Wiz);
    reader.Int(parsed.UWork);
    reader.Int(parsed.UNominal);
    reader.Flag(parsed.InTransf);
    reader.Int(parsed.Trab);
    reader.Float(parsed.Pxx);
    reader.Float(parsed.Pkz);
    reader.Float(parsed.Ixx);
    reader.Float(parsed.Ukz);
    reader.Float(parsed.Strnom);
    reader.Flag(parsed.NotCalcState);
    reader.Int(parsed.StateValue);
    reader.Int(parsed.StateObjCode);
    reader.Int(parsed.StateObjType);
    reader.Int(parsed.StateItem);
    reader.Text(parsed.StateObjText);
    if (count == kFieldCount) {
        reader.Text(parsed.StateText);
    }
    if (reader.Failed()) {
        return false;
    }

    // A part that is off keeps nothing of what the text says about it.
    if (!parsed.InLine) {
        parsed.r0 = parsed.l = parsed.Wkor = parsed.Wiz = 0;
        parsed.WkorMode = parsed.UWork = parsed.UNominal = 0;
    }
    if (!parsed.InTransf) {
        parsed.Pxx = parsed.Pkz = parsed.Ixx = parsed.Ukz = parsed.Strnom = 0;
        parsed.Trab = 700;
    }
    if (!parsed.NotCalcState) {
        parsed.StateValue = parsed.StateObjCode = parsed.StateObjType = parsed.StateItem = 0;
        parsed.StateObjText.clear();
        parsed.StateText.clear();
    }
    *this = parsed;
    return true;
}

void TMethod1Obj::Assign(const TCustomObjParams& source) {
    TCustomObjParams::Assign(source);
    *this = static_cast<const TMethod1Obj&>(source);
}

bool TMethod1Obj::LineComplete() const {
    return (UWork < 110 || Wkor > 0) && r0 > 0 && l > 0 && Wiz > 0 && UWork != -1 && UNominal != -1;
}

bool TMethod1Obj::TransformerComplete() const {
    return Pxx > 0 && Pkz > 0 && Ixx > 0 && Ukz > 0 && Strnom > 0;
}

bool TMethod1Obj::IsComplete() const {
    if (!InLine && !InTransf) {
        return false;
    }
    return (!InLine || LineComplete()) && (!InTransf || TransformerComplete()) &&
           (!NotCalcState || StateComplete()) && SecondarySensor >= 1;
}

std::unique_ptr<TCustomObjParams> TMethod1Obj::Create() const {
    return std::make_unique<TMethod1Obj>();
}

} // namespace tl
