#include "tltest/test_database.hpp"

#include "tlplatform/db_connection.hpp"

#include <atomic>
#include <cstdlib>
#include <fmt/format.h>
#include <random>
#include <unistd.h>

namespace tl::testing {

std::string PostgresTestServer() {
    const char* uri = std::getenv("TL_TEST_DATABASE");
    const std::string_view text = uri != nullptr ? uri : "";
    return text.starts_with("postgresql://") || text.starts_with("postgres://") ? std::string(text) : "";
}

TestDatabase::TestDatabase(const std::filesystem::path& sqlite_file) {
    const std::string server = PostgresTestServer();
    if (server.empty()) {
        uri_ = sqlite_file.string();
        return;
    }
    static std::atomic<int> counter{0};
    schema_ = fmt::format("t{}_{}_{}", getpid(), counter++, std::random_device()() % 100000);
    tl::db::Connection::Open(server)->Execute(fmt::format("create schema {}", schema_));
    // libpq decodes %3D to "=": the option is "-c search_path=<schema>".
    uri_ = fmt::format("{}{}options=-csearch_path%3D{}", server,
                       server.find('?') == std::string::npos ? '?' : '&', schema_);
}

TestDatabase::~TestDatabase() {
    if (schema_.empty()) {
        return;
    }
    try {
        tl::db::Connection::Open(PostgresTestServer())
            ->Execute(fmt::format("drop schema {} cascade", schema_));
    } catch (const std::exception&) {
        // the throwaway cluster goes with its schemas anyway
    }
}

} // namespace tl::testing
