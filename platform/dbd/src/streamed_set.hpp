// How a backend's query hands its set over while it fills (Connection::QueryStreamed): the set is
// published from its first row on, given to `ready` once the first chunk shows (or at the end), and
// a failure after that is told to `failing` before the reader sees the set end.
#pragma once

#include "memory_result_set.hpp"

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace tl::db {

class StreamedSet {
public:
    explicit StreamedSet(const QueryStream& stream) : stream_(stream) {}

    // The set to fill, once the query's columns are known.
    MemoryResultSet& Start(std::vector<std::string> column_names);
    // After a batch of rows: hands the set over once readers can see rows.
    void RowsAdded();
    void Fail(const std::exception& error);
    void Finish();

private:
    const QueryStream& stream_;
    std::shared_ptr<MemoryResultSet> set_;
    bool handed_over_ = false;
};

// Runs `read(StreamedSet&)`, a backend's reading of the rows, and ends the set as it ends.
template <typename Read>
void StreamRows(const QueryStream& stream, Read read) {
    StreamedSet set(stream);
    try {
        read(set);
    } catch (const std::exception& e) {
        set.Fail(e);
        throw;
    }
    set.Finish();
}

} // namespace tl::db
