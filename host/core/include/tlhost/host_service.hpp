// The host service interface handed to the driver at InitDriver, with the host's event loop.
//
// Queries and record writes run on two background workers (DbWorker), each with a database
// connection of its own: one answers the queries, in the order the driver issued them, the other
// writes the records, in the order they were handed over. A pass is thus stored while the driver
// reads and computes the next one: the driver reads metering data and writes results under
// parameters of their own (30000 and more), so a query never waits for, nor needs, the rows of a
// store still running. Results come back to the thread that calls ProcessMessage: the completion
// handler of a query is called there, after ExecQuery has returned and never during another call
// into the driver, one query at a time in the order issued. The driver's completion messages arrive
// through the same wm queue and are passed to the completion sink.
//
// A query or store that fails is counted against the task it was made for, its text (the
// database's own) goes to the diagnostics, and the failure sink is told, so that the task runner
// can stop the task instead of letting the driver take a failure for an empty answer. Every store
// is one transaction; a store of the task handed over after the failure is not written (the
// driver may have computed it before it heard of the failure), so the rows stored are those of the
// passes before the failed one, each whole. A store that fails after the driver has ended its task
// leaves the task's result code as the driver gave it, and still counts as failed.
#pragma once

#include "tlhost/db_worker.hpp"
#include "tlhost/task_counters.hpp"
#include "tlosses/abi.h"
#include "tlplatform/db_connection.hpp"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tl::host {

// Texts are UTF-8.
using StatusSink = std::function<void(std::string_view scenario, std::string_view line)>;
using CompletionSink = std::function<void(int32_t task_id, int32_t code)>;
using DiagnosticSink = std::function<void(std::string_view text)>;
// For progress displays, on the loop thread: a query as the driver issues it (SQL in UTF-8, the
// parameters as given), and the rows of its result as it is delivered (-1: no result set).
using QueryIssuedSink =
    std::function<void(int32_t task_id, std::string_view sql, std::span<const TlVariant> params)>;
using QueryDeliveredSink = std::function<void(int32_t task_id, int64_t rows)>;
// On the loop thread, when a query or store made for a task failed; `text` holds the database's
// own words.
using FailureSink = std::function<void(int32_t task_id, std::string_view text)>;
// On the loop thread, after each call into the driver made for a task (its start, its stop, the
// answer to one of its queries).
using StepObserver = std::function<void(int32_t task_id)>;

// Test hook: the Nth query or store (counted from 1; 0: none) fails as if the database had
// refused it. A failing store writes its rows first and then rolls them back.
struct FaultInjection {
    int64_t query = 0;
    int64_t store = 0;
};

struct HostServiceOptions {
    // Where the worker opens its connection; normally the process-wide connection's URI.
    std::string database_uri;
    // Answer to parameter 1.
    std::string host_name = "tlhost";
    // Answer to parameter 100 (UTF-8 path); unanswered when absent, so the driver uses its default.
    std::optional<std::string> log_directory;
    // Answer to parameter 102 (UTF-8 path): the one directory the task scripts' includes are read
    // from; unanswered when absent, so every include is refused.
    std::optional<std::string> include_directory;
    // Status lines; by default printed to stdout as "HH:MM:SS scenario: line".
    StatusSink status;
    // The host's own warnings (failed queries and writes, misuse by the driver); stderr by default.
    DiagnosticSink diagnostics;
    // Optional observers of the driver's queries.
    QueryIssuedSink query_issued;
    QueryDeliveredSink query_delivered;
    // How long a write of the worker waits for another connection's lock before it fails; the
    // database library's default when absent.
    std::optional<std::chrono::milliseconds> busy_timeout;
    // Answer to parameter 104: the local date-time the driver takes as "now"; unanswered when
    // absent, so the driver reads the system clock.
    std::optional<double> clock;
    FaultInjection faults;
};

struct HostServiceStats {
    int64_t queries = 0;          // ExecQuery calls accepted
    int64_t failed_queries = 0;   // delivered as a NULL set
    int64_t stores = 0;           // StoreRecords calls accepted
    int64_t failed_stores = 0;    // rolled back
    int64_t skipped_stores = 0;   // not written: an earlier query or store of the task had failed
    int64_t rows_written = 0;     // rows of committed stores
    int64_t records_released = 0; // Release calls made on records handed over
    int64_t live_sets = 0;        // sets delivered and not yet released
    int64_t unknown_releases = 0; // ReleaseDataSet of a set this host does not hold
};

class HostService;
class HostJob;

struct HostServiceRelease {
    void operator()(HostService* service) const;
};
// The host's own reference; the driver holds its references through AddRef/Release.
using HostServicePtr = std::unique_ptr<HostService, HostServiceRelease>;

class HostService : public TlHostService {
public:
    // Window-message numbers: the driver's completion message, and the worker's "job finished".
    static constexpr uint32_t kCompletionMessage = 0x8001;
    static constexpr uint32_t kJobFinishedMessage = 0x8002;
    // A query's first rows are there (wparam: the job).
    static constexpr uint32_t kQueryReadyMessage = 0x8003;

    // Opens the worker's connection (throws tl::db::Error when it cannot) and creates the queue.
    // The caller holds the one reference.
    static HostServicePtr Create(HostServiceOptions options);

    HostService(const HostService&) = delete;
    HostService& operator=(const HostService&) = delete;

    TlHostService* Abi() { return this; }
    uint32_t Queue() const { return queue_; }

    // One sink at a time; `owner` identifies who set it, so that only the owner clears it.
    void SetCompletionSink(CompletionSink sink, const void* owner = nullptr) {
        completion_ = std::move(sink);
        completion_owner_ = owner;
    }
    void ClearCompletionSink(const void* owner) {
        if (completion_owner_ == owner) {
            completion_ = nullptr;
            completion_owner_ = nullptr;
        }
    }
    void SetFailureSink(FailureSink sink, const void* owner = nullptr) {
        failure_ = std::move(sink);
        failure_owner_ = owner;
    }
    void ClearFailureSink(const void* owner) {
        if (failure_owner_ == owner) {
            failure_ = nullptr;
            failure_owner_ = nullptr;
        }
    }
    void SetStepObserver(StepObserver observer) { step_observer_ = std::move(observer); }

    // Marks a call into the driver made for one task: what the driver stores and reports meanwhile
    // is counted for that task, and the step observer hears of it when the call has returned.
    class TaskCall {
    public:
        TaskCall(HostService& service, int32_t task_id);
        ~TaskCall();
        TaskCall(const TaskCall&) = delete;
        TaskCall& operator=(const TaskCall&) = delete;

    private:
        HostService& service_;
        int32_t task_id_;
        int32_t outer_;
    };

    // The interrupt flag answered for parameter 103: while it is set, the driver ends every step
    // that runs (a script in an endless loop included) as a stop. Safe from any thread and from a
    // signal handler.
    void RequestInterrupt() { std::atomic_ref<int32_t>(interrupt_flag_).store(1, std::memory_order_relaxed); }
    void ClearInterrupt() { std::atomic_ref<int32_t>(interrupt_flag_).store(0, std::memory_order_relaxed); }
    bool InterruptRequested() const {
        return std::atomic_ref<int32_t>(interrupt_flag_).load(std::memory_order_relaxed) != 0;
    }

    // Waits up to timeout_ms (negative: forever) for one message and handles it. False on timeout.
    bool ProcessMessage(int32_t timeout_ms);
    // Queries and writes issued but not yet delivered back to this thread.
    int64_t OutstandingJobs() const;
    HostServiceStats Stats() const;
    // Everything counted for a task so far (empty counters for an id never seen).
    TaskCounters CountersOf(int32_t task_id) const;

    // Once the tasks of a run are done and their jobs delivered: waits on the writer for what its
    // connection left running after the last commits (SQLite's checkpoint), as one more job. True
    // when such a job was posted; a failure there reaches the task that stored last as a store's.
    bool SettleStores();

    // Finishes every queued job (results not yet delivered are freed, records released), destroys
    // the queue and frees sets the driver never released. Call after DeInitDriver.
    void Shutdown();

    // Takes a result set over and registers it as live until ReleaseDataSet.
    TlResultSet* AdoptSet(std::shared_ptr<tl::db::ResultSet> set);
    void Diagnose(std::string_view text) const;
    // The job side: each finished query and store reports here, on the loop thread.
    // `rows`: of the set read for the query, -1 when there is none.
    void NoteDelivered(int32_t task_id, int64_t rows);
    void QueryFailed(int32_t task_id, std::string_view error, std::string_view sql);
    void StoreFailed(int32_t task_id, std::string_view table, std::string_view error);
    void StoreSkipped(int32_t task_id, std::string_view table);
    void SettleFailed(int32_t task_id, std::string_view error);
    void CountWritten(int32_t task_id, int64_t rows);
    void CountRecordsReleased();
    // The task whose call into the driver is running (0 outside any).
    int32_t CurrentTask() const { return current_task_; }

private:
    explicit HostService(HostServiceOptions options);
    ~HostService();
    friend struct HostServiceRelease;

    static int32_t DoQueryInterface(TlHostService* self, const void* iid, void** out);
    static uint32_t DoAddRef(TlHostService* self);
    static uint32_t DoRelease(TlHostService* self);
    static void DoExecQuery(TlHostService* self, int32_t task_id, const char* sql, const TlVariant* params,
                            int32_t param_count, TlDataReadyProc handler, void* context);
    static void DoReleaseDataSet(TlHostService* self, TlResultSet** result);
    static void DoStoreRecords(TlHostService* self, const char* table, TlRecords* records);
    static void DoReserved(TlHostService* self);
    static bool DoGetParam(TlHostService* self, int32_t index, void** value);
    static void StatusTrampoline(const char* scenario, const char* line);
    static const TlHostServiceVtbl kVtbl;

    void ExecQuery(int32_t task_id, const char* sql, const TlVariant* params, int32_t param_count,
                   TlDataReadyProc handler, void* context);
    void ReleaseDataSet(TlResultSet** result);
    void StoreRecords(const char* table, TlRecords* records);
    bool GetParam(int32_t index, void** value);
    bool Post(std::unique_ptr<HostJob> job, DbWorker& worker);
    void DeliverFinished(DbWorker& worker);
    void NoteStatusLine(std::string_view line);
    void ReportFailure(int32_t task_id, std::string text);

    std::atomic<uint32_t> references_{1};
    HostServiceOptions options_;
    uint32_t queue_ = 0;
    std::unique_ptr<DbWorker> reader_; // the driver's queries
    std::unique_ptr<DbWorker> writer_; // the records it hands over
    StoreGate gate_;
    uint64_t next_sequence_ = 0;
    // The task of the last store posted since the writer was last settled.
    std::optional<int32_t> unsettled_task_;
    CompletionSink completion_;
    const void* completion_owner_ = nullptr;
    FailureSink failure_;
    const void* failure_owner_ = nullptr;
    StepObserver step_observer_;
    int32_t current_task_ = 0;
    bool shut_down_ = false;

    // Values the driver copies through GetParam.
    std::string host_name_cp1251_;
    const char* host_name_ptr_ = nullptr;
    std::string log_directory_cp1251_;
    const char* log_directory_ptr_ = nullptr;
    std::string include_directory_cp1251_;
    const char* include_directory_ptr_ = nullptr;
    uint8_t param3_ = 1;
    uint32_t param4_ = 1;
    uint32_t param5_ = 0;
    uint32_t completion_message_ = kCompletionMessage;
    double clock_ = 0;
    // The driver keeps its address and reads it while a step runs on this thread.
    alignas(std::atomic_ref<int32_t>::required_alignment) mutable int32_t interrupt_flag_ = 0;

    mutable std::mutex mutex_;
    // Shared with the worker that may still be filling a set.
    std::unordered_map<TlResultSet*, std::shared_ptr<tl::db::ResultSet>> live_sets_;
    HostServiceStats stats_;
    std::unordered_map<int32_t, TaskCounters> tasks_;
    int64_t outstanding_ = 0;
};

} // namespace tl::host
