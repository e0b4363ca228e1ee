#include "host_jobs.hpp"

#include "momentary_description.hpp"
#include "record_batches.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlhost/host_service.hpp"

#include <algorithm>
#include <cstring>
#include <fmt/format.h>
#include <stdexcept>
#include <string_view>

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
            stream.second_core = !second_core_ || second_core_();
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
        const int32_t count = records_->vtbl->Count(records_);
        // The rows of one set of names go to the database a few thousand at a time; a large store
        // reads its next rows from the driver's records while the database writes these.
        constexpr size_t kRowsPerWrite = 4096;
        constexpr int32_t kRowsToReadAhead = 4 * static_cast<int32_t>(kRowsPerWrite);
        RecordBatches batches(records_, kRowsPerWrite, count >= kRowsToReadAhead);
        connection.ExpectRowsToWrite(count);
        connection.Begin();
        try {
            while (const RecordBatch* batch = batches.Next()) {
                if (batch->names.empty()) {
                    connection.InsertOrReplace(table_, {}, {}); // refused with the database library's text
                } else {
                    connection.InsertOrReplaceRows(table_, batch->name_views, batch->values);
                }
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

void SettleJob::Execute(tl::db::Connection& connection) noexcept {
    try {
        connection.Settle();
    } catch (const std::exception& e) {
        error_ = e.what();
    } catch (...) {
        error_ = "unknown error";
    }
}

void SettleJob::Deliver(HostService& service) {
    if (!error_.empty()) {
        service.SettleFailed(task_id_, error_);
    }
}

} // namespace tl::host
