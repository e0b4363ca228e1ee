// The per-element parameter record of a calculation method, kept in an element section as text.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tl {

class TCustomObjParams {
public:
    virtual ~TCustomObjParams() = default;

    virtual std::string SaveToText() const { return {}; }
    // False when the text is not a record of this class; the object is then left as it was.
    virtual bool LoadFromText(std::string_view text);
    // Copies every parameter of a record of the same class; another class throws
    // std::invalid_argument.
    virtual void Assign(const TCustomObjParams& source);
    // Whether every value needed by the enabled parts is present.
    virtual bool IsComplete() const { return true; }
    // A new record of the same class with its defaults.
    virtual std::unique_ptr<TCustomObjParams> Create() const;

protected:
    TCustomObjParams() = default;
    TCustomObjParams(const TCustomObjParams&) = default;
    TCustomObjParams& operator=(const TCustomObjParams&) = default;
};

// The record class of a method index: 0 the coefficient record, 1 the element formula. Any other
// index throws std::out_of_range.
std::unique_ptr<TCustomObjParams> CreateObjParams(int method);

} // namespace tl
