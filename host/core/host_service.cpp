#include "tlhost/host_service.hpp"

#include "host_jobs.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/status_line.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlplatform/wm.h"

#include <cstdio>
#include <cstring>
#include <fmt/format.h>
#include <malloc.h>
#include <mutex>

namespace tl::host {
namespace {

// The status callback is a bare function pointer: it reaches the service created last.
std::atomic<HostService*> g_status_target{nullptr};

void PrintDiagnostic(std::string_view text) {
    fmt::print(stderr, "tlhost: {}\n", text);
}

// The worker of a "job finished" message.
constexpr uintptr_t kReaderJob = 0;
constexpr uintptr_t kWriterJob = 1;

std::unique_ptr<tl::db::Connection> OpenWorkerConnection(const HostServiceOptions& options,
                                                         tl::db::ConnectionRole role) {
    auto connection = tl::db::Connection::OpenExisting(options.database_uri);
    connection->TakeRole(role);
    if (options.busy_timeout.has_value()) {
        // PostgreSQL's counterpart of SQLite's busy timeout is the time a statement waits for a lock.
        const int64_t ms = options.busy_timeout->count();
        connection->Execute(connection->BackendName() == "sqlite"
                                ? fmt::format("pragma busy_timeout = {}", ms)
                                : fmt::format("set lock_timeout = {}", ms));
    }
    return connection;
}

// A run allocates and frees buffers of megabytes pass after pass (result sets, their columns, lists
// of records). With the allocator's sliding threshold such buffers soon come from the heap, where
// their pages stay with the process once freed, and the peak grows by what earlier passes left
// behind. Above a fixed 1 MiB they are mapped on their own and go back to the system when freed.
void ReturnLargeBuffersToTheSystem() {
#ifdef M_MMAP_THRESHOLD
    static std::once_flag once;
    std::call_once(once, [] { mallopt(M_MMAP_THRESHOLD, 1024 * 1024); });
#endif
}

} // namespace

const TlHostServiceVtbl HostService::kVtbl = {
    &HostService::DoQueryInterface, &HostService::DoAddRef,         &HostService::DoRelease,
    &HostService::DoExecQuery,      &HostService::DoReleaseDataSet, &HostService::DoStoreRecords,
    &HostService::DoReserved,       &HostService::DoReserved,       &HostService::DoGetParam,
};

void HostServiceRelease::operator()(HostService* service) const {
    service->vtbl->Release(service);
}

HostServicePtr HostService::Create(HostServiceOptions options) {
    ReturnLargeBuffersToTheSystem();
    auto reading = OpenWorkerConnection(options, tl::db::ConnectionRole::kReader);
    auto writing = OpenWorkerConnection(options, tl::db::ConnectionRole::kWriter);
    HostServicePtr service(new HostService(std::move(options)));
    HostService* raw = service.get();
    const uint32_t queue = raw->queue_;
    if (queue == 0) {
        throw HostError("cannot create the host's message queue");
    }
    raw->reader_ = std::make_unique<DbWorker>(
        std::move(reading), [queue] { WmPostMessage(queue, kJobFinishedMessage, kReaderJob, 0); });
    raw->writer_ = std::make_unique<DbWorker>(
        std::move(writing), [queue] { WmPostMessage(queue, kJobFinishedMessage, kWriterJob, 0); });
    g_status_target.store(raw);
    return service;
}

HostService::HostService(HostServiceOptions options) : TlHostService{&kVtbl}, options_(std::move(options)) {
    if (!options_.status) {
        options_.status = PrintStatusLine;
    }
    if (!options_.diagnostics) {
        options_.diagnostics = PrintDiagnostic;
    }
    host_name_cp1251_ = Utf8ToCp1251(options_.host_name);
    host_name_ptr_ = host_name_cp1251_.c_str();
    if (options_.log_directory) {
        log_directory_cp1251_ = Utf8ToCp1251(*options_.log_directory);
        log_directory_ptr_ = log_directory_cp1251_.c_str();
    }
    clock_ = options_.clock.value_or(0.0);
    if (options_.include_directory) {
        include_directory_cp1251_ = Utf8ToCp1251(*options_.include_directory);
        include_directory_ptr_ = include_directory_cp1251_.c_str();
    }
    queue_ = WmCreateQueue();
}

HostService::~HostService() {
    Shutdown();
}

bool HostService::ProcessMessage(int32_t timeout_ms) {
    TlWmMessage message{};
    if (shut_down_ || !WmGetMessage(queue_, &message, timeout_ms)) {
        return false;
    }
    if (message.message == kJobFinishedMessage) {
        DeliverFinished(message.wparam == kWriterJob ? *writer_ : *reader_);
    } else if (message.message == kQueryReadyMessage) {
        // The job stays with the reader until its "finished" message, which comes after this one.
        reinterpret_cast<QueryJob*>(message.wparam)->DeliverReady(*this);
    } else if (message.message == completion_message_) {
        if (completion_) {
            completion_(static_cast<int32_t>(message.wparam), static_cast<int32_t>(message.lparam));
        }
    } else {
        Diagnose(fmt::format("unexpected message {:#x} ignored", message.message));
    }
    return true;
}

void HostService::DeliverFinished(DbWorker& worker) {
    std::unique_ptr<DbJob> finished = worker.TakeFinished();
    if (finished == nullptr) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        --outstanding_;
    }
    static_cast<HostJob&>(*finished).Deliver(*this);
}

int64_t HostService::OutstandingJobs() const {
    std::lock_guard lock(mutex_);
    return outstanding_;
}

HostServiceStats HostService::Stats() const {
    std::lock_guard lock(mutex_);
    HostServiceStats stats = stats_;
    stats.live_sets = static_cast<int64_t>(live_sets_.size());
    return stats;
}

TaskCounters HostService::CountersOf(int32_t task_id) const {
    std::lock_guard lock(mutex_);
    const auto it = tasks_.find(task_id);
    return it != tasks_.end() ? it->second : TaskCounters{};
}

HostService::TaskCall::TaskCall(HostService& service, int32_t task_id)
    : service_(service), task_id_(task_id), outer_(service.current_task_) {
    service_.current_task_ = task_id;
}

HostService::TaskCall::~TaskCall() {
    service_.current_task_ = outer_;
    if (service_.step_observer_) {
        try {
            service_.step_observer_(task_id_);
        } catch (const std::exception& e) {
            service_.Diagnose(e.what());
        }
    }
}

void HostService::Shutdown() {
    if (shut_down_) {
        return;
    }
    shut_down_ = true;
    for (DbWorker* worker : {reader_.get(), writer_.get()}) {
        if (worker != nullptr) {
            worker->Stop();
            while (auto finished = worker->TakeFinished()) {
                static_cast<HostJob&>(*finished).Abandon(*this);
            }
        }
    }
    WmDestroyQueue(queue_);
    HostService* self = this;
    g_status_target.compare_exchange_strong(self, nullptr);

    std::lock_guard lock(mutex_);
    outstanding_ = 0;
#ifndef NDEBUG
    if (!live_sets_.empty()) {
        options_.diagnostics(fmt::format("leak: {} result set(s) delivered to the driver were never released",
                                         live_sets_.size()));
    }
#endif
    live_sets_.clear();
}

TlResultSet* HostService::AdoptSet(std::shared_ptr<tl::db::ResultSet> set) {
    if (set == nullptr) {
        return nullptr;
    }
    TlResultSet* handle = set.get();
    std::lock_guard lock(mutex_);
    live_sets_.emplace(handle, std::move(set));
    return handle;
}

void HostService::Diagnose(std::string_view text) const {
    options_.diagnostics(text);
}

void HostService::NoteDelivered(int32_t task_id, int64_t rows) {
    if (rows > 0) {
        std::lock_guard lock(mutex_);
        tasks_[task_id].rows_read += rows;
    }
    if (options_.query_delivered) {
        options_.query_delivered(task_id, rows);
    }
}

void HostService::QueryFailed(int32_t task_id, std::string_view error, std::string_view sql) {
    {
        std::lock_guard lock(mutex_);
        ++stats_.failed_queries;
        ++tasks_[task_id].failed_queries;
    }
    Diagnose(fmt::format("a query of task {} failed: {}\n  SQL: {}", task_id, error, sql));
    ReportFailure(task_id, fmt::format("query failed: {}", error));
}

void HostService::StoreFailed(int32_t task_id, std::string_view table, std::string_view error) {
    {
        std::lock_guard lock(mutex_);
        ++stats_.failed_stores;
        ++tasks_[task_id].failed_stores;
    }
    Diagnose(
        fmt::format("storing the records of task {} into table \"{}\" failed, none of them was stored: {}",
                    task_id, table, error));
    ReportFailure(task_id, fmt::format("store failed: {}", error));
}

void HostService::SettleFailed(int32_t task_id, std::string_view error) {
    {
        std::lock_guard lock(mutex_);
        ++stats_.failed_stores;
        ++tasks_[task_id].failed_stores;
    }
    Diagnose(fmt::format("the records stored by task {} are in the database's log, but could not be written "
                         "into the database file: {}",
                         task_id, error));
    ReportFailure(task_id, fmt::format("store failed: {}", error));
}

bool HostService::SettleStores() {
    if (!unsettled_task_.has_value() || shut_down_) {
        return false;
    }
    const int32_t task_id = *unsettled_task_;
    unsettled_task_.reset();
    return Post(std::make_unique<SettleJob>(task_id), *writer_);
}

void HostService::StoreSkipped(int32_t task_id, std::string_view table) {
    {
        std::lock_guard lock(mutex_);
        ++stats_.skipped_stores;
    }
    Diagnose(fmt::format("the records of task {} for table \"{}\" were not stored: an earlier query or store "
                         "of the task had failed",
                         task_id, table));
}

void HostService::ReportFailure(int32_t task_id, std::string text) {
    {
        std::lock_guard lock(mutex_);
        tasks_[task_id].failures.push_back(text);
    }
    // After shutdown the driver is gone: nothing is left to stop.
    if (failure_ && !shut_down_) {
        failure_(task_id, text);
    }
}

void HostService::CountWritten(int32_t task_id, int64_t rows) {
    std::lock_guard lock(mutex_);
    stats_.rows_written += rows;
    tasks_[task_id].rows_stored += rows;
}

void HostService::NoteStatusLine(std::string_view line) {
    std::vector<std::string> elements = IncompleteElementsOf(line);
    if (!elements.empty()) {
        std::lock_guard lock(mutex_);
        tasks_[current_task_].incomplete_elements = std::move(elements);
    }
}

void HostService::CountRecordsReleased() {
    std::lock_guard lock(mutex_);
    ++stats_.records_released;
}

bool HostService::Post(std::unique_ptr<HostJob> job, DbWorker& worker) {
    if (!shut_down_) {
        std::lock_guard lock(mutex_);
        ++outstanding_;
    }
    job->Admit(gate_, ++next_sequence_);
    std::unique_ptr<DbJob> queued = std::move(job);
    if (!shut_down_ && worker.Post(queued)) {
        return true;
    }
    {
        std::lock_guard lock(mutex_);
        outstanding_ = shut_down_ ? 0 : outstanding_ - 1;
    }
    static_cast<HostJob&>(*queued).Abandon(*this);
    return false;
}

// ---- The service interface ----------------------------------------------------------------------

void HostService::ExecQuery(int32_t task_id, const char* sql, const TlVariant* params, int32_t param_count,
                            TlDataReadyProc handler, void* context) {
    if (handler == nullptr) {
        Diagnose(fmt::format("ExecQuery of task {} without a completion handler ignored", task_id));
        return;
    }
    if (shut_down_) {
        Diagnose(fmt::format("ExecQuery of task {} after shutdown ignored", task_id));
        return;
    }
    int64_t number = 0;
    bool first_of_task = false;
    {
        std::lock_guard lock(mutex_);
        number = ++stats_.queries;
        first_of_task = ++tasks_[task_id].queries == 1;
    }
    if (first_of_task) {
        // The task's settings and element lists are read by now; its data comes through the
        // worker connections, so the pages the process connection cached are not read again.
        auto process_lock = tl::db::LockProcessConnection();
        if (tl::db::Connection* process = tl::db::ProcessConnection()) {
            process->ReleaseCachedPages();
        }
    }
    auto job = std::make_unique<QueryJob>(task_id, sql, params, param_count, handler, context);
    job->SetAnnounce([queue = queue_](QueryJob& ready) {
        WmPostMessage(queue, kQueryReadyMessage, reinterpret_cast<intptr_t>(&ready), 0);
    });
    // A query read beside a store leaves the second core to the store, whose writes are the run's
    // longest chain.
    job->SetSecondCore([writer = writer_.get()] { return writer->Idle(); });
    if (number == options_.faults.query) {
        job->InjectFault(fmt::format("injected fault: query {} of the run fails", number));
    }
    if (options_.query_issued) {
        options_.query_issued(task_id, job->Sql(), job->Params());
    }
    Post(std::move(job), *reader_);
}

void HostService::ReleaseDataSet(TlResultSet** result) {
    if (result == nullptr || *result == nullptr) {
        return;
    }
    std::shared_ptr<tl::db::ResultSet> set;
    {
        std::lock_guard lock(mutex_);
        auto it = live_sets_.find(*result);
        if (it != live_sets_.end()) {
            set = std::move(it->second);
            live_sets_.erase(it);
        } else {
            ++stats_.unknown_releases;
        }
    }
    if (set == nullptr) {
        Diagnose("ReleaseDataSet of a set this host does not hold (released twice?) ignored");
    }
    *result = nullptr;
}

void HostService::StoreRecords(const char* table, TlRecords* records) {
    if (records == nullptr) {
        Diagnose("StoreRecords without records ignored");
        return;
    }
    int64_t number = 0;
    {
        std::lock_guard lock(mutex_);
        number = ++stats_.stores;
        ++tasks_[current_task_].stores;
    }
    auto job = std::make_unique<StoreJob>(current_task_, table, records);
    unsettled_task_ = current_task_;
    if (number == options_.faults.store) {
        job->InjectFault(fmt::format("injected fault: store {} of the run fails", number));
    }
    if (!Post(std::move(job), *writer_)) {
        Diagnose("StoreRecords after shutdown: the records were released unwritten");
    }
}

bool HostService::GetParam(int32_t index, void** value) {
    if (value == nullptr) {
        return false;
    }
    switch (index) {
    case TL_PARAM_1:
        *value = &host_name_ptr_;
        return true;
    case TL_PARAM_3:
        *value = &param3_;
        return true;
    case TL_PARAM_4:
        *value = &param4_;
        return true;
    case TL_PARAM_5:
        *value = &param5_;
        return true;
    case TL_PARAM_COMPLETION_MESSAGE:
        *value = &completion_message_;
        return true;
    case TL_PARAM_COMPLETION_WINDOW:
        *value = &queue_;
        return true;
    case TL_PARAM_STATUS_CALLBACK: {
        TlStatusProc proc = &HostService::StatusTrampoline;
        static_assert(sizeof(proc) == sizeof(void*));
        std::memcpy(value, &proc, sizeof(proc));
        return true;
    }
    case TL_PARAM_APPLICATION:
        *value = this; // opaque to the driver
        return true;
    case TL_PARAM_LOG_DIRECTORY:
        if (log_directory_ptr_ == nullptr) {
            return false;
        }
        *value = &log_directory_ptr_;
        return true;
    case TL_PARAM_SCRIPT_INCLUDE_DIRECTORY:
        if (include_directory_ptr_ == nullptr) {
            return false;
        }
        *value = &include_directory_ptr_;
        return true;
    case TL_PARAM_INTERRUPT_FLAG:
        *value = &interrupt_flag_; // the flag's address itself, which the driver keeps
        return true;
    case TL_PARAM_CLOCK:
        if (!options_.clock.has_value()) {
            return false;
        }
        *value = &clock_;
        return true;
    default:
        return false;
    }
}

// ---- C trampolines: no exception crosses into the driver ------------------------------------------

namespace {

HostService& Self(TlHostService* self) {
    return *static_cast<HostService*>(self);
}

template <typename Fn>
void Guarded(TlHostService* self, const char* slot, Fn&& fn) noexcept {
    try {
        fn();
    } catch (const std::exception& e) {
        try {
            Self(self).Diagnose(fmt::format("{} failed: {}", slot, e.what()));
        } catch (...) {
        }
    } catch (...) {
        try {
            Self(self).Diagnose(fmt::format("{} failed", slot));
        } catch (...) {
        }
    }
}

} // namespace

int32_t HostService::DoQueryInterface(TlHostService*, const void*, void** out) {
    if (out != nullptr) {
        *out = nullptr;
    }
    return -1;
}

uint32_t HostService::DoAddRef(TlHostService* self) {
    return ++Self(self).references_;
}

uint32_t HostService::DoRelease(TlHostService* self) {
    const uint32_t left = --Self(self).references_;
    if (left == 0) {
        delete &Self(self);
    }
    return left;
}

void HostService::DoExecQuery(TlHostService* self, int32_t task_id, const char* sql, const TlVariant* params,
                              int32_t param_count, TlDataReadyProc handler, void* context) {
    Guarded(self, "ExecQuery",
            [&] { Self(self).ExecQuery(task_id, sql, params, param_count, handler, context); });
}

void HostService::DoReleaseDataSet(TlHostService* self, TlResultSet** result) {
    Guarded(self, "ReleaseDataSet", [&] { Self(self).ReleaseDataSet(result); });
}

void HostService::DoStoreRecords(TlHostService* self, const char* table, TlRecords* records) {
    Guarded(self, "StoreRecords", [&] { Self(self).StoreRecords(table, records); });
}

void HostService::DoReserved(TlHostService*) {}

bool HostService::DoGetParam(TlHostService* self, int32_t index, void** value) {
    bool answered = false;
    Guarded(self, "GetParam", [&] { answered = Self(self).GetParam(index, value); });
    return answered;
}

void HostService::StatusTrampoline(const char* scenario, const char* line) {
    HostService* target = g_status_target.load();
    if (target == nullptr) {
        return;
    }
    Guarded(target, "status callback", [&] {
        const std::string text = Cp1251ToUtf8(line != nullptr ? line : "");
        target->NoteStatusLine(text);
        target->options_.status(Cp1251ToUtf8(scenario != nullptr ? scenario : ""), text);
    });
}

} // namespace tl::host
