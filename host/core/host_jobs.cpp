#include "host_jobs.hpp"

#include "momentary_description.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlhost/host_service.hpp"

#include <algorithm>
#include <cstring>
#include <deque>
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
        CloseGate(task_id_);
        return;
    }
    std::shared_ptr<tl::db::ResultSet> filling; // the worker's own reference
    try {
        if (IsMomentaryDescriptionQuery(sql_)) {
            // Checked whole before the driver sees it.
            result_ = connection.Query(sql_, params_);
            if (result_ != nullptr) {
                error_ = MomentaryDescriptionProblem(*result_);
                if (!error_.empty()) {
                    result_.reset();
                }
            }
        } else {
            tl::db::QueryStream stream;
            stream.ready = [&](std::shared_ptr<tl::db::ResultSet> set) {
                filling = set;
                result_ = std::move(set);
                if (announce_) {
                    announced_ = true;
                    announce_(*this);
                }
            };
            // Before the driver can see the set end: a store it hands over after is not written.
            stream.failing = [&](std::string_view) { CloseGate(task_id_); };
            connection.QueryStreamed(sql_, params_, stream);
        }
    } catch (const std::exception& e) {
        error_ = e.what();
    } catch (...) {
        error_ = "unknown error";
    }
    if (announced_) {
        rows_ = filling->RowCount(); // ended by now, whole or cut short
    }
    if (error_.empty() && result_ == nullptr && !announced_) {
        error_ = "the database library returned no result set";
    }
    if (!error_.empty()) {
        CloseGate(task_id_);
    }
}

void QueryJob::DeliverReady(HostService& service) {
    handed_over_ = true;
    TlResultSet* variable = service.AdoptSet(std::move(result_));
    const HostService::TaskCall call(service, task_id_);
    handler_(context_, task_id_, &variable);
}

void QueryJob::Deliver(HostService& service) {
    if (announced_) {
        // The driver has had the set since its first rows.
        if (!error_.empty()) {
            service.QueryFailed(task_id_, error_, sql_);
        }
        service.NoteDelivered(task_id_, rows_);
        return;
    }
    if (!error_.empty()) {
        // Told first, so that the task is stopped before the driver could take the missing set
        // for an empty answer.
        service.QueryFailed(task_id_, error_, sql_);
    }
    service.NoteDelivered(task_id_, result_ != nullptr ? result_->RowCount() : -1);
    DeliverReady(service);
}

void QueryJob::Abandon(HostService& service) {
    if (handed_over_) {
        return;
    }
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
    if (GateClosed(task_id_)) {
        skipped_ = true;
        return;
    }
    try {
        if (table_.empty()) {
            throw std::runtime_error("no table name");
        }
        const TlRecordsVtbl& records = *records_->vtbl;
        const int32_t count = records.Count(records_);
        // The records of one call nearly always share one set of names, handed out as the same
        // pointers: names are converted, and the status field found, only when they change, and
        // the rows of one set of names go to the database a few thousand at a time.
        constexpr size_t kRowsPerWrite = 4096;
        std::vector<const char*> raw_names;
        std::vector<std::string> names;
        std::vector<std::string_view> name_views;
        std::deque<std::string> texts; // string values of the rows not yet written
        std::vector<TlVariant> values;
        int status_field = -1;
        const auto write = [&] {
            if (!values.empty()) {
                connection.InsertOrReplaceRows(table_, name_views, values);
            }
            values.clear();
            texts.clear();
        };
        connection.Begin();
        try {
            for (int32_t r = 0; r < count; ++r) {
                const auto fields = static_cast<size_t>(std::max(records.FieldCount(records_, r), 0));
                bool same_names = fields == raw_names.size() && fields > 0;
                for (size_t f = 0; same_names && f < fields; ++f) {
                    same_names = records.FieldName(records_, r, static_cast<int32_t>(f)) == raw_names[f];
                }
                if (!same_names || values.size() >= kRowsPerWrite * fields) {
                    write();
                }
                if (!same_names) {
                    raw_names.resize(fields);
                    names.resize(fields);
                    name_views.resize(fields);
                    status_field = -1;
                    for (size_t f = 0; f < fields; ++f) {
                        raw_names[f] = records.FieldName(records_, r, static_cast<int32_t>(f));
                        names[f] = FromCp1251(raw_names[f]);
                        name_views[f] = names[f];
                        if (strcasecmp(names[f].c_str(), "TvkStatus") == 0) {
                            status_field = static_cast<int>(f);
                        }
                    }
                }
                if (fields == 0) {
                    connection.InsertOrReplace(table_, {}, {}); // refused with the database library's text
                }
                for (size_t f = 0; f < fields; ++f) {
                    TlVariant value = records.Value(records_, r, static_cast<int32_t>(f));
                    if (value.kind == TL_VT_STRING) {
                        value.v.str = texts.emplace_back(FromCp1251(value.v.str)).c_str();
                    } else if (value.kind == TL_VT_DOUBLE && static_cast<int>(f) == status_field) {
                        value.kind = TL_VT_INT64;
                        value.v.i64 = StatusWordFromDouble(value.v.f64);
                    }
                    values.push_back(value);
                }
            }
            write();
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
    if (!error_.empty()) {
        CloseGate(task_id_);
    }
}

void StoreJob::Deliver(HostService& service) {
    if (skipped_) {
        service.StoreSkipped(task_id_, table_);
    } else if (!error_.empty()) {
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
