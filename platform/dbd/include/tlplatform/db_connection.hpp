// C++ side of the database library, for the host and the platform's own components.
#pragma once

#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tlosses/abi.h"

namespace tl::db {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A result set read completely into memory: compact columns, no allocation per row or cell
// except for text values. It is a TlResultSet, so it can be handed across the C ABI as it is.
class ResultSet : public TlResultSet {
public:
    virtual ~ResultSet() = default;
    virtual int32_t RowCount() const = 0;
    virtual int32_t ColumnCount() const = 0;
    virtual std::string ColumnName(int32_t column) const = 0;
};

class Connection {
public:
    virtual ~Connection() = default;

    // Opens "sqlite:PATH", a plain path (SQLite), or "postgresql://..." when built with it.
    // Throws Error with a clear text when the database cannot be opened.
    static std::unique_ptr<Connection> Open(std::string_view uri);

    // Runs a query with named parameters bound in order of appearance.
    virtual std::unique_ptr<ResultSet> Query(std::string_view sql, std::span<const TlVariant> params) = 0;
    // Runs a statement (or several separated by ";" when params is empty).
    virtual void Execute(std::string_view sql, std::span<const TlVariant> params = {}) = 0;

    virtual void Begin() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;

    // Insert or replace one row; names are column names. Prepared statements are cached per
    // (table, names) so that a long run of rows with the same shape costs one prepare.
    virtual void InsertOrReplace(std::string_view table, std::span<const std::string_view> names,
                                 std::span<const TlVariant> values) = 0;

    virtual std::string_view BackendName() const = 0;
    virtual const std::string& Uri() const = 0;
};

// The process-wide connection behind the C functions of dbd.h and the settings service.
Connection* ProcessConnection();
void SetProcessConnection(std::unique_ptr<Connection> connection);

// Creates the metering schema (tables, indexes) when it is missing.
void InitSchema(Connection& connection);

} // namespace tl::db
