#include "tldialogs/database_query.hpp"

#include "tlplatform/dbd.h"

#include <stdexcept>
#include <vector>

namespace tl::dialogs {

void FreeDataSet::operator()(TlResultSet* set) const {
    DBFreeDataSet(&set);
}

QueryRows::QueryRows(std::string_view sql, std::initializer_list<TlVariant> params) {
    const std::string text(sql);
    const std::vector<TlVariant> values(params);
    TlResultSet* set = nullptr;
    if (DBExecSQL(&set, text.c_str(), values.data(), static_cast<int32_t>(values.size()), 1) != 0) {
        throw std::runtime_error(DBLastError());
    }
    set_.reset(set);
    if (set_ != nullptr) {
        set_->vtbl->First(set_.get());
    }
}

bool QueryRows::AtEnd() const {
    return set_ == nullptr || set_->vtbl->Eof(set_.get());
}

void QueryRows::Next() {
    set_->vtbl->Next(set_.get());
}

int32_t QueryRows::Field(std::string_view name) const {
    return set_ == nullptr ? -1 : set_->vtbl->FieldIndex(set_.get(), std::string(name).c_str());
}

int32_t QueryRows::Integer(int32_t field) const {
    return set_->vtbl->AsInteger(set_.get(), field);
}

bool QueryRows::IsNull(int32_t field) const {
    return field < 0 || set_->vtbl->IsNull(set_.get(), field);
}

std::string QueryRows::Text(int32_t field) const {
    const char* text = field < 0 ? nullptr : DBGetFieldText(set_.get(), field);
    return text != nullptr ? text : "";
}

} // namespace tl::dialogs
