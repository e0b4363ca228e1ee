// The coefficient record of the defined-formula method: a line part, a transformer part and a
// state condition, stored as 25 fields joined by ";".
#pragma once

#include "tlparams/custom_obj_params.hpp"

#include <cstdint>
#include <string>

namespace tl {

class TMethod1Obj : public TCustomObjParams {
public:
    // The number of fields of the stored text; the one before it is accepted too (no state text).
    static constexpr int kFieldCount = 25;

    bool InLine = true;
    int32_t SensorType = 0;          // own channel (sensor type code)
    int32_t SecondarySensorType = 0; // the secondary channel of the other kind
    int32_t SecondarySensor = 0;     // item of the secondary channel on the same device
    double r0 = 0;                   // Ohm/km
    double l = 0;                    // km
    double Wkor = 0;                 // corona losses, thousand kW*h per year (per km in mode 0)
    int32_t WkorMode = 0;            // 0: Wkor is per km, 1: Wkor is the line's total
    double Wiz = 0;                  // insulator leakage, thousand kW*h per km per year
    int32_t UWork = 0;               // kV
    int32_t UNominal = 0;            // kV
    bool InTransf = true;
    int32_t Trab = 700;        // hours under load, kept for the dialog only
    double Pxx = 0;            // kW
    double Pkz = 0;            // kW
    double Ixx = 0;            // %
    double Ukz = 0;            // %
    double Strnom = 0;         // kV*A
    bool NotCalcState = false; // no calculation while the state element is in StateValue
    int32_t StateValue = 0;
    int32_t StateObjCode = 0;
    int32_t StateObjType = 0; // 95 measurement object, 97 discrete input
    int32_t StateItem = 0;
    std::string StateObjText;
    std::string StateText;

    // Numbers with two decimals and the system decimal separator.
    std::string SaveToText() const override;
    bool LoadFromText(std::string_view text) override;
    void Assign(const TCustomObjParams& source) override;
    bool IsComplete() const override;
    std::unique_ptr<TCustomObjParams> Create() const override;

    // LoadFromText that also says why a text was refused, in the words the run log gives it.
    bool Parse(std::string_view text, std::string* error);

    bool LineComplete() const;
    bool TransformerComplete() const;
    bool StateComplete() const { return StateObjCode > 0; }
};

} // namespace tl
