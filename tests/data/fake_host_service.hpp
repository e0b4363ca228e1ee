// A host for tests: implements the host service interface, records every query and completes it
// when the test says so, counts releases of result sets, keeps stored records for inspection, and
// collects status lines. Also a small in-memory result set.
#pragma once

#include "tldata/variant.hpp"
#include "tlosses/abi.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tl::test {

class FakeResultSet {
public:
    FakeResultSet(std::vector<std::string> columns, std::vector<std::vector<double>> rows);
    TlResultSet* Set() { return &abi_.base; }

private:
    struct Abi {
        TlResultSet base;
        FakeResultSet* owner;
    };
    static FakeResultSet& Of(TlResultSet* self) { return *reinterpret_cast<Abi*>(self)->owner; }
    static const TlResultSetVtbl kVtbl;

    Abi abi_;
    std::vector<std::string> columns_;
    std::vector<std::vector<double>> rows_;
    size_t row_ = 0;
};

struct RecordedQuery {
    int32_t task_id = 0;
    std::string sql; // UTF-8, converted back from what the host received
    std::vector<Variant> params;
    TlDataReadyProc handler = nullptr;
    void* context = nullptr;
};

// A record list as the host read it through TlRecords (names and strings in UTF-8).
struct StoredRecords {
    std::string table;
    std::vector<std::vector<std::pair<std::string, Variant>>> records;
};

class FakeHost {
public:
    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    TlHostService* Service() { return &abi_.base; }

    // The usual parameters: completion window and message, status callback, log directory.
    void SetStandardParams(uint32_t window, uint32_t message, const std::string& log_directory);
    // GetParam answers `value` for `index` (for 8 and 11 the value itself, else its address).
    void SetParam(int32_t index, void* value) { params_[index] = value; }
    void RemoveParam(int32_t index) { params_.erase(index); }
    const std::vector<int32_t>& AskedParams() const { return asked_; }

    const std::vector<RecordedQuery>& Queries() const { return queries_; }
    // Delivers `set` (may be null) for query `index` through its completion handler, the way the
    // host does; returns what the host's variable holds afterwards.
    TlResultSet* Complete(size_t index, TlResultSet* set);

    // How many times ReleaseDataSet was called for `set`.
    int ReleaseCount(const TlResultSet* set) const;
    const std::vector<StoredRecords>& Stored() const { return stored_; }
    int32_t References() const { return references_; }

    // Status lines received (scenario, line), read as Windows-1251 and converted to UTF-8.
    static std::vector<std::pair<std::string, std::string>>& StatusLines();
    static void StatusCallback(const char* scenario, const char* line);

private:
    struct Abi {
        TlHostService base;
        FakeHost* owner;
    };
    static FakeHost& Of(TlHostService* self) { return *reinterpret_cast<Abi*>(self)->owner; }
    static const TlHostServiceVtbl kVtbl;

    Abi abi_;
    std::map<int32_t, void*> params_;
    std::vector<int32_t> asked_;
    std::vector<RecordedQuery> queries_;
    std::vector<TlResultSet*> released_;
    std::vector<StoredRecords> stored_;
    int32_t references_ = 0;
    // Storage behind the standard parameters.
    uint32_t window_ = 0;
    uint32_t message_ = 0;
    std::string log_directory_;
    const char* log_directory_ptr_ = nullptr;
};

} // namespace tl::test
