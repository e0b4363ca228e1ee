// The C functions of the database library. No exception leaves them: a failure becomes -1 (or an
// empty answer) and its text is kept for DBLastError.
#include "memory_result_set.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlplatform/dbd.h"

#include <exception>
#include <string>
#include <vector>

namespace {

using tl::db::Connection;

thread_local std::string t_last_error;

void ClearError() {
    t_last_error.clear();
}

void NoteFailure() {
    try {
        throw;
    } catch (const std::exception& e) {
        t_last_error = e.what();
    } catch (...) {
        t_last_error = "unknown failure";
    }
}

Connection& OpenConnection() {
    Connection* connection = tl::db::ProcessConnection();
    if (connection == nullptr) {
        throw tl::db::Error("no database is open");
    }
    return *connection;
}

std::span<const TlVariant> Params(const TlVariant* params, int32_t count) {
    if (count < 0 || (count > 0 && params == nullptr)) {
        throw tl::db::Error("invalid parameter list");
    }
    return {params, static_cast<size_t>(count)};
}

// Writes the rows in one transaction; names and values are read through `field`.
template <typename RowSource>
int32_t WriteRows(const char* table, int32_t count, RowSource&& row) {
    if (table == nullptr) {
        throw tl::db::Error("no table given");
    }
    auto lock = tl::db::LockProcessConnection();
    Connection& connection = OpenConnection();
    std::vector<std::string_view> names;
    std::vector<TlVariant> values;
    connection.Begin();
    try {
        for (int32_t r = 0; r < count; ++r) {
            names.clear();
            values.clear();
            row(r, names, values);
            connection.InsertOrReplace(table, names, values);
        }
        connection.Commit();
    } catch (...) {
        connection.Rollback();
        throw;
    }
    return count;
}

} // namespace

extern "C" {

int32_t DBOpenDatabase(const char* uri) {
    try {
        ClearError();
        if (uri == nullptr) {
            throw tl::db::Error("no database given");
        }
        tl::db::SetProcessConnection(Connection::OpenExisting(uri));
        return 0;
    } catch (...) {
        NoteFailure();
        return -1;
    }
}

void DBCloseDatabase(void) {
    try {
        tl::db::SetProcessConnection(nullptr);
    } catch (...) {
        NoteFailure();
    }
}

bool DBIsDatabaseOpen(void) {
    return tl::db::ProcessConnection() != nullptr;
}

const char* DBLastError(void) {
    return t_last_error.c_str();
}

int32_t DBExecSQL(TlResultSet** result, const char* sql, const TlVariant* params, int32_t param_count,
                  int32_t want_result) {
    try {
        ClearError();
        if (result != nullptr) {
            *result = nullptr;
        }
        if (sql == nullptr) {
            throw tl::db::Error("no SQL text given");
        }
        const auto values = Params(params, param_count);
        auto lock = tl::db::LockProcessConnection();
        Connection& connection = OpenConnection();
        if (want_result != 0) {
            if (result == nullptr) {
                throw tl::db::Error("no result-set variable given");
            }
            *result = connection.Query(sql, values).release();
        } else {
            connection.Execute(sql, values);
        }
        return 0;
    } catch (...) {
        NoteFailure();
        return -1;
    }
}

void DBFreeDataSet(TlResultSet** result) {
    if (result == nullptr) {
        return;
    }
    // A set of another maker cannot be freed here; dropping the reference is all that is safe.
    if (tl::db::MemoryResultSet::Owns(*result)) {
        delete static_cast<tl::db::ResultSet*>(*result);
    }
    *result = nullptr;
}

int64_t DBGetStatusInt(TlResultSet* result) {
    if (result == nullptr || result->vtbl == nullptr || result->vtbl->StatusWord == nullptr) {
        return 0;
    }
    return result->vtbl->StatusWord(result);
}

const char* DBGetFieldText(TlResultSet* result, int32_t field) {
    try {
        if (!tl::db::MemoryResultSet::Owns(result)) {
            return nullptr;
        }
        auto* set = static_cast<tl::db::MemoryResultSet*>(static_cast<tl::db::ResultSet*>(result));
        return set->AsCString(field);
    } catch (...) {
        NoteFailure();
        return nullptr;
    }
}

int32_t DBAddRecords(const char* table, const TlRecords* records, void* /*context*/) {
    try {
        ClearError();
        if (records == nullptr || records->vtbl == nullptr) {
            throw tl::db::Error("no records given");
        }
        const auto* vtbl = records->vtbl;
        return WriteRows(table, vtbl->Count(records), [&](int32_t r, auto& names, auto& values) {
            const int32_t fields = vtbl->FieldCount(records, r);
            for (int32_t f = 0; f < fields; ++f) {
                const char* name = vtbl->FieldName(records, r, f);
                names.emplace_back(name != nullptr ? name : "");
                values.push_back(vtbl->Value(records, r, f));
            }
        });
    } catch (...) {
        NoteFailure();
        return -1;
    }
}

int32_t DBAddRecord(const char* table, const char* const* names, const TlVariant* values, int32_t count) {
    try {
        ClearError();
        if (count < 0 || (count > 0 && (names == nullptr || values == nullptr))) {
            throw tl::db::Error("invalid record");
        }
        return WriteRows(table, 1, [&](int32_t, auto& row_names, auto& row_values) {
            for (int32_t f = 0; f < count; ++f) {
                row_names.emplace_back(names[f] != nullptr ? names[f] : "");
                row_values.push_back(values[f]);
            }
        });
    } catch (...) {
        NoteFailure();
        return -1;
    }
}

} // extern "C"
