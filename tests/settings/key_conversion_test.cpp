#include "settings_test_support.hpp"
#include "tlsettings/key_conversion.hpp"
#include "tlsettings/task_keys.hpp"

namespace tl::settings {
namespace {

constexpr std::string_view kTask = "\\Scripts\\Losses1\\Object\\";
constexpr std::string_view kDevices1 = "\\Scripts\\Losses1\\Devices1\\";
constexpr std::string_view kDevices2 = "\\Scripts\\Losses1\\Devices2\\";

class KeyConversion : public testing::SettingsDatabaseTest {};

TEST_F(KeyConversion, TwoPartKeysGainElementTypeZero) {
    config_.WriteString(kDevices1, "100.5", "a");
    config_.WriteString(kDevices1, "100.0.7", "b");
    config_.WriteString(kDevices1, "Name", "c");
    config_.WriteString(kDevices1, "1.2.3.4", "d");
    config_.WriteString(kDevices2, "200.1", "e");

    EXPECT_TRUE(ConvertElementKeys(config_, 0, kTask, kDevices1));
    EXPECT_EQ(Dump(kDevices1), (std::vector<std::string>{"100.0.5=a", "100.0.7=b", "Name=c", "1.2.3.4=d"}));
    EXPECT_EQ(Dump(kDevices2), (std::vector<std::string>{"200.1=e"}));
    EXPECT_EQ(Dump(kTask), (std::vector<std::string>{"UpdateFormat0=0"}));

    // Once marked done, a key of the older form added later stays as it is.
    config_.WriteString(kDevices1, "300.9", "f");
    EXPECT_TRUE(ConvertElementKeys(config_, 0, kTask, kDevices1));
    EXPECT_TRUE(config_.ValueExists(kDevices1, "300.9"));

    EXPECT_TRUE(ConvertElementKeys(config_, 1, kTask, kDevices2));
    EXPECT_EQ(Dump(kDevices2), (std::vector<std::string>{"200.0.1=e"}));
    EXPECT_FALSE(config_.ReadBool(kTask, kUpdateFormat1, true));
}

TEST_F(KeyConversion, ARenameTheServiceDeclinesLeavesTheOldKeyAndTheConversionGoesOn) {
    // The converted name is taken by another element: the old key stays for the element-list
    // reading to refuse, the keys after it are converted, the section counts as converted.
    config_.WriteString(kDevices1, "100.0.5", "new");
    config_.WriteString(kDevices1, "100.5", "old");
    config_.WriteString(kDevices1, "101.5", "next");

    EXPECT_TRUE(ConvertElementKeys(config_, 0, kTask, kDevices1));
    EXPECT_EQ(Dump(kDevices1), (std::vector<std::string>{"100.0.5=new", "100.5=old", "101.0.5=next"}));
    EXPECT_FALSE(config_.ReadBool(kTask, kUpdateFormat0, true));
}

TEST_F(KeyConversion, AServiceErrorAlsoCountsAsFailure) {
    config_.WriteString(kDevices1, "100.5", "a");
    testing::RecordingConfig failing;
    failing.fail_at_write = 1; // the rename
    EXPECT_FALSE(ConvertElementKeys(failing, 0, kTask, kDevices1));
    EXPECT_EQ(failing.writes,
              (std::vector<std::string>{"RenameParam \\Scripts\\Losses1\\Devices1\\ 100.5 100.0.5",
                                        "WriteBool \\Scripts\\Losses1\\Object\\ UpdateFormat0"}));
    EXPECT_TRUE(config_.ReadBool(kTask, kUpdateFormat0, false));
    EXPECT_TRUE(config_.ValueExists(kDevices1, "100.5"));
}

} // namespace
} // namespace tl::settings
