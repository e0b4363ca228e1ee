// The two kinds of work the host service hands to its worker: a query of the driver and a write
// of the records it handed over.
#pragma once

#include "tlhost/db_worker.hpp"
#include "tlosses/abi.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tl::host {

class HostService;

class HostJob : public DbJob {
public:
    // Before the job is posted: its place in the order of all jobs, and the gate its failure closes.
    void Admit(StoreGate& gate, uint64_t sequence) {
        gate_ = &gate;
        sequence_ = sequence;
    }

    // On the event-loop thread, after Execute.
    virtual void Deliver(HostService& service) = 0;
    // At shutdown, for a job executed but never delivered: free what it holds without the driver.
    virtual void Abandon(HostService& service) = 0;

protected:
    // On the worker thread: later stores of the task are not written.
    void CloseGate(int32_t task_id) const {
        if (gate_ != nullptr) {
            gate_->Failed(task_id, sequence_);
        }
    }
    bool GateClosed(int32_t task_id) const {
        return gate_ != nullptr && gate_->FailedBefore(task_id, sequence_);
    }

private:
    StoreGate* gate_ = nullptr;
    uint64_t sequence_ = 0;
};

// Copies the SQL text and the parameters (strings converted to UTF-8) before ExecQuery returns.
//
// A query's set is handed to the driver while it is still being read: `announce` (on the worker
// thread) tells the loop thread that the first rows are there, and the loop thread calls the
// handler with DeliverReady; the driver works on the rows read while the others are read. Deliver,
// once the query is over, then only reports the rows read or the failure. A query that fails before
// its first rows, or that ends before a chunk of rows is read, is delivered whole by Deliver.
class QueryJob : public HostJob {
public:
    QueryJob(int32_t task_id, const char* sql_cp1251, const TlVariant* params, int32_t param_count,
             TlDataReadyProc handler, void* context);

    // On the worker thread, once, when the set is handed over early.
    void SetAnnounce(std::function<void(QueryJob&)> announce) { announce_ = std::move(announce); }
    // On the worker thread as the query begins: whether it may take a second core (no store runs).
    void SetSecondCore(std::function<bool()> second_core) { second_core_ = std::move(second_core); }
    // On the loop thread, after `announce`: the handler gets the set.
    void DeliverReady(HostService& service);

    // The query fails with this text instead of running (a test's injected fault).
    void InjectFault(std::string text) { fault_ = std::move(text); }

    void Execute(tl::db::Connection& connection) noexcept override;
    void Deliver(HostService& service) override;
    void Abandon(HostService& service) override;

    const std::string& Sql() const { return sql_; }
    std::span<const TlVariant> Params() const { return params_; }

private:
    int32_t task_id_;
    std::string sql_;
    std::vector<std::string> texts_;
    std::vector<TlVariant> params_;
    TlDataReadyProc handler_;
    void* context_;
    std::function<void(QueryJob&)> announce_;
    std::function<bool()> second_core_;
    // Written on the worker thread before `announce` or the end of Execute; the loop thread reads
    // them after.
    std::shared_ptr<tl::db::ResultSet> result_;
    bool announced_ = false;
    int64_t rows_ = -1;        // of a set handed over early, counted once it is read
    bool handed_over_ = false; // on the loop thread
    std::string error_;
    std::string fault_;
};

// Writes every record in one transaction; the records are released on the loop thread once the
// write has finished, whatever its outcome. A store posted after a failed query or store of its
// task writes nothing: the pass it holds may have been computed without the rows that failed.
class StoreJob : public HostJob {
public:
    StoreJob(int32_t task_id, const char* table_cp1251, TlRecords* records);
    ~StoreJob() override;

    // The write fails with this text after its rows, which are rolled back (a test's injected fault).
    void InjectFault(std::string text) { fault_ = std::move(text); }

    void Execute(tl::db::Connection& connection) noexcept override;
    void Deliver(HostService& service) override;
    void Abandon(HostService& service) override;

private:
    void ReleaseRecords(HostService& service);

    int32_t task_id_;
    std::string table_;
    TlRecords* records_;
    int64_t written_ = 0;
    bool skipped_ = false;
    std::string error_;
    std::string fault_;
};

// Waits for what the writer's connection left running after its commits (Connection::Settle).
class SettleJob : public HostJob {
public:
    explicit SettleJob(int32_t task_id) : task_id_(task_id) {}

    void Execute(tl::db::Connection& connection) noexcept override;
    void Deliver(HostService& service) override;
    void Abandon(HostService& service) override { Deliver(service); }

private:
    int32_t task_id_;
    std::string error_;
};

// The 64-bit status word carried bit for bit in the eight bytes of a double.
int64_t StatusWordFromDouble(double carrier);

} // namespace tl::host
