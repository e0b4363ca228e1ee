// A thin layer over one libpq connection: results that free themselves, every failure thrown as
// Error with the server's own text, and a connection that was lost opened again before the next
// statement (never in the middle of a transaction, whose work the loss has undone).
#pragma once

#include "pg_wire.hpp"
#include "tlplatform/db_connection.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct pg_conn;
struct pg_result;

namespace tl::db::pg {

struct ResultDeleter {
    void operator()(pg_result* result) const;
};
using Result = std::unique_ptr<pg_result, ResultDeleter>;

class PgParams;

class Session {
public:
    // `uri` is a libpq connection URI ("postgresql://user@host:port/db?options"); parts it leaves
    // out come from the PG* environment variables. Throws Error when the server cannot be reached.
    explicit Session(const std::string& uri);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    pg_conn* Raw() const { return conn_; }

    // Opens a lost connection again. Returns true when it did (the server's session state, temporary
    // tables included, is then new), false when the connection was fine. Throws when it cannot.
    bool Reconnect();
    // A transaction block is open (or failed and not yet rolled back).
    bool InTransaction() const;
    bool Lost() const;

    // A command without parameters (several separated by ";" are allowed).
    Result Exec(const char* sql, std::string_view what);
    // One statement with parameters; `binary` asks for the result in binary form.
    Result ExecParams(const std::string& sql, const PgParams& params, bool binary, std::string_view what);

    // Checks a result; throws Error with the server's text when it is a failure.
    void Check(const Result& result, std::string_view what) const;
    [[noreturn]] void FailConnection(std::string_view what) const;

    // COPY ... FROM STDIN: the data, then the end (with `abort_reason` the server discards it all).
    void PutCopyData(std::string_view data, std::string_view what);
    Result EndCopy(const char* abort_reason);

private:
    void Configure();

    pg_conn* conn_ = nullptr;
};

// The server's report of a failed result: its message, detail and hint, and SQLSTATE.
std::string ServerMessage(const pg_result* result);
// The SQLSTATE of a failed result ("" when it has none).
std::string SqlState(const pg_result* result);

} // namespace tl::db::pg
