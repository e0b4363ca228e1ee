// The driver as a host sees it: libtlosses.so loaded with dlopen from a private directory, called
// only through its ten exports.
#include "driver_test_support.hpp"
#include "fake_host_service.hpp"
#include "tlosses/abi.h"
#include "tlplatform/revi.h"
#include "tlplatform/wm.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kMessage = 0x0400 + 77;

// A copy of the driver and its platform libraries in a directory of its own, loaded from there.
class LoadedDriver {
public:
    explicit LoadedDriver(const std::string& directory) : handle_(Load(directory)) {}
    ~LoadedDriver() {
        if (handle_ != nullptr) {
            dlclose(handle_);
        }
    }
    bool Loaded() const { return handle_ != nullptr && stop_decode != nullptr; }

    void* handle_ = nullptr; // first: the exports below are looked up in it
    TlInitDriverFn init = Bind<TlInitDriverFn>("InitDriver");
    TlDeInitDriverFn deinit = Bind<TlDeInitDriverFn>("DeInitDriver");
    TlGetFunctionNameFn function_name = Bind<TlGetFunctionNameFn>("GetFunctionName");
    TlGetDBAccessNecessityFn db_access = Bind<TlGetDBAccessNecessityFn>("GetDBAccessNecessity");
    TlShowSpecificDataDialogFn show_dialog = Bind<TlShowSpecificDataDialogFn>("ShowSpecificDataDialog");
    TlShowSpecificDataDialogExFn show_dialog_ex =
        Bind<TlShowSpecificDataDialogExFn>("ShowSpecificDataDialogEx");
    TlStartActionFn start = Bind<TlStartActionFn>("StartAction");
    TlStopActionFn stop = Bind<TlStopActionFn>("StopAction");
    TlDecodeResultFn start_decode = Bind<TlDecodeResultFn>("GetStartActionDecodeResult");
    TlDecodeResultFn stop_decode = Bind<TlDecodeResultFn>("GetStopActionDecodeResult");

private:
    static void* Load(const std::string& directory) {
        for (const auto& entry : fs::directory_iterator(TL_DRIVER_BIN_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("libtl", 0) == 0 && entry.path().extension() == ".so") {
                fs::copy_file(entry.path(), directory + name, fs::copy_options::overwrite_existing);
            }
        }
        void* handle = dlopen((directory + "libtlosses.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(handle, nullptr) << dlerror();
        return handle;
    }
    template <typename Fn>
    Fn Bind(const char* name) {
        void* address = handle_ != nullptr ? dlsym(handle_, name) : nullptr;
        EXPECT_NE(address, nullptr) << "missing export " << name;
        return reinterpret_cast<Fn>(address);
    }
};

class ExportsTest : public ::testing::Test {
protected:
    ExportsTest() {
        FakeHost::StatusLines().clear();
        host_.SetStandardParams(window_, kMessage, log_dir_.Path());
    }
    ~ExportsTest() override {
        if (driver_ != nullptr && driver_->Loaded()) {
            driver_->deinit();
        }
        driver_.reset();
        WmDestroyQueue(window_);
    }
    std::vector<Completion> Completions() { return TakeCompletions(window_); }

    TempDir lib_dir_;
    TempDir log_dir_;
    FakeHost host_;
    uint32_t window_ = WmCreateQueue();
    int32_t inits_before_ = ReviInitCount();
    std::unique_ptr<LoadedDriver> driver_ = std::make_unique<LoadedDriver>(lib_dir_.Path());
};

const char* const kFunctionName = "\xD0\xE0\xF1\xF7\xB8\xF2 \xEF\xEE\xF2\xE5\xF0\xFC "
                                  "\xFD\xEB\xE5\xEA\xF2\xF0\xEE\xFD\xED\xE5\xF0\xE3\xE8\xE8";

TEST_F(ExportsTest, LoadingCallsInitOnceAndNamesTheDriverAtAllTimes) {
    ASSERT_TRUE(driver_->Loaded());
    EXPECT_EQ(ReviInitCount() - inits_before_, 1);
    EXPECT_STREQ(driver_->function_name(), kFunctionName);
    EXPECT_TRUE(driver_->db_access());
    driver_->init(host_.Service());
    EXPECT_STREQ(driver_->function_name(), kFunctionName);
    EXPECT_TRUE(driver_->db_access());
    // Strings returned on this thread must not keep the module loaded: unloading it releases the
    // host service interface.
    EXPECT_EQ(host_.References(), 1);
    driver_->deinit();
    driver_.reset();
    EXPECT_EQ(host_.References(), 0);
}

TEST_F(ExportsTest, DecodeTextsAreWindows1251) {
    ASSERT_TRUE(driver_->Loaded());
    struct Case {
        int32_t code;
        const char* text;
    } const cases[] = {
        {0, "\xD3\xF1\xEF\xE5\xF8\xED\xFB\xE9 \xF0\xE0\xF1\xF7\xB8\xF2"},
        {1, "\xCD\xE5\xF2 \xEF\xEE\xE4\xEA\xEB\xFE\xF7\xE5\xED\xE8\xFF \xEA \xC1\xC4"},
        {2, "\xCD\xE5\xEA\xEE\xF0\xF0\xE5\xEA\xF2\xED\xFB\xE9 \xF1\xF6\xE5\xED\xE0\xF0\xE8\xE9"},
        {3, "\xCD\xE5\xEA\xEE\xF0\xF0\xE5\xEA\xF2\xED\xEE\xE5 \xEE\xEF\xE8\xF1\xE0\xED\xE8\xE5"},
        {4, "\xD0\xE0\xF1\xF7\xB8\xF2 \xED\xE5 \xEF\xF0\xEE\xE2\xEE\xE4\xE8\xEB\xF1\xFF"},
        {5, "\xCF\xF0\xE5\xF0\xE2\xE0\xED\xEE"},
        {6, "\xC2\xED\xF3\xF2\xF0\xE5\xED\xED\xFF\xFF \xEE\xF8\xE8\xE1\xEA\xE0"},
        {7, "\xCA\xEE\xE4 \xE2\xEE\xE7\xE2\xF0\xE0\xF2\xE0 7"},
        {-1, "\xCA\xEE\xE4 \xE2\xEE\xE7\xE2\xF0\xE0\xF2\xE0 -1"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(driver_->start_decode(c.code), c.text) << c.code;
        EXPECT_STREQ(driver_->stop_decode(c.code), c.text) << c.code;
    }
}

// DeInitDriver before any InitDriver does nothing. A start without settings then ends before
// StartAction returns: on a host without a status callback with its completion all the same, on
// one with it with status lines in Windows-1251.
TEST_F(ExportsTest, AStrayDeInitDriverDoesNothingAndAStartWithoutSettingsEndsAtOnce) {
    ASSERT_TRUE(driver_->Loaded());
    driver_->deinit();
    driver_->deinit();
    EXPECT_TRUE(Completions().empty());
    EXPECT_EQ(host_.References(), 0);
    host_.RemoveParam(TL_PARAM_STATUS_CALLBACK);
    driver_->init(host_.Service());
    driver_->start("\\Scripts\\S\\", 3);
    EXPECT_EQ(Completions(), (std::vector<Completion>{{kMessage, 3, 2}}));
    EXPECT_TRUE(FakeHost::StatusLines().empty());

    host_.SetStandardParams(window_, kMessage, log_dir_.Path());
    driver_->init(host_.Service());
    driver_->start("\\Scripts\\\xCF\xD1-1\\", 41); // "ПС-1"
    EXPECT_EQ(WmPendingCount(window_), 1);
    EXPECT_EQ(Completions(), (std::vector<Completion>{{kMessage, 41, 2}}));
    // The fake reads the lines as Windows-1251: text sent in another encoding would not read back.
    ASSERT_EQ(FakeHost::StatusLines().size(), 3u);
    EXPECT_EQ(FakeHost::StatusLines()[0].second, "Начало работы");
    for (const auto& [scenario, line] : FakeHost::StatusLines()) {
        EXPECT_EQ(scenario, "ПС-1");
    }
    EXPECT_TRUE(FileExists(log_dir_.Path() + "tlosses.log"));
    EXPECT_TRUE(host_.Queries().empty());
}

} // namespace
} // namespace tl::test
