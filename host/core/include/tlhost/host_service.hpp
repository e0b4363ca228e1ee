// The host service interface handed to the driver at InitDriver, with the host's event loop.
//
// Queries and record writes run on one background worker (DbWorker) with its own database
// connection, in the order the driver issued them. Their results come back to the thread that
// calls ProcessMessage: the completion handler of a query is called there, after ExecQuery has
// returned and never during another call into the driver. The driver's completion messages arrive
// through the same wm queue and are passed to the completion sink.
#pragma once

#include "tlhost/db_worker.hpp"
#include "tlosses/abi.h"
#include "tlplatform/db_connection.hpp"

#include <atomic>
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

struct HostServiceOptions {
    // Where the worker opens its connection; normally the process-wide connection's URI.
    std::string database_uri;
    // Answer to parameter 1.
    std::string host_name = "tlhost";
    // Answer to parameter 100 (UTF-8 path); unanswered when absent, so the driver uses its default.
    std::optional<std::string> log_directory;
    // Status lines; by default printed to stdout as "HH:MM:SS scenario: line".
    StatusSink status;
    // The host's own warnings (failed queries and writes, misuse by the driver); stderr by default.
    DiagnosticSink diagnostics;
    // Optional observers of the driver's queries.
    QueryIssuedSink query_issued;
    QueryDeliveredSink query_delivered;
};

struct HostServiceStats {
    int64_t queries = 0;          // ExecQuery calls accepted
    int64_t failed_queries = 0;   // delivered as a NULL set
    int64_t stores = 0;           // StoreRecords calls accepted
    int64_t failed_stores = 0;    // rolled back
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

    // Waits up to timeout_ms (negative: forever) for one message and handles it. False on timeout.
    bool ProcessMessage(int32_t timeout_ms);
    // Queries and writes issued but not yet delivered back to this thread.
    int64_t OutstandingJobs() const;
    HostServiceStats Stats() const;

    // Finishes every queued job (results not yet delivered are freed, records released), destroys
    // the queue and frees sets the driver never released. Call after DeInitDriver.
    void Shutdown();

    // Takes a result set over and registers it as live until ReleaseDataSet.
    TlResultSet* AdoptSet(std::unique_ptr<tl::db::ResultSet> set);
    void Diagnose(std::string_view text) const;
    void NoteDelivered(int32_t task_id, const tl::db::ResultSet* set) const;
    void CountFailure(bool query);
    void CountWritten(int64_t rows);
    void CountRecordsReleased();

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
    bool Post(std::unique_ptr<HostJob> job);
    void DeliverFinished();

    std::atomic<uint32_t> references_{1};
    HostServiceOptions options_;
    uint32_t queue_ = 0;
    std::unique_ptr<DbWorker> worker_;
    CompletionSink completion_;
    const void* completion_owner_ = nullptr;
    bool shut_down_ = false;

    // Values the driver copies through GetParam.
    std::string host_name_cp1251_;
    const char* host_name_ptr_ = nullptr;
    std::string log_directory_cp1251_;
    const char* log_directory_ptr_ = nullptr;
    uint8_t param3_ = 1;
    uint32_t param4_ = 1;
    uint32_t param5_ = 0;
    uint32_t completion_message_ = kCompletionMessage;

    mutable std::mutex mutex_;
    std::unordered_map<TlResultSet*, std::unique_ptr<tl::db::ResultSet>> live_sets_;
    HostServiceStats stats_;
    int64_t outstanding_ = 0;
};

} // namespace tl::host
