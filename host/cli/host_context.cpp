#include "host_context.hpp"

#include "installed_layout.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/run_lock.hpp"
#include "tlplatform/db_connection.hpp"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fmt/format.h>
#include <string_view>
#include <unistd.h>

namespace tl::host {
namespace {

namespace fs = std::filesystem;

// Test hook: TLHOST_INJECT_FAULT=query:N or store:N makes the Nth query or store of the run fail.
FaultInjection FaultsFromEnvironment() {
    FaultInjection faults;
    const char* text = std::getenv("TLHOST_INJECT_FAULT");
    if (text == nullptr || *text == '\0') {
        return faults;
    }
    const std::string_view spec = text;
    const size_t colon = spec.find(':');
    const std::string_view kind = spec.substr(0, colon);
    const std::string_view number = colon == std::string_view::npos ? "" : spec.substr(colon + 1);
    int64_t n = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (error != std::errc() || end != number.data() + number.size() || n < 1 ||
        (kind != "query" && kind != "store")) {
        throw UsageError(fmt::format("TLHOST_INJECT_FAULT=\"{}\": expected query:N or store:N", spec));
    }
    (kind == "query" ? faults.query : faults.store) = n;
    return faults;
}

fs::path ExecutableDirectory() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : self.parent_path();
}

} // namespace

void HostContext::OpenDatabase(bool create) {
    const std::string& uri = options_.database;
    const std::string file = SqliteFileOf(uri);
    if (!create && !file.empty() && !fs::exists(file)) {
        throw DatabaseError(fmt::format("the database {} does not exist; create it with \"tlhost db init\" "
                                        "(choose the file with --db or TLHOST_DB)",
                                        file));
    }
    std::unique_ptr<tl::db::Connection> connection;
    try {
        connection = create ? tl::db::Connection::Open(uri) : tl::db::Connection::OpenExisting(uri);
        if (create) {
            tl::db::InitSchema(*connection);
        }
    } catch (const tl::db::Error& e) {
        throw DatabaseError(fmt::format("cannot open the database {}: {}", uri, e.what()));
    }
    tl::db::SetProcessConnection(std::move(connection));
}

std::unique_ptr<DriverLibrary> HostContext::LoadDriver() const {
    return DriverLibrary::Load(options_.driver.empty() ? DefaultDriverPath() : options_.driver);
}

std::string HostContext::IncludeDirectory() const {
    if (options_.include_directory.empty()) {
        return {};
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(options_.include_directory, ec);
    if (ec || !std::filesystem::is_directory(absolute, ec)) {
        throw HostError(
            fmt::format("the include directory {} is not a directory", options_.include_directory));
    }
    return absolute.string();
}

HostServiceOptions HostContext::ServiceOptions() const {
    HostServiceOptions service;
    const tl::db::Connection* connection = tl::db::ProcessConnection();
    service.database_uri = connection != nullptr ? connection->Uri() : options_.database;
    if (!options_.log_directory.empty()) {
        std::error_code ec;
        fs::create_directories(options_.log_directory, ec);
        if (!fs::is_directory(options_.log_directory)) {
            throw HostError(fmt::format("the log directory {} cannot be created: {}", options_.log_directory,
                                        ec ? ec.message() : "not a directory"));
        }
        service.log_directory = options_.log_directory;
    }
    service.busy_timeout =
        std::chrono::milliseconds(static_cast<int64_t>(options_.busy_timeout_seconds * 1000.0));
    service.faults = FaultsFromEnvironment();
    if (!options_.include_directory.empty()) {
        service.include_directory = IncludeDirectory();
    }
    return service;
}

fs::path HostContext::LogDirectory() const {
    if (options_.log_directory.empty()) {
        return ExecutableDirectory();
    }
    fs::path directory = fs::absolute(options_.log_directory).lexically_normal();
    return directory.has_filename() ? directory : directory.parent_path();
}

std::optional<std::string> HostContext::LogDirectoryProblem() const {
    // Permissions alone do not tell (root, read-only mounts, ACLs): a file is made and removed.
    const fs::path probe = LogDirectory() / fmt::format(".tlhost-probe-{}", getpid());
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return fmt::format("no file can be written into the log directory {}: {}", LogDirectory().string(),
                           std::strerror(errno));
    }
    close(fd);
    std::error_code ec;
    fs::remove(probe, ec);
    return std::nullopt;
}

} // namespace tl::host
