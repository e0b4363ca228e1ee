#include "host_test_support.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlhost/task_runner.hpp"
#include "tlplatform/wm.h"
#include "tltest/test_database.hpp"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace tl::host {
namespace {

using namespace tl::host::testing;

// A driver in miniature, wired like the real one: it asks for the completion target at
// InitDriver, issues queries through ExecQuery and posts one completion per task.
//   \Scripts\Count\  queries the row count of `places` and ends with that count as its code;
//   \Scripts\Bad\    ends at once with 2;
//   \Scripts\Hang\   waits for nothing until stopped (code 5);
//   \Scripts\Spin\   does not return from StartAction until the host's interrupt flag is up, then
//                    ends with 5, as a formula in an endless loop does;
//   \Scripts\Lost\   queries a table that does not exist.
// A task freed by StopAction reports two elements as not fully computed, as the driver does.
namespace fake {

TlHostService* g_service = nullptr;
uint32_t g_message = 0;
uint32_t g_window = 0;
TlStatusProc g_status = nullptr;
std::set<int32_t> g_stopped;
const volatile int32_t* g_interrupt = nullptr;

template <typename T>
T Param(int32_t index) {
    void* value = nullptr;
    g_service->vtbl->GetParam(g_service, index, &value);
    return reinterpret_cast<T>(value);
}

void Complete(int32_t id, int32_t code) {
    WmPostMessage(g_window, g_message, id, code);
}

void DataReady(void*, int32_t id, TlResultSet** result) {
    int32_t code = 6;
    if (*result != nullptr && !g_stopped.contains(id)) {
        TlResultSet* set = *result;
        set->vtbl->First(set);
        code = set->vtbl->AsInteger(set, 0);
    }
    g_service->vtbl->ReleaseDataSet(g_service, result);
    Complete(id, code);
}

void InitDriver(TlHostService* service) {
    service->vtbl->AddRef(service);
    if (g_service != nullptr) {
        g_service->vtbl->Release(g_service); // one reference, however often initialised
    }
    g_service = service;
    g_message = *Param<const uint32_t*>(TL_PARAM_COMPLETION_MESSAGE);
    g_window = *Param<const uint32_t*>(TL_PARAM_COMPLETION_WINDOW);
    g_status = Param<TlStatusProc>(TL_PARAM_STATUS_CALLBACK);
    g_interrupt = Param<const volatile int32_t*>(TL_PARAM_INTERRUPT_FLAG);
    g_stopped.clear();
}

void StartAction(const char* key, int32_t id) {
    const std::string k = key;
    if (k == "\\Scripts\\Count\\" || k == "\\Scripts\\Lost\\") {
        const TlVariant zero = Int32(0);
        const char* sql =
            k == "\\Scripts\\Count\\" ? "select count(*) from places" : "select count(*) from nowhere";
        g_service->vtbl->ExecQuery(g_service, id, sql, &zero, 1, &DataReady, nullptr);
    } else if (k == "\\Scripts\\Bad\\") {
        Complete(id, 2);
    } else if (k == "\\Scripts\\Spin\\") {
        while (__atomic_load_n(g_interrupt, __ATOMIC_RELAXED) == 0) {
        }
        Complete(id, 5);
    }
}

void StopAction(int32_t, int32_t id) {
    g_stopped.insert(id);
    const std::string line = Utf8ToCp1251("Следующие элементы рассчитаны не полностью: 100.0.5, 100.0.7");
    g_status("Fake", line.c_str());
    Complete(id, 5);
}

// "Нет" in Windows-1251.
const char* Decode(int32_t code) {
    return code == 2 ? "\xcd\xe5\xf2" : "?";
}

void Unload() {
    g_service->vtbl->Release(g_service);
    g_service = nullptr;
}

DriverExports Exports() {
    return {.InitDriver = InitDriver,
            .DeInitDriver = [] {},
            .StartAction = StartAction,
            .StopAction = StopAction,
            .GetStartActionDecodeResult = Decode,
            .GetStopActionDecodeResult = Decode};
}

} // namespace fake

class TaskRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        database_ = std::make_unique<tl::testing::TestDatabase>(dir_ / "metering.db");
        const std::string uri = database_->Uri();
        auto db = tl::db::Connection::Open(uri);
        db->Execute("create table places (id integer); insert into places values (1); "
                    "insert into places values (2); insert into places values (3)");
        HostServiceOptions options;
        options.database_uri = uri;
        options.status = [](std::string_view, std::string_view) {};
        options.diagnostics = [](std::string_view) {};
        service_ = HostService::Create(std::move(options));
        runner_ = std::make_unique<TaskRunner>(exports_, *service_);
        runner_->InitDriver();
    }

    void TearDown() override {
        runner_->DeInitDriver();
        runner_.reset();
        service_->Shutdown();
        fake::Unload();
    }

    std::vector<int32_t> Codes() const {
        std::vector<int32_t> codes;
        for (const TaskOutcome& task : runner_->Tasks()) {
            codes.push_back(task.finished ? task.code : -100);
        }
        return codes;
    }

    ScratchDir dir_;
    std::unique_ptr<tl::testing::TestDatabase> database_;
    DriverExports exports_ = fake::Exports();
    HostServicePtr service_;
    std::unique_ptr<TaskRunner> runner_;
};

// Hang waits for a query and is stopped between steps; Spin never returns from its first step,
// which only the interrupt flag, raised by the runner's watchdog while this thread is inside
// StartAction, ends.
TEST_F(TaskRunnerTest, TheDeadlineOrAnInterruptStopsTheRunningTasks) {
    struct Case {
        const char* name;
        std::chrono::milliseconds timeout;
        int interrupts;
        StopReason reason;
    };
    for (const Case& c : {Case{"deadline", std::chrono::milliseconds(100), 0, StopReason::kTimeout},
                          Case{"interrupt", std::chrono::milliseconds(0), 1, StopReason::kInterrupt}}) {
        SCOPED_TRACE(c.name);
        runner_.reset();
        runner_ = std::make_unique<TaskRunner>(exports_, *service_);
        runner_->InitDriver();
        RunLimits limits;
        limits.timeout = c.timeout;
        limits.interrupts = [n = c.interrupts] { return n; };
        runner_->Arm(limits);
        runner_->Start("\\Scripts\\Bad\\");
        runner_->Start("\\Scripts\\Hang\\");
        runner_->Start("\\Scripts\\Spin\\");
        EXPECT_TRUE(service_->InterruptRequested());
        EXPECT_EQ(runner_->Run(limits), RunEnd::kStopped);
        // Only the tasks still running are stopped.
        EXPECT_EQ(Codes(), (std::vector<int32_t>{2, 5, 5}));
        for (size_t i = 1; i < runner_->Tasks().size(); ++i) {
            EXPECT_EQ(runner_->Tasks()[i].stopped_by, c.reason) << i;
        }
        EXPECT_TRUE(runner_->ExtraCompletions().empty());
    }
}

TEST_F(TaskRunnerTest, EveryTaskRunsToItsCompletionAndAFailedQueryStopsOnlyItsOwn) {
    EXPECT_EQ(runner_->Start("\\Scripts\\Count\\"), 1);
    EXPECT_EQ(runner_->Start("\\Scripts\\Lost\\"), 2);
    EXPECT_EQ(runner_->Start("\\Scripts\\Bad\\"), 3);
    EXPECT_EQ(runner_->Run(), RunEnd::kFinished);
    EXPECT_EQ(Codes(), (std::vector<int32_t>{3, 5, 2}));
    EXPECT_FALSE(runner_->AllSucceeded());
    EXPECT_EQ(runner_->DecodeResult(2), "Нет");
    EXPECT_EQ(service_->Stats().live_sets, 0);
    const TaskOutcome& counted = runner_->Tasks()[0];
    EXPECT_EQ(counted.stopped_by, StopReason::kNone);
    EXPECT_EQ(counted.counters.queries, 1);
    EXPECT_EQ(counted.counters.rows_read, 1);
    EXPECT_FALSE(counted.counters.Failed());

    const TaskOutcome& lost = runner_->Tasks()[1];
    EXPECT_EQ(lost.stopped_by, StopReason::kFailure);
    EXPECT_EQ(lost.counters.failed_queries, 1);
    ASSERT_EQ(lost.counters.failures.size(), 1u);
    EXPECT_NE(lost.counters.failures[0].find("nowhere"), std::string::npos); // in either engine's text
    EXPECT_EQ(lost.counters.incomplete_elements, (std::vector<std::string>{"100.0.5", "100.0.7"}));
    // The stop came first: the failed query's answer reaches a task that is gone.
    EXPECT_EQ(runner_->ExtraCompletions(), (std::vector<std::pair<int32_t, int32_t>>{{2, 6}}));
}

} // namespace
} // namespace tl::host
