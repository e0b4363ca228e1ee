// A writer's checkpoints run beside its next transactions: whatever happens to them, no committed
// row is lost, and the database file itself holds the rows once the writer is settled or closed.
#include "test_support.hpp"
#include "tlplatform/db_connection.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tl::db {
namespace {

using namespace test;

// Rows of 2 KB, so that a few thousand make a log longer than the checkpoint threshold.
void Store(Connection& writer, int first, int count) {
    const std::string text(2000, 'x');
    const std::string_view names[] = {"k", "v"};
    std::vector<TlVariant> values;
    for (int k = first; k < first + count; ++k) {
        values.push_back(Int(k));
        values.push_back(Str(text.c_str()));
    }
    writer.Begin();
    writer.InsertOrReplaceRows("big", names, values);
    writer.Commit();
}

// The rows of the database file alone, read from a copy without its log.
std::string RowsInTheFile(const std::string& path, const std::string& copy) {
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    auto db = Connection::OpenExisting(copy);
    const std::string rows = RowsAsText(*db->Query("select count(*), sum(k) from big", {})).at(0);
    db.reset();
    std::filesystem::remove(copy);
    return rows;
}

class SqliteCheckpoint : public ::testing::Test {
protected:
    SqliteCheckpoint() : path_(dir_.File("metering.db")) {
        Connection::Open(path_)->Execute("create table big (k integer primary key, v text)");
        reader_ = Connection::OpenExisting(path_); // as the host's, open all along
        writer_ = Connection::OpenExisting(path_);
        writer_->TakeRole(ConnectionRole::kWriter);
    }

    TempDir dir_;
    std::string path_;
    std::unique_ptr<Connection> reader_;
    std::unique_ptr<Connection> writer_;
};

TEST_F(SqliteCheckpoint, SettledOrClosedTheDatabaseFileHoldsEveryCommittedRow) {
    Store(*writer_, 1, 3000);
    writer_->Settle();
    EXPECT_EQ(RowsInTheFile(path_, dir_.File("copy.db")), "3000|4501500");

    Store(*writer_, 3001, 3000); // its checkpoint may still run at the close
    writer_.reset();
    reader_.reset();
    EXPECT_FALSE(std::filesystem::exists(path_ + "-wal"));
    EXPECT_EQ(RowsInTheFile(path_, dir_.File("copy.db")), "6000|18003000");
}

TEST_F(SqliteCheckpoint, AFailedCheckpointIsToldOnceAndLosesNoRow) {
    Store(*writer_, 1, 10); // the log is open before the file goes
    std::filesystem::rename(path_, path_ + ".away");
    Store(*writer_, 11, 3000);
    EXPECT_NE(ErrorOf([&] { writer_->Settle(); }).find("cannot open the database for its checkpoint"),
              std::string::npos);
    std::filesystem::rename(path_ + ".away", path_);
    EXPECT_EQ(RowsAsText(*reader_->Query("select count(*), sum(k) from big", {})).at(0), "3010|4531555");

    // Settled again, the log the failed checkpoint left is copied.
    EXPECT_EQ(ErrorOf([&] { writer_->Settle(); }), "(no error)");
    EXPECT_EQ(RowsInTheFile(path_, dir_.File("copy.db")), "3010|4531555");
}

} // namespace
} // namespace tl::db
