// Helpers for the tests of a run's data side: a scratch metering database whose answers are real
// result sets, and a task that records what the requests send and log.
#pragma once

#include "driver_test_support.hpp"
#include "tlcommon/date_time.hpp"
#include "tldata/data_requests.hpp"
#include "tldata/element_address.hpp"
#include "tlplatform/db_connection.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tl::test {

class MeteringDb {
public:
    MeteringDb();
    void AddData(int32_t parnumber, int32_t object, int32_t objtype, int32_t item, DateTime date,
                 int32_t season, double value0, int64_t status = 0);
    void AddEvent(int32_t evtype, int32_t evcode, ElementAddress element, DateTime genesis,
                  std::optional<DateTime> alt, std::optional<int32_t> season, int32_t idprotect = 0);
    void Execute(std::string_view sql, std::vector<Variant> params = {});
    // The answer as the host delivers it.
    std::unique_ptr<db::ResultSet> Query(std::string_view sql, std::span<const Variant> params);

private:
    std::unique_ptr<db::Connection> db_;
};

struct SentQuery {
    std::string sql;
    std::vector<Variant> params;
};

class RecordingTask : public RequestTask {
public:
    void RunQuery(std::string_view sql, std::span<const Variant> params) override {
        queries.push_back({std::string(sql), {params.begin(), params.end()}});
    }
    void LogLine(std::string_view line) override { log.emplace_back(line); }
    void SendStatus(std::string_view line) override { status.emplace_back(line); }

    std::vector<SentQuery> queries;
    std::vector<std::string> log;
    std::vector<std::string> status;
};

} // namespace tl::test
