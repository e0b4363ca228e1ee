// The two kinds of work the host service hands to its worker: a query of the driver and a write
// of the records it handed over.
#pragma once

#include "tlhost/db_worker.hpp"
#include "tlosses/abi.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tl::host {

class HostService;

class HostJob : public DbJob {
public:
    // On the event-loop thread, after Execute.
    virtual void Deliver(HostService& service) = 0;
    // At shutdown, for a job executed but never delivered: free what it holds without the driver.
    virtual void Abandon(HostService& service) = 0;
};

// Copies the SQL text and the parameters (strings converted to UTF-8) before ExecQuery returns.
class QueryJob : public HostJob {
public:
    QueryJob(int32_t task_id, const char* sql_cp1251, const TlVariant* params, int32_t param_count,
             TlDataReadyProc handler, void* context);

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
    std::unique_ptr<tl::db::ResultSet> result_;
    std::string error_;
    std::string fault_;
};

// Writes every record in one transaction; the records are released on the loop thread once the
// write has finished, whatever its outcome.
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
    std::string error_;
    std::string fault_;
};

// The 64-bit status word carried bit for bit in the eight bytes of a double.
int64_t StatusWordFromDouble(double carrier);

} // namespace tl::host
