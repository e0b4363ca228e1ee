// A SELECT read through a cursor in batches, so that libpq never holds more than one batch of rows
// (a whole result in libpq costs several times what the result set keeps of it), and the server
// makes the next batch while this one is decoded: the statements go out in libpq's pipeline mode,
// each FETCH asked for before the rows of the one before are read.
//
// Outside a transaction the cursor lives in one of its own (begun and committed here); inside one
// it is closed at the end. A failure anywhere ends the pipeline, rolls back the transaction begun
// here, and is thrown with the server's text.
#pragma once

#include "memory_result_set.hpp"
#include "pg_params.hpp"
#include "pg_session.hpp"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::db::pg {

// Statements a cursor can run: those that begin with SELECT or VALUES. Others run as they are.
bool ReadsThroughCursor(std::string_view statement);

// Where the rows of a read go: `make_set` gives the set for the columns once the first batch is in,
// `batch_read` is called after each batch has been appended to it (the next one already on its way).
struct CursorSink {
    std::function<MemoryResultSet&(std::vector<std::string> columns)> make_set;
    std::function<void()> batch_read;
};

void ReadThroughCursor(Session& session, const std::string& statement, const PgParams& params,
                       std::string_view what, const CursorSink& sink);

} // namespace tl::db::pg
