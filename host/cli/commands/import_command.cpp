// tlhost data import / tlhost events import: metering rows or event-list rows from a CSV or JSON
// file, all of them in one transaction or none.
#include "commands/builtin_commands.hpp"
#include "file_io.hpp"
#include "host_context.hpp"
#include "tlexchange/metering_import.hpp"
#include "tlhost/host_error.hpp"

#include <fmt/format.h>

namespace tl::host {
namespace {

using exchange::FileFormat;

class ImportCommand : public Command {
public:
    ImportCommand(std::string path, std::string description, const exchange::RowFormat& format)
        : path_(std::move(path)), description_(std::move(description)), format_(format) {}

    std::string Path() const override { return path_; }
    std::string Description() const override { return description_; }
    void AddOptions(CLI::App& command) override {
        command.add_option("FILE", file_, "CSV or JSON file (\"-\": standard input); see docs/database.md")
            ->required();
        command
            .add_option("--format", format_name_, "csv or json (default: json for a .json file, else csv)")
            ->check(CLI::IsMember({"csv", "json"}));
    }
    int Run(HostContext& context) override {
        const std::string text = ReadInputFile(file_);
        const std::string name = file_ == "-" ? "<stdin>" : file_;
        exchange::RowTable rows;
        try {
            rows = exchange::ReadRowFile(text, Format(), format_, name);
        } catch (const exchange::RowFileError& e) {
            throw HostError(fmt::format("{}\n{} faults; nothing was imported", e.what(), e.Faults().size()));
        }
        context.OpenDatabase();
        int64_t written = 0;
        {
            auto lock = tl::db::LockProcessConnection();
            tl::db::Connection& connection = *tl::db::ProcessConnection();
            written = &format_ == &exchange::EventRowFormat() ? exchange::WriteEventRows(connection, rows)
                                                              : exchange::WriteMeteringRows(connection, rows);
        }
        fmt::print("{}: {} {}s written\n", name, written, format_.what);
        return 0;
    }

private:
    FileFormat Format() const {
        if (!format_name_.empty()) {
            return format_name_ == "json" ? FileFormat::kJson : FileFormat::kCsv;
        }
        return file_.ends_with(".json") || file_.ends_with(".JSON") ? FileFormat::kJson : FileFormat::kCsv;
    }

    std::string path_;
    std::string description_;
    const exchange::RowFormat& format_;
    std::string file_;
    std::string format_name_;
};

} // namespace

std::unique_ptr<Command> MakeDataImportCommand() {
    return std::make_unique<ImportCommand>(
        "data import",
        "Load metering rows (parameter, object, type, item, date, season, value, status) into the table "
        "data; "
        "a row with the key of a stored one replaces it; any faulty line and nothing is written",
        exchange::MeteringRowFormat());
}

std::unique_ptr<Command> MakeEventsImportCommand() {
    return std::make_unique<ImportCommand>(
        "events import",
        "Load event-list rows (evtype, evcode, objcode, objtype, objitem, evgenesisdt, evaltdt, season, "
        "evidprotect) into the table eventlist; an event of the same element, type, code, date and season "
        "replaces the stored one; any faulty line and nothing is written",
        exchange::EventRowFormat());
}

} // namespace tl::host
