// Reading a result set delivered by the host. Look fields up once per set (Find/Require) and
// read rows through the returned handles: no name lookup per row.
#pragma once

#include "tlosses/abi.h"

#include <cstdint>
#include <string_view>

namespace tl {

class ResultReader {
public:
    struct Field {
        int32_t index = -1;
        bool Found() const { return index >= 0; }
    };

    // `set` must not be null; the reader does not own it.
    explicit ResultReader(TlResultSet* set);

    // Names match without regard to letter case ("DATA_DATE" is "Data_Date").
    Field Find(std::string_view name) const;
    // As Find, but a missing field throws std::runtime_error naming it.
    Field Require(std::string_view name) const;

    bool IsEmpty() const { return set_->vtbl->IsEmpty(set_); }
    void First() { set_->vtbl->First(set_); }
    void Next() { set_->vtbl->Next(set_); }
    bool Eof() const { return set_->vtbl->Eof(set_); }

    // Values of the current row; a field that was not found throws std::runtime_error.
    double AsDateTime(Field field) const { return set_->vtbl->AsDateTime(set_, Checked(field)); }
    double AsDouble(Field field) const { return set_->vtbl->AsDouble(set_, Checked(field)); }
    int32_t AsInteger(Field field) const { return set_->vtbl->AsInteger(set_, Checked(field)); }
    bool IsNull(Field field) const { return set_->vtbl->IsNull(set_, Checked(field)); }
    // The 64-bit status word of the current row, through the database library.
    int64_t StatusWord() const;

    TlResultSet* Set() const { return set_; }

private:
    static int32_t Checked(Field field);
    TlResultSet* set_;
};

} // namespace tl
