#include "fake_host_service.hpp"

#include "tlcommon/text_codec.hpp"
#include "tldata/case_fold.hpp"

#include <algorithm>

namespace tl::test {

// ---- FakeResultSet ---------------------------------------------------------------------------

const TlResultSetVtbl FakeResultSet::kVtbl = {
    [](TlResultSet* self, const char* name) -> int32_t {
        const auto& columns = Of(self).columns_;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (SameText(columns[i], Cp1251ToUtf8(name))) {
                return static_cast<int32_t>(i);
            }
        }
        return -1;
    },
    [](TlResultSet* self, int32_t field) {
        return Of(self).rows_[Of(self).row_][static_cast<size_t>(field)];
    },
    [](TlResultSet* self, int32_t field) {
        return Of(self).rows_[Of(self).row_][static_cast<size_t>(field)];
    },
    [](TlResultSet* self, int32_t field) {
        return static_cast<int32_t>(Of(self).rows_[Of(self).row_][static_cast<size_t>(field)]);
    },
    [](TlResultSet*, int32_t) { return false; },
    [](TlResultSet* self) { return Of(self).rows_.empty(); },
    [](TlResultSet* self) { Of(self).row_ = 0; },
    [](TlResultSet* self) { ++Of(self).row_; },
    [](TlResultSet* self) { return Of(self).row_ >= Of(self).rows_.size(); },
    [](TlResultSet*) -> int64_t { return 0; }, // no status words
};

FakeResultSet::FakeResultSet(std::vector<std::string> columns, std::vector<std::vector<double>> rows)
    : abi_{{&kVtbl}, this}, columns_(std::move(columns)), rows_(std::move(rows)) {}

// ---- FakeHost --------------------------------------------------------------------------------

const TlHostServiceVtbl FakeHost::kVtbl = {
    [](TlHostService*, const void*, void**) -> int32_t { return -1; },
    [](TlHostService* self) { return static_cast<uint32_t>(++Of(self).references_); },
    [](TlHostService* self) { return static_cast<uint32_t>(--Of(self).references_); },
    [](TlHostService* self, int32_t task_id, const char* sql, const TlVariant* params, int32_t param_count,
       TlDataReadyProc handler, void* context) {
        RecordedQuery query;
        query.task_id = task_id;
        query.sql = Cp1251ToUtf8(sql != nullptr ? sql : "");
        for (int32_t i = 0; i < param_count; ++i) {
            query.params.push_back(FromAbi(params[i], true));
        }
        query.handler = handler;
        query.context = context;
        Of(self).queries_.push_back(std::move(query));
    },
    [](TlHostService* self, TlResultSet** result) {
        Of(self).released_.push_back(*result);
        *result = nullptr;
    },
    [](TlHostService* self, const char* table, TlRecords* records) {
        StoredRecords stored;
        stored.table = Cp1251ToUtf8(table);
        for (int32_t r = 0; r < records->vtbl->Count(records); ++r) {
            auto& fields = stored.records.emplace_back();
            for (int32_t f = 0; f < records->vtbl->FieldCount(records, r); ++f) {
                fields.emplace_back(Cp1251ToUtf8(records->vtbl->FieldName(records, r, f)),
                                    FromAbi(records->vtbl->Value(records, r, f), true));
            }
        }
        Of(self).stored_.push_back(std::move(stored));
        records->vtbl->Release(records);
    },
    [](TlHostService*) {},
    [](TlHostService*) {},
    [](TlHostService* self, int32_t index, void** value) {
        FakeHost& host = Of(self);
        host.asked_.push_back(index);
        const auto it = host.params_.find(index);
        if (it == host.params_.end()) {
            return false;
        }
        *value = it->second;
        return true;
    },
};

FakeHost::FakeHost() : abi_{{&kVtbl}, this} {}

FakeHost::~FakeHost() = default;

void FakeHost::SetStandardParams(uint32_t window, uint32_t message, const std::string& log_directory) {
    window_ = window;
    message_ = message;
    log_directory_ = Utf8ToCp1251(log_directory);
    log_directory_ptr_ = log_directory_.c_str();
    SetParam(TL_PARAM_COMPLETION_WINDOW, &window_);
    SetParam(TL_PARAM_COMPLETION_MESSAGE, &message_);
    SetParam(TL_PARAM_STATUS_CALLBACK, reinterpret_cast<void*>(&FakeHost::StatusCallback));
    SetParam(TL_PARAM_LOG_DIRECTORY, &log_directory_ptr_);
}

TlResultSet* FakeHost::Complete(size_t index, TlResultSet* set) {
    const RecordedQuery query = queries_.at(index);
    TlResultSet* variable = set;
    query.handler(query.context, query.task_id, &variable);
    return variable;
}

int FakeHost::ReleaseCount(const TlResultSet* set) const {
    return static_cast<int>(std::count(released_.begin(), released_.end(), set));
}

std::vector<std::pair<std::string, std::string>>& FakeHost::StatusLines() {
    static std::vector<std::pair<std::string, std::string>> lines;
    return lines;
}

void FakeHost::StatusCallback(const char* scenario, const char* line) {
    StatusLines().emplace_back(Cp1251ToUtf8(scenario), Cp1251ToUtf8(line));
}

} // namespace tl::test
