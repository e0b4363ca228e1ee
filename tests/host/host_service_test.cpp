#include "host_test_support.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlhost/host_service.hpp"
#include "tlplatform/wm.h"
#include "tltest/test_database.hpp"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <fmt/format.h>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace tl::host {
namespace {

using namespace tl::host::testing;

// Records as the driver hands them over: consecutive records with the same names share one name
// list, and everything stays valid until Release.
class FakeRecords : public TlRecords {
public:
    using Field = std::pair<std::string, TlVariant>;

    FakeRecords() : TlRecords{&kVtbl} {}
    void Add(const std::vector<Field>& fields) {
        std::vector<std::string> names;
        std::vector<TlVariant> values;
        for (const auto& [name, value] : fields) {
            names.push_back(name);
            values.push_back(value);
        }
        const bool same = !records_.empty() && *records_.back().names == names;
        records_.push_back({same ? records_.back().names
                                 : std::make_shared<const std::vector<std::string>>(std::move(names)),
                            std::move(values)});
    }
    int ReleaseCount() const { return releases_; }

private:
    struct Record {
        std::shared_ptr<const std::vector<std::string>> names;
        std::vector<TlVariant> values;
    };
    static const Record& At(const TlRecords* self, int32_t record) {
        return static_cast<const FakeRecords*>(self)->records_.at(static_cast<size_t>(record));
    }
    static const TlRecordsVtbl kVtbl;

    std::vector<Record> records_;
    std::atomic<int> releases_{0};
};

const TlRecordsVtbl FakeRecords::kVtbl = {
    [](const TlRecords* self) {
        return static_cast<int32_t>(static_cast<const FakeRecords*>(self)->records_.size());
    },
    [](const TlRecords* self, int32_t r) { return static_cast<int32_t>(At(self, r).names->size()); },
    [](const TlRecords* self, int32_t r, int32_t f) {
        return At(self, r).names->at(static_cast<size_t>(f)).c_str();
    },
    [](const TlRecords* self, int32_t r, int32_t f) { return At(self, r).values.at(static_cast<size_t>(f)); },
    [](TlRecords* self) { ++static_cast<FakeRecords*>(self)->releases_; }};

// A double whose eight bytes are those of the status word.
TlVariant StatusCarrier(int64_t word) {
    return Double(std::bit_cast<double>(word));
}

// What the driver-side handler saw of one delivery.
struct Delivery {
    HostService* service = nullptr;
    bool keep_set = false; // take the set over instead of releasing it in the handler
    int calls = 0;
    std::thread::id thread;
    bool during_exec = false;
    bool had_set = false;
    int sequence = 0; // of the deliveries of the test
    TlResultSet* kept = nullptr;
    std::vector<double> first_column;
};

bool g_in_exec = false;
int g_deliveries = 0;

void OnDataReady(void* context, int32_t, TlResultSet** result) {
    auto& d = *static_cast<Delivery*>(context);
    ++d.calls;
    d.sequence = ++g_deliveries;
    d.thread = std::this_thread::get_id();
    d.during_exec = g_in_exec;
    d.had_set = *result != nullptr;
    if (*result == nullptr) {
        return;
    }
    TlResultSet* set = *result;
    for (set->vtbl->First(set); !set->vtbl->Eof(set); set->vtbl->Next(set)) {
        d.first_column.push_back(set->vtbl->AsDouble(set, 0));
    }
    if (d.keep_set) {
        d.kept = set;
    } else {
        d.service->vtbl->ReleaseDataSet(d.service, result);
    }
}

class HostServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        database_ = std::make_unique<tl::testing::TestDatabase>(dir_ / "metering.db");
        db_ = tl::db::Connection::Open(database_->Uri());
        tl::db::InitSchema(*db_);
        db_->Execute(
            "create table places (id integer, name text); insert into places values (1, 'Подстанция'); "
            "insert into places values (2, 'Line'); insert into places values (3, null)");
        service_ = MakeService({});
    }

    void TearDown() override {
        if (service_ != nullptr) {
            service_->Shutdown();
        }
    }

    HostServicePtr MakeService(std::optional<std::string> log_directory, std::optional<double> clock = {}) {
        HostServiceOptions options;
        options.database_uri = database_->Uri();
        options.log_directory = std::move(log_directory);
        options.clock = clock;
        options.status = [](std::string_view, std::string_view) {};
        options.diagnostics = [this](std::string_view text) { diagnostics_.emplace_back(text); };
        return HostService::Create(std::move(options));
    }

    TlHostService* Abi() { return service_->Abi(); }

    // SQL in UTF-8 here, handed over in Windows-1251 as the driver does.
    void Exec(const std::string& sql, const std::vector<TlVariant>& params, Delivery& delivery) {
        delivery.service = service_.get();
        const std::string sql_cp1251 = Utf8ToCp1251(sql);
        g_in_exec = true;
        Abi()->vtbl->ExecQuery(Abi(), 1, sql_cp1251.c_str(), params.data(),
                               static_cast<int32_t>(params.size()), &OnDataReady, &delivery);
        g_in_exec = false;
    }

    // Runs the event loop until `done`, for at most ten seconds.
    bool PumpUntil(const std::function<bool()>& done) {
        for (int round = 0; round < 200 && !done(); ++round) {
            service_->ProcessMessage(50);
        }
        return done();
    }

    bool DiagnosticMentions(std::string_view fragment) const {
        return std::any_of(diagnostics_.begin(), diagnostics_.end(),
                           [&](const std::string& text) { return Contains(text, fragment); });
    }

    ScratchDir dir_;
    std::unique_ptr<tl::testing::TestDatabase> database_;
    std::unique_ptr<tl::db::Connection> db_;
    HostServicePtr service_;
    std::vector<std::string> diagnostics_;
};

// The parameters were the driver's only for the call, and the SQL and its strings come in
// Windows-1251: a wrong value of any of them finds no row. (Binding of every kind is the database
// library's, tested with it.) Once the worker has posted its "finished" message the result is
// ready, yet nothing reaches the driver until the loop takes the message.
TEST_F(HostServiceTest, AQueryCopiesItsParametersAndCompletesOnTheLoopThreadWhenTheLoopRuns) {
    std::string substation = Utf8ToCp1251("Подстанция");
    std::vector<TlVariant> params = {Int32(1), String(substation.c_str())};
    Delivery d;
    Exec("select count(*) from places where id <= :id and name = :name and name like 'Под%'", params, d);
    std::fill(substation.begin(), substation.end(), 'x');
    std::fill(params.begin(), params.end(), Int32(-7));
    for (int i = 0; i < 1000 && WmPendingCount(service_->Queue()) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GE(WmPendingCount(service_->Queue()), 1);
    EXPECT_EQ(d.calls, 0);
    EXPECT_EQ(service_->OutstandingJobs(), 1);

    ASSERT_TRUE(PumpUntil([&] { return d.calls > 0 && service_->OutstandingJobs() == 0; }));
    EXPECT_EQ(d.calls, 1);
    EXPECT_EQ(d.thread, std::this_thread::get_id());
    EXPECT_FALSE(d.during_exec);
    EXPECT_EQ(d.first_column, std::vector<double>{1});
    EXPECT_EQ(service_->Stats().live_sets, 0);
    EXPECT_EQ(service_->Stats().failed_queries, 0);
}

TEST_F(HostServiceTest, FailingAndEmptyQueriesDeliverNoSet) {
    struct Case {
        std::string sql;
        const char* setup; // run on the database first
        bool set;
        int64_t failed;
        const char* diagnostic;
    };
    // The description of the momentary values is a failure unless it can be read.
    const std::string description = "SELECT *  from parameters where parnumber = 1100";
    const std::vector<Case> cases = {
        {"select * from no_such_table", nullptr, false, 1, "no_such_table"},
        {"select count(*) from places where id = :a", nullptr, false, 2,
         "SQL: select count(*) from places where id = :a"},
        {"", nullptr, false, 2, nullptr},
        {description, nullptr, true, 2, nullptr},
        {description, "update parameters set discretvalue = null where parnumber = 1100", false, 3,
         "its discrettype or discretvalue is empty"},
        {description, "delete from parameters where parnumber = 1100", false, 4,
         "the description of parameter 1100 (momentary values) cannot be read: table parameters has no row "
         "with parnumber 1100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        if (c.setup != nullptr) {
            db_->Execute(c.setup);
        }
        Delivery d;
        // The second case passes no value for :a.
        Exec(c.sql, {}, d);
        ASSERT_TRUE(PumpUntil([&] { return d.calls > 0; }));
        EXPECT_EQ(d.calls, 1);
        EXPECT_EQ(d.had_set, c.set);
        EXPECT_EQ(service_->Stats().failed_queries, c.failed);
        EXPECT_EQ(service_->CountersOf(1).failed_queries, c.failed);
        if (c.diagnostic != nullptr) {
            EXPECT_TRUE(DiagnosticMentions(c.diagnostic)) << c.diagnostic;
        }
    }
}

std::vector<FakeRecords::Field> ResultRow(int32_t object, double value0, int64_t status) {
    return {{"ParNumber", Int32(30012)},    {"Data_Date", DateTime(45000.5)},
            {"Object", Int32(object)},      {"Item", Int32(1)},
            {"ObjType", Int32(0)},          {"Value0", Double(value0)},
            {"Value1", Double(value0 / 2)}, {"TvkStatus", StatusCarrier(status)},
            {"RCVStamp", DateTime(45001.0)}};
}

// A store waits for a write lock held by another connection; queries issued after it run and come
// back meanwhile, one by one in the order issued, and the store is written once the lock goes.
TEST_F(HostServiceTest, QueriesRunBesideAStoreAndComeBackInTheOrderIssued) {
    db_->Begin();
    if (database_->OnPostgres()) {
        db_->Execute("lock table data in share mode"); // SQLite's write lock comes with the transaction
    }
    FakeRecords records;
    records.Add(ResultRow(100, 1.5, 0));
    Abi()->vtbl->StoreRecords(Abi(), "Data", &records);
    std::vector<Delivery> deliveries(3);
    for (size_t i = 0; i < deliveries.size(); ++i) {
        Exec(fmt::format("select {} as n from places where id = 1", i), {}, deliveries[i]);
    }
    ASSERT_TRUE(PumpUntil([&] { return deliveries[2].calls > 0; }));
    for (size_t i = 0; i < deliveries.size(); ++i) {
        EXPECT_EQ(deliveries[i].sequence, deliveries[0].sequence + static_cast<int>(i));
        EXPECT_EQ(deliveries[i].first_column, std::vector<double>{static_cast<double>(i)});
    }
    EXPECT_EQ(records.ReleaseCount(), 0); // still waiting for the lock
    db_->Rollback();
    ASSERT_TRUE(PumpUntil([&] { return records.ReleaseCount() > 0; }));
    EXPECT_EQ(service_->Stats().rows_written, 1);
    EXPECT_EQ(db_->Query("select * from data", {})->RowCount(), 1);
}

// Task 1's second store fails while its query runs: the store before it stays written, the one
// after it is not written (its pass may have been computed without what failed), and task 2's
// stores are not its business.
TEST_F(HostServiceTest, AFailedStoreKeepsLaterStoresOfItsTaskFromBeingWritten) {
    std::vector<int32_t> failed_tasks;
    service_->SetFailureSink([&](int32_t task, std::string_view) { failed_tasks.push_back(task); });
    struct Store {
        int32_t task;
        const char* table;
        int32_t object;
        bool written;
    };
    const Store stores[] = {
        {1, "Data", 100, true},  {1, "Nowhere", 101, false}, {2, "Data", 200, true},
        {1, "Data", 102, false}, {2, "Data", 201, true},
    };
    std::vector<FakeRecords> records(std::size(stores));
    Delivery query;
    for (size_t i = 0; i < std::size(stores); ++i) {
        records[i].Add(ResultRow(stores[i].object, 1.0, 0));
        const HostService::TaskCall call(*service_, stores[i].task);
        Abi()->vtbl->StoreRecords(Abi(), stores[i].table, &records[i]);
        if (i == 1) {
            Exec("select id from places", {}, query);
        }
    }
    ASSERT_TRUE(PumpUntil([&] { return service_->OutstandingJobs() == 0; }));
    EXPECT_EQ(query.first_column, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(failed_tasks, std::vector<int32_t>{1});
    for (size_t i = 0; i < std::size(stores); ++i) {
        SCOPED_TRACE(stores[i].object);
        EXPECT_EQ(records[i].ReleaseCount(), 1);
        EXPECT_EQ(
            db_->Query(fmt::format("select * from data where object = {}", stores[i].object), {})->RowCount(),
            stores[i].written ? 1 : 0);
    }
    const HostServiceStats stats = service_->Stats();
    EXPECT_EQ(stats.failed_stores, 1);
    EXPECT_EQ(stats.skipped_stores, 1);
    EXPECT_EQ(service_->CountersOf(1).rows_stored, 1);
    EXPECT_EQ(service_->CountersOf(2).rows_stored, 2);
    EXPECT_TRUE(DiagnosticMentions("were not stored: an earlier query or store of the task had failed"));
}

// A store is written whole or not at all, a large one (its records read ahead on a thread of their
// own, a few thousand a batch) as a small one. The status word, carried in a double's bytes, is
// stored as the integer it is.
TEST_F(HostServiceTest, AFailedWriteStoresNothingAndStillReleasesTheRecords) {
    struct Case {
        const char* table;
        int good_rows;
        bool bad_last_row;
        const char* diagnostic; // none: the store succeeds
    };
    const std::vector<Case> cases = {
        {"Data", 1, true, "NoSuchColumn"}, {"Nowhere", 1, false, "Nowhere"},
        {"", 1, false, "no table name"},   {"Data", 20'000, true, "NoSuchColumn"},
        {"Data", 20'001, false, nullptr},
    };
    const char* const integer_status = database_->OnPostgres() ? "pg_typeof(tvkstatus) = 'bigint'::regtype"
                                                               : "typeof(tvkstatus) = 'integer'";
    for (const Case& c : cases) {
        SCOPED_TRACE(fmt::format("{} {}", c.table, c.good_rows));
        db_->Execute("delete from data");
        FakeRecords records;
        for (int i = 0; i < c.good_rows; ++i) {
            records.Add(ResultRow(100 + i, 1.5, 0x40000));
        }
        if (c.bad_last_row) {
            auto row = ResultRow(99, 2.5, 0);
            row.emplace_back("NoSuchColumn", Int32(1));
            records.Add(row);
        }
        const HostServiceStats before = service_->Stats();
        Abi()->vtbl->StoreRecords(Abi(), c.table, &records);
        ASSERT_TRUE(PumpUntil([&] { return records.ReleaseCount() > 0; }));
        EXPECT_EQ(records.ReleaseCount(), 1);
        const HostServiceStats after = service_->Stats();
        EXPECT_EQ(after.failed_stores, before.failed_stores + (c.diagnostic != nullptr ? 1 : 0));
        if (c.diagnostic != nullptr) {
            EXPECT_TRUE(DiagnosticMentions(c.diagnostic));
        }
        const int32_t stored = c.diagnostic != nullptr ? 0 : c.good_rows;
        EXPECT_EQ(after.rows_written, before.rows_written + stored);
        EXPECT_EQ(db_->Query("select count(distinct object) from data", {})->AsInteger(0), stored);
        EXPECT_EQ(
            db_->Query(fmt::format("select count(*) from data where value0 = 1.5 and tvkstatus = {} and {}",
                                   0x40000, integer_status),
                       {})
                ->AsInteger(0),
            stored);
    }
}

TEST_F(HostServiceTest, ReleaseDataSetFreesOnceAndClearsTheVariable) {
    std::vector<Delivery> deliveries(2);
    for (Delivery& d : deliveries) {
        d.keep_set = true;
        Exec("select id from places", {}, d);
    }
    ASSERT_TRUE(PumpUntil([&] { return deliveries[0].calls > 0 && deliveries[1].calls > 0; }));
    ASSERT_NE(deliveries[0].kept, nullptr);
    EXPECT_EQ(service_->Stats().live_sets, 2);

    TlResultSet* variable = deliveries[0].kept;
    Abi()->vtbl->ReleaseDataSet(Abi(), &variable);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(service_->Stats().live_sets, 1);

    // A second release of the same set is refused, not a double free.
    variable = deliveries[0].kept;
    Abi()->vtbl->ReleaseDataSet(Abi(), &variable);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(service_->Stats().unknown_releases, 1);
    EXPECT_TRUE(DiagnosticMentions("does not hold"));
#ifndef NDEBUG
    // The other set, which the driver never released, is reported at shutdown.
    service_->Shutdown();
    EXPECT_TRUE(DiagnosticMentions("1 result set(s) delivered to the driver were never released"));
    EXPECT_EQ(service_->Stats().live_sets, 0);
#endif
}

TEST_F(HostServiceTest, ShutdownFinishesQueuedWorkWithoutCallingTheHandler) {
    FakeRecords records;
    records.Add(ResultRow(100, 1.5, 0));
    Abi()->vtbl->StoreRecords(Abi(), "Data", &records);
    Delivery d;
    Exec("select id from places", {}, d);
    service_->Shutdown();

    EXPECT_EQ(records.ReleaseCount(), 1);
    EXPECT_EQ(db_->Query("select * from data", {})->RowCount(), 1);
    EXPECT_EQ(d.calls, 0);
    EXPECT_TRUE(DiagnosticMentions("never delivered"));
    EXPECT_EQ(service_->Stats().live_sets, 0);

    // Work handed over after shutdown is refused, but records are still released.
    FakeRecords late;
    late.Add(ResultRow(102, 1.0, 0));
    Abi()->vtbl->StoreRecords(Abi(), "Data", &late);
    EXPECT_EQ(late.ReleaseCount(), 1);
}

// The completion message and queue, the status callback and the clock are read and used by the
// drivers of TaskRunnerTest and ScenarioTest; here, what else is answered and what is not.
TEST_F(HostServiceTest, GetParamAnswersTheHostParameters) {
    service_->Shutdown();
    service_ = MakeService("/var/log/лог", 45351.25);
    TlHostService* abi = Abi();
    auto get = [&](int32_t index, void** value) { return abi->vtbl->GetParam(abi, index, value); };

    void* value = nullptr;
    for (int32_t known :
         {TL_PARAM_3, TL_PARAM_4, TL_PARAM_5, TL_PARAM_APPLICATION, TL_PARAM_COMPLETION_MESSAGE,
          TL_PARAM_COMPLETION_WINDOW, TL_PARAM_STATUS_CALLBACK, TL_PARAM_CLOCK, TL_PARAM_1}) {
        EXPECT_TRUE(get(known, &value)) << known;
    }
    ASSERT_TRUE(get(TL_PARAM_LOG_DIRECTORY, &value));
    EXPECT_EQ(*static_cast<const char* const*>(value), Utf8ToCp1251("/var/log/лог"));
    for (int32_t unknown : {0, 2, 9, 10, 12, 99, 101, -1}) {
        EXPECT_FALSE(get(unknown, &value)) << unknown;
    }
    EXPECT_FALSE(get(TL_PARAM_1, nullptr));

    // Without a log directory, an include directory or a clock the driver is left to its defaults.
    service_->Shutdown();
    service_ = MakeService(std::nullopt);
    for (int32_t absent : {TL_PARAM_LOG_DIRECTORY, TL_PARAM_SCRIPT_INCLUDE_DIRECTORY, TL_PARAM_CLOCK}) {
        EXPECT_FALSE(Abi()->vtbl->GetParam(Abi(), absent, &value)) << absent;
    }
}

// Status lines in Windows-1251 reach the host in UTF-8 in every scenario (ScenarioTest).
TEST_F(HostServiceTest, CompletionMessagesReachTheHostAndOthersAreReported) {
    std::vector<std::pair<int32_t, int32_t>> completions;
    service_->SetCompletionSink([&](int32_t id, int32_t code) { completions.emplace_back(id, code); });
    ASSERT_TRUE(WmPostMessage(service_->Queue(), HostService::kCompletionMessage, 7, 2));
    ASSERT_TRUE(WmPostMessage(service_->Queue(), 0x1234, 8, 0));
    ASSERT_TRUE(PumpUntil([&] { return WmPendingCount(service_->Queue()) == 0; }));
    EXPECT_EQ(completions, (std::vector<std::pair<int32_t, int32_t>>{{7, 2}}));
    EXPECT_TRUE(DiagnosticMentions("unexpected message 0x1234"));
}

} // namespace
} // namespace tl::host
