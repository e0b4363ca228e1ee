#include "settings_test_support.hpp"
#include "tlsettings/required_settings.hpp"
#include "tlsettings/task_keys.hpp"

#include <functional>

namespace tl::settings {
namespace {

constexpr std::string_view kTask = "\\Scripts\\Losses1\\Object\\";

class RequiredSettings : public testing::SettingsDatabaseTest {};

TEST_F(RequiredSettings, BaseKeysAndTheAdditionalParameterWhenItIsOn) {
    const auto base = [](TSvcConfig& c) {
        c.WriteInteger(kTask, kDeepBase, 24);
        c.WriteInteger(kTask, kMethod, 0);
        c.WriteBool(kTask, kAdvParNumber, false);
    };
    const auto additional = [base](int32_t par_number) {
        return [base, par_number](TSvcConfig& c) {
            base(c);
            c.WriteBool(kTask, kAdvParNumber, true);
            c.WriteInteger(kTask, kDeepAdv, 2);
            c.WriteInteger(kTask, kParNumber, par_number);
        };
    };
    struct Case {
        const char* name;
        std::function<void(TSvcConfig&)> write;
        bool passes;
    };
    const Case cases[] = {
        {"never saved", [](TSvcConfig&) {}, false},
        {"base keys", base, true},
        // One of the base keys missing (DeepBase, Method, AdvParNumber are asked alike).
        {"no DeepBase", [base](TSvcConfig& c) { base(c), c.DeleteKey(kTask, kDeepBase); }, false},
        {"additional ParNumber 0", additional(0), true},
        {"additional ParNumber 7", additional(7), true},
        {"additional ParNumber 8", additional(8), false},
        {"additional ParNumber -1", additional(-1), false},
        // DeepAdv and ParNumber are asked alike.
        {"additional without DeepAdv",
         [additional](TSvcConfig& c) { additional(3)(c), c.DeleteKey(kTask, kDeepAdv); }, false},
        {"additional ParNumber not a number",
         [additional](TSvcConfig& c) { additional(3)(c), c.WriteString(kTask, kParNumber, "three"); }, false},
        {"ParNumber 8 while the additional parameter is off",
         [additional](TSvcConfig& c) { additional(8)(c), c.WriteBool(kTask, kAdvParNumber, false); }, true},
    };
    for (const Case& c : cases) {
        config_.EraseSection(kTask);
        c.write(config_);
        EXPECT_EQ(HasRequiredSettings(config_, kTask), c.passes) << c.name;
    }
}

} // namespace
} // namespace tl::settings
