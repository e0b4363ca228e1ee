#include "host_test_support.hpp"

#include "tlcommon/text_codec.hpp"

#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <spawn.h>
#include <sstream>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tl::host::testing {

ScratchDir::ScratchDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("tlhost-test-" + std::to_string(getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace {

// NUL-terminated pointers into `texts`, which must outlive them.
std::vector<char*> PointerList(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

Outcome RunProcess(const std::string& program, const std::filesystem::path& cwd,
                   const std::vector<std::string>& args, const std::vector<std::string>& env,
                   bool merge_err) {
    std::vector<std::string> argv_text = {program};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<std::string> env_text;
    for (char** e = environ; *e != nullptr; ++e) {
        if (!std::string_view(*e).starts_with("TLHOST_DB=")) {
            env_text.emplace_back(*e);
        }
    }
    env_text.insert(env_text.end(), env.begin(), env.end());
    const std::vector<char*> argv = PointerList(argv_text);
    const std::vector<char*> envp = PointerList(env_text);

    const std::filesystem::path out = cwd / ".process.out";
    const std::filesystem::path err = cwd / ".process.err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (merge_err) {
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    pid_t pid = 0;
    Outcome outcome;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        ADD_FAILURE() << "cannot start " << program << ": " << std::strerror(rc);
        return outcome;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = ReadFile(out);
    outcome.err = merge_err ? std::string() : ReadFile(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return outcome;
}

const TlRecordsVtbl FakeRecords::kVtbl = {&FakeRecords::Count, &FakeRecords::FieldCount,
                                          &FakeRecords::FieldName, &FakeRecords::Value,
                                          &FakeRecords::Release};

FakeRecords::FakeRecords() : TlRecords{&kVtbl} {}

void FakeRecords::Add(const std::vector<Field>& fields) {
    Record record;
    record.texts.resize(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
        record.names.push_back(Utf8ToCp1251(fields[i].first));
        TlVariant value = fields[i].second;
        if (value.kind == TL_VT_STRING) {
            record.texts[i] = Utf8ToCp1251(value.v.str);
        }
        record.values.push_back(value);
    }
    records_.push_back(std::move(record));
}

int32_t FakeRecords::Count(const TlRecords* self) {
    return static_cast<int32_t>(static_cast<const FakeRecords*>(self)->records_.size());
}

int32_t FakeRecords::FieldCount(const TlRecords* self, int32_t record) {
    return static_cast<int32_t>(static_cast<const FakeRecords*>(self)->records_.at(record).names.size());
}

const char* FakeRecords::FieldName(const TlRecords* self, int32_t record, int32_t field) {
    return static_cast<const FakeRecords*>(self)->records_.at(record).names.at(field).c_str();
}

TlVariant FakeRecords::Value(const TlRecords* self, int32_t record, int32_t field) {
    const Record& r = static_cast<const FakeRecords*>(self)->records_.at(record);
    TlVariant value = r.values.at(field);
    if (value.kind == TL_VT_STRING) {
        value.v.str = r.texts.at(field).c_str();
    }
    return value;
}

void FakeRecords::Release(TlRecords* self) {
    ++static_cast<FakeRecords*>(self)->releases_;
}

TlVariant StatusCarrier(int64_t word) {
    double carrier = 0;
    std::memcpy(&carrier, &word, sizeof(carrier));
    return Double(carrier);
}

} // namespace tl::host::testing
