#include "host_jobs.hpp"

#include "momentary_description.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlhost/host_service.hpp"

#include <algorithm>
#include <cstring>
#include <fmt/format.h>
#include <stdexcept>
#include <string_view>
#include <strings.h>

namespace tl::host {
namespace {

std::string FromCp1251(const char* text) {
    return text != nullptr ? Cp1251ToUtf8(text) : std::string();
}

} // namespace

int64_t StatusWordFromDouble(double carrier) {
    int64_t word = 0;
    static_assert(sizeof(word) == sizeof(carrier));
    std::memcpy(&word, &carrier, sizeof(word));
    return word;
}

QueryJob::QueryJob(int32_t task_id, const char* sql_cp1251, const TlVariant* params, int32_t param_count,
                   TlDataReadyProc handler, void* context)
    : task_id_(task_id), sql_(FromCp1251(sql_cp1251)), handler_(handler), context_(context) {
    const auto count = params != nullptr && param_count > 0 ? static_cast<size_t>(param_count) : 0;
    params_.assign(params, params + count);
    // Strings first, pointers after, so that growing the vector cannot move a text already pointed at.
    texts_.resize(count);
    for (size_t i = 0; i < count; ++i) {
        if (params_[i].kind == TL_VT_STRING) {
            texts_[i] = FromCp1251(params_[i].v.str);
            params_[i].v.str = texts_[i].c_str();
        }
    }
}

void QueryJob::Execute(tl::db::Connection& connection) noexcept {
    if (sql_.empty()) {
        return; // nothing to read: the handler gets a NULL set
    }
    if (!fault_.empty()) {
        error_ = fault_;
        return;
    }
    try {
        result_ = connection.Query(sql_, params_);
        if (result_ != nullptr && IsMomentaryDescriptionQuery(sql_)) {
            error_ = MomentaryDescriptionProblem(*result_);
            if (!error_.empty()) {
                result_.reset();
            }
        }
    } catch (const std::exception& e) {
        error_ = e.what();
    } catch (...) {
        error_ = "unknown error";
    }
    if (error_.empty() && result_ == nullptr) {
        error_ = "the database library returned no result set";
    }
}

void QueryJob::Deliver(HostService& service) {
    if (!error_.empty()) {
        // Told first, so that the task is stopped before the driver could take the missing set
        // for an empty answer.
        service.QueryFailed(task_id_, error_, sql_);
    }
    service.NoteDelivered(task_id_, result_.get());
    TlResultSet* variable = service.AdoptSet(std::move(result_));
    // After the call the set is the driver's business: it releases it now or later, or the host
    // reports it as never released at shutdown.
    const HostService::TaskCall call(service, task_id_);
    handler_(context_, task_id_, &variable);
}

void QueryJob::Abandon(HostService& service) {
    service.Diagnose(fmt::format("the result of a query of task {} was never delivered", task_id_));
    result_.reset();
}

StoreJob::StoreJob(int32_t task_id, const char* table_cp1251, TlRecords* records)
    : task_id_(task_id), table_(FromCp1251(table_cp1251)), records_(records) {}

StoreJob::~StoreJob() {
    if (records_ != nullptr) {
        records_->vtbl->Release(records_);
    }
}

void StoreJob::Execute(tl::db::Connection& connection) noexcept {
    if (records_ == nullptr) {
        return;
    }
    try {
        if (table_.empty()) {
            throw std::runtime_error("no table name");
        }
        const TlRecordsVtbl& records = *records_->vtbl;
        const int32_t count = records.Count(records_);
        std::vector<std::string> raw_names;
        std::vector<std::string> names;
        std::vector<std::string_view> name_views;
        std::vector<std::string> texts;
        std::vector<TlVariant> values;
        connection.Begin();
        try {
            for (int32_t r = 0; r < count; ++r) {
                const auto fields = static_cast<size_t>(std::max(records.FieldCount(records_, r), 0));
                raw_names.resize(fields);
                names.resize(fields);
                name_views.resize(fields);
                texts.resize(fields);
                values.resize(fields);
                for (size_t f = 0; f < fields; ++f) {
                    const auto field = static_cast<int32_t>(f);
                    // Records of one call mostly share their names: convert a name only when it changes.
                    const char* raw = records.FieldName(records_, r, field);
                    std::string_view raw_view = raw != nullptr ? raw : "";
                    if (raw_view != raw_names[f] || names[f].empty()) {
                        raw_names[f] = raw_view;
                        names[f] = Cp1251ToUtf8(raw_view);
                    }
                    name_views[f] = names[f];
                    TlVariant value = records.Value(records_, r, field);
                    if (value.kind == TL_VT_STRING) {
                        texts[f] = FromCp1251(value.v.str);
                        value.v.str = texts[f].c_str();
                    } else if (value.kind == TL_VT_DOUBLE && strcasecmp(names[f].c_str(), "TvkStatus") == 0) {
                        value.kind = TL_VT_INT64;
                        value.v.i64 = StatusWordFromDouble(value.v.f64);
                    }
                    values[f] = value;
                }
                connection.InsertOrReplace(table_, name_views, values);
            }
            if (!fault_.empty()) {
                throw std::runtime_error(fault_);
            }
            connection.Commit();
        } catch (...) {
            try {
                connection.Rollback();
            } catch (...) {
                // the write's own error is the one worth reporting
            }
            throw;
        }
        written_ = count;
    } catch (const std::exception& e) {
        error_ = e.what();
    } catch (...) {
        error_ = "unknown error";
    }
}

void StoreJob::Deliver(HostService& service) {
    if (!error_.empty()) {
        service.StoreFailed(task_id_, table_, error_);
    } else {
        service.CountWritten(task_id_, written_);
    }
    ReleaseRecords(service);
}

void StoreJob::Abandon(HostService& service) {
    Deliver(service);
}

void StoreJob::ReleaseRecords(HostService& service) {
    if (records_ != nullptr) {
        TlRecords* records = records_;
        records_ = nullptr;
        records->vtbl->Release(records);
        service.CountRecordsReleased();
    }
}

} // namespace tl::host
