// tlhost settings export / import as an operator runs them, on the test database (SQLite, or
// PostgreSQL under scripts/with-postgres.sh).
#include "tltest/test_database.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class SettingsCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tlsettings-cli-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        database_ = std::make_unique<tl::testing::TestDatabase>(dir_ / "t.db");
        ASSERT_EQ(Tlhost("db init"), 0) << err_;
    }
    void TearDown() override {
        database_.reset();
        fs::remove_all(dir_);
    }

    // Runs tlhost on the test's database; keeps standard output and error.
    int Tlhost(const std::string& arguments) {
        const std::string command = std::string("'") + TLHOST_PATH + "' --db '" + database_->Uri() + "' " +
                                    arguments + " >'" + (dir_ / "out").string() + "' 2>'" +
                                    (dir_ / "err").string() + "'";
        const int status = std::system(command.c_str());
        out_ = ReadText(dir_ / "out");
        err_ = ReadText(dir_ / "err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir_;
    std::unique_ptr<tl::testing::TestDatabase> database_;
    std::string out_;
    std::string err_;
};

TEST_F(SettingsCli, ImportThenExportAndARefusal) {
    const nlohmann::ordered_json document = {
        {"format", "tlosses-task-settings"},
        {"version", 1},
        {"task_key", "\\Scripts\\Losses1\\"},
        {"task",
         {{"DeepBase", 48}, {"AdvParNumber", false}, {"Method", 0}, {"CommonScript", "// Общая часть"}}},
        {"elements",
         {{"Devices1",
           {{{"key", "100.0.5"},
             {"value", "1;1;3;6;0.10;10.00;5.00;0;0.50;35;35;0;700;0.00;0.00;0.00;0.00;0.00;0;0;0;0;0;;"}}}},
          {"Devices2", nlohmann::ordered_json::array()}}},
    };
    WriteText(dir_ / "good.json", document.dump(2) + "\n");
    ASSERT_EQ(Tlhost("settings import '" + (dir_ / "good.json").string() + "'"), 0) << err_;
    ASSERT_EQ(Tlhost("settings export '\\Scripts\\Losses1\\'"), 0) << err_;
    EXPECT_EQ(out_, document.dump(2) + "\n");

    // A faulty file: exit status 1, the place named, nothing changed.
    auto bad = document;
    bad["elements"]["Devices1"][0]["value"] = "1;1;3";
    WriteText(dir_ / "bad.json", bad.dump());
    EXPECT_EQ(Tlhost("settings import '" + (dir_ / "bad.json").string() + "'"), 1);
    EXPECT_NE(err_.find("elements.Devices1[0].value: the coefficient record does not parse"),
              std::string::npos)
        << err_;
    // (Export to a file with -o runs in the host's fault tests.) A task that does not exist exports nothing:
    // an empty document would wipe a task on import.
    EXPECT_EQ(Tlhost("settings export '\\Scripts\\Losses2\\'"), 1);
    EXPECT_EQ(out_, "");
    EXPECT_NE(err_.find("no task \\Scripts\\Losses2\\"), std::string::npos) << err_;
}

} // namespace
