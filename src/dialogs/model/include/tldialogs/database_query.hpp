// The dialogs' catalogue statements go through the database library (DBExecSQL / DBFreeDataSet),
// as the metering system's dialogs run theirs, on the process-wide connection.
#pragma once

#include "tlosses/abi.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace tl::dialogs {

struct FreeDataSet {
    void operator()(TlResultSet* set) const;
};

class QueryRows {
public:
    // Runs the statement; throws std::runtime_error with the database's text when it fails.
    QueryRows(std::string_view sql, std::initializer_list<TlVariant> params = {});

    bool AtEnd() const;
    void Next();
    int32_t Field(std::string_view name) const; // -1 when absent
    int32_t Integer(int32_t field) const;
    bool IsNull(int32_t field) const;
    std::string Text(int32_t field) const; // UTF-8

private:
    std::unique_ptr<TlResultSet, FreeDataSet> set_;
};

} // namespace tl::dialogs
