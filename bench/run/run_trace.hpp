// The queries of a run as the driver issued them, written to a file that serial_floor replays.
//
// One entry per query: "query <parameter count> <SQL bytes>", a newline, the SQL text, a newline,
// then one line per parameter: "n" (null), "i <integer>" (int32, int64, bool), "r <real>" (double,
// date-time, written exactly with %a) or "s <bytes>" followed by a newline and the UTF-8 text.
#pragma once

#include "tlosses/abi.h"

#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tl::bench {

class TraceWriter {
public:
    explicit TraceWriter(const std::filesystem::path& file);
    ~TraceWriter();
    TraceWriter(const TraceWriter&) = delete;
    TraceWriter& operator=(const TraceWriter&) = delete;

    // As the host service observes a query: SQL and string parameters in UTF-8.
    void Query(std::string_view sql, std::span<const TlVariant> params);

private:
    std::FILE* file_ = nullptr;
};

struct TraceValue {
    enum class Kind { Null, Integer, Real, Text };
    Kind kind = Kind::Null;
    long long integer = 0;
    double real = 0;
    std::string text;
};

struct TraceQuery {
    std::string sql;
    std::vector<TraceValue> params;
};

// Throws std::runtime_error on a file that is not a trace.
std::vector<TraceQuery> ReadTrace(const std::filesystem::path& file);

} // namespace tl::bench
