// The database operations of the host service interface, from the C++ side: queries with C++
// values, result sets released through the host, record lists handed over for storing. Texts
// go to the host in Windows-1251.
#pragma once

#include "tldata/db_records.hpp"
#include "tldata/variant.hpp"
#include "tlosses/abi.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace tl {

// One counted reference to the host service interface.
class HostServiceRef {
public:
    HostServiceRef() = default;
    explicit HostServiceRef(TlHostService* service);
    HostServiceRef(const HostServiceRef& other);
    HostServiceRef& operator=(const HostServiceRef& other);
    ~HostServiceRef();

    // Adds a reference to `service` and releases the one held before.
    void Reset(TlHostService* service = nullptr);
    TlHostService* Get() const { return service_; }

private:
    TlHostService* service_ = nullptr;
};

class HostDatabase {
public:
    // Operations on `service`; each throws std::logic_error when it is null.
    explicit HostDatabase(TlHostService* service) : service_(service) {}

    // Starts `sql` in the host; the host later calls handler(context, task_id, &set). The values
    // are converted for the call only. A text without parameters still passes the integer 0, as
    // the host expects.
    void ExecQuery(int32_t task_id, std::string_view sql, std::span<const Variant> params,
                   TlDataReadyProc handler, void* context) const;
    // Frees the set a variable holds (the host clears the variable); an empty variable is left.
    void ReleaseDataSet(TlResultSet** result) const;
    // Hands the records to the host, which writes them into `table` and releases them.
    void StoreRecords(std::string_view table, std::unique_ptr<TDBRecords> records) const;

private:
    TlHostService& Service() const;
    TlHostService* service_;
};

} // namespace tl
