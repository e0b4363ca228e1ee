#include "host_context.hpp"

#include "tlhost/host_error.hpp"
#include "tlplatform/db_connection.hpp"

#include <filesystem>
#include <fmt/format.h>
#include <string_view>

namespace tl::host {
namespace {

// The file behind a SQLite URI; empty for a server database.
std::string SqliteFile(std::string_view uri) {
    if (uri.starts_with("postgresql://") || uri.starts_with("postgres://")) {
        return {};
    }
    if (uri.starts_with("sqlite:")) {
        uri.remove_prefix(7);
        if (uri.starts_with("//")) {
            uri.remove_prefix(2);
        }
    }
    return std::string(uri);
}

} // namespace

void HostContext::OpenDatabase(bool create) {
    const std::string& uri = options_.database;
    const std::string file = SqliteFile(uri);
    if (!create && !file.empty() && !std::filesystem::exists(file)) {
        throw HostError(fmt::format("the database {} does not exist; create it with \"tlhost db init\" "
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
        throw HostError(fmt::format("cannot open the database {}: {}", uri, e.what()));
    }
    tl::db::SetProcessConnection(std::move(connection));
}

std::unique_ptr<DriverLibrary> HostContext::LoadDriver() const {
    return DriverLibrary::Load(options_.driver.empty() ? DriverLibrary::DefaultPath() : options_.driver);
}

HostServiceOptions HostContext::ServiceOptions() const {
    HostServiceOptions service;
    const tl::db::Connection* connection = tl::db::ProcessConnection();
    service.database_uri = connection != nullptr ? connection->Uri() : options_.database;
    if (!options_.log_directory.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options_.log_directory, ec);
        if (!std::filesystem::is_directory(options_.log_directory)) {
            throw HostError(fmt::format("the log directory {} cannot be created: {}", options_.log_directory,
                                        ec ? ec.message() : "not a directory"));
        }
        service.log_directory = options_.log_directory;
    }
    return service;
}

} // namespace tl::host
