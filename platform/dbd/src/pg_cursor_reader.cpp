#include "pg_cursor_reader.hpp"

#include "pg_result_reader.hpp"
#include "sql_lexer.hpp"

#include <fmt/format.h>
#include <libpq-fe.h>

namespace tl::db::pg {
namespace {

// Rows per FETCH: about 2.5 MB in libpq for a row of the data table, reused batch after batch.
constexpr int kBatchRows = 10'000;
constexpr const char* kFetch = "fetch forward 10000 from tl_cursor";

// The statements of one read in libpq's pipeline mode, with what has been sent and not yet read.
class Pipeline {
public:
    Pipeline(Session& session, std::string_view what) : session_(session), conn_(session.Raw()), what_(what) {
        if (PQenterPipelineMode(conn_) != 1) {
            session_.FailConnection(what_);
        }
    }
    ~Pipeline() {
        // After a failure: the rest of what was sent is read and dropped, up to the last sync.
        while (syncs_pending_ > 0 && !session_.Lost()) {
            PGresult* result = PQgetResult(conn_);
            if (result != nullptr && PQresultStatus(result) == PGRES_PIPELINE_SYNC) {
                --syncs_pending_;
            }
            PQclear(result);
        }
        PQexitPipelineMode(conn_);
    }
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    void Send(const char* sql, const PgParams* params = nullptr, bool binary = false) {
        const int sent =
            params != nullptr
                ? PQsendQueryParams(conn_, sql, params->Count(), params->Types(), params->Values(),
                                    params->Lengths(), params->Formats(), binary ? 1 : 0)
                : PQsendQueryParams(conn_, sql, 0, nullptr, nullptr, nullptr, nullptr, binary ? 1 : 0);
        if (sent != 1) {
            session_.FailConnection(what_);
        }
    }
    void Sync() {
        if (PQpipelineSync(conn_) != 1) {
            session_.FailConnection(what_);
        }
        ++syncs_pending_;
    }

    // The result of the next statement sent, checked.
    Result Take() {
        Result result(PQgetResult(conn_));
        session_.Check(result, what_);
        PQclear(PQgetResult(conn_)); // the null that ends the statement's results
        return result;
    }
    void TakeSync() {
        Result result(PQgetResult(conn_));
        if (result == nullptr || PQresultStatus(result.get()) != PGRES_PIPELINE_SYNC) {
            session_.Check(result, what_);
            throw Error(fmt::format("{}: the server's answers came out of order", what_));
        }
        --syncs_pending_;
    }

private:
    Session& session_;
    pg_conn* conn_;
    std::string_view what_;
    int syncs_pending_ = 0;
};

} // namespace

bool ReadsThroughCursor(std::string_view statement) {
    SqlLexer lexer(statement);
    SqlToken token = lexer.Next();
    while (token.kind == SqlTokenKind::Comment) {
        token = lexer.Next();
    }
    return IsKeyword(token, "select") || IsKeyword(token, "values");
}

void ReadThroughCursor(Session& session, const std::string& statement, const PgParams& params,
                       std::string_view what, const CursorSink& sink) {
    const bool own_transaction = !session.InTransaction();
    const std::string declare = "declare tl_cursor no scroll cursor for " + statement;
    MemoryResultSet* set = nullptr;
    try {
        Pipeline pipeline(session, what);
        if (own_transaction) {
            pipeline.Send("begin");
        }
        pipeline.Send(declare.c_str(), &params);
        pipeline.Send(kFetch, nullptr, true);
        pipeline.Sync();
        if (own_transaction) {
            pipeline.Take();
        }
        pipeline.Take();
        for (;;) {
            const Result batch = pipeline.Take();
            pipeline.TakeSync();
            const bool more = PQntuples(batch.get()) == kBatchRows;
            // The next batch is on its way while this one is read.
            pipeline.Send(more ? kFetch : own_transaction ? "commit" : "close tl_cursor", nullptr, true);
            pipeline.Sync();
            if (set == nullptr) {
                set = &sink.make_set(ColumnNames(batch.get()));
            }
            AppendRows(batch.get(), *set);
            if (sink.batch_read) {
                sink.batch_read();
            }
            if (!more) {
                pipeline.Take();
                pipeline.TakeSync();
                break;
            }
        }
    } catch (...) {
        if (own_transaction && !session.Lost() && session.InTransaction()) {
            PQclear(PQexec(session.Raw(), "rollback"));
        }
        throw;
    }
}

} // namespace tl::db::pg
