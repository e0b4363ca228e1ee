#include "pg_session.hpp"

#include "pg_params.hpp"

#include <fmt/format.h>
#include <libpq-fe.h>

namespace tl::db::pg {
namespace {

std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string ConnectionMessage(const PGconn* conn) {
    return std::string(TrimEnd(conn != nullptr ? PQerrorMessage(conn) : "out of memory"));
}

} // namespace

void ResultDeleter::operator()(pg_result* result) const {
    PQclear(result);
}

std::string ServerMessage(const pg_result* result) {
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    if (primary == nullptr) {
        return std::string(TrimEnd(PQresultErrorMessage(result)));
    }
    std::string text = primary;
    if (const char* detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL)) {
        text += fmt::format(" ({})", TrimEnd(detail));
    }
    if (const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE)) {
        text += fmt::format(" [SQLSTATE {}]", state);
    }
    return text;
}

std::string SqlState(const pg_result* result) {
    const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return state != nullptr ? state : "";
}

Session::Session(const std::string& uri) {
    // The URI is expanded like a dbname; the keywords after it override what it says.
    const char* const keywords[] = {"dbname", "client_encoding", "fallback_application_name", nullptr};
    const char* const values[] = {uri.c_str(), "UTF8", "tlosses", nullptr};
    conn_ = PQconnectdbParams(keywords, values, 1);
    if (conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK) {
        const std::string message = ConnectionMessage(conn_);
        PQfinish(conn_);
        conn_ = nullptr;
        throw Error(message);
    }
    Configure();
}

Session::~Session() {
    PQfinish(conn_);
}

void Session::Configure() {
    // Notices (a table that already exists, ...) are the server talking to itself: not printed.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    // Queries read through cursors to the end: plan them for all their rows, not the first ones.
    Exec("set cursor_tuple_fraction = 1", "cannot set up the session");
}

bool Session::Lost() const {
    return PQstatus(conn_) == CONNECTION_BAD;
}

bool Session::InTransaction() const {
    const PGTransactionStatusType status = PQtransactionStatus(conn_);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

bool Session::Reconnect() {
    if (!Lost()) {
        return false;
    }
    PQreset(conn_);
    if (Lost()) {
        throw Error(
            fmt::format("the connection to the database server was lost and cannot be opened again: {}",
                        ConnectionMessage(conn_)));
    }
    Configure();
    return true;
}

void Session::FailConnection(std::string_view what) const {
    if (Lost()) {
        throw Error(fmt::format("{}: the connection to the database server was lost: {}", what,
                                ConnectionMessage(conn_)));
    }
    throw Error(fmt::format("{}: {}", what, ConnectionMessage(conn_)));
}

void Session::Check(const Result& result, std::string_view what) const {
    if (result == nullptr) {
        FailConnection(what);
    }
    switch (PQresultStatus(result.get())) {
    case PGRES_COMMAND_OK:
    case PGRES_TUPLES_OK:
    case PGRES_COPY_IN:
    case PGRES_EMPTY_QUERY:
        return;
    default:
        break;
    }
    if (Lost()) {
        FailConnection(what);
    }
    throw Error(fmt::format("{}: {}", what, ServerMessage(result.get())));
}

Result Session::Exec(const char* sql, std::string_view what) {
    Result result(PQexec(conn_, sql));
    Check(result, what);
    return result;
}

Result Session::ExecParams(const std::string& sql, const PgParams& params, bool binary,
                           std::string_view what) {
    Result result(PQexecParams(conn_, sql.c_str(), params.Count(), params.Types(), params.Values(),
                               params.Lengths(), params.Formats(), binary ? 1 : 0));
    Check(result, what);
    return result;
}

void Session::PutCopyData(std::string_view data, std::string_view what) {
    if (PQputCopyData(conn_, data.data(), static_cast<int>(data.size())) != 1) {
        FailConnection(what);
    }
}

Result Session::EndCopy(const char* abort_reason) {
    Result first;
    if (PQputCopyEnd(conn_, abort_reason) != 1) {
        return first;
    }
    // The COPY's own result, then nothing more.
    while (PGresult* next = PQgetResult(conn_)) {
        if (first == nullptr) {
            first.reset(next);
        } else {
            PQclear(next);
        }
    }
    return first;
}

} // namespace tl::db::pg
