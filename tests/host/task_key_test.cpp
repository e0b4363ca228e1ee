#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

// A well-formed key gets its trailing backslash; a malformed one is refused with the reason and
// the form a key must have.
TEST(TaskKeyTest, KeysAreNormalizedOrRefusedWithTheReason) {
    struct Case {
        const char* key;
        const char* normalized; // nullptr: refused
        const char* reason = "";
    } const cases[] = {
        {"\\Scripts\\Losses1\\", "\\Scripts\\Losses1\\"},
        {"\\Scripts\\Losses1", "\\Scripts\\Losses1\\"},
        {"\\Scripts\\Потери ПС-110\\", "\\Scripts\\Потери ПС-110\\"},
        {"", nullptr, "must begin with"},
        {"Scripts\\Losses1\\", nullptr, "must begin with"},
        {"\\scripts\\Losses1\\", nullptr, "must begin with"},
        {"\\Scripts\\", nullptr, "name is empty"},
        {"\\Scripts\\\\", nullptr, "name is empty"},
        {"\\Scripts\\A\\B\\", nullptr, "backslash or a colon"},
        {"\\Scripts\\C:Losses\\", nullptr, "backslash or a colon"},
        {"\\Scripts\\损耗\\", nullptr, "outside Windows-1251"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        try {
            const std::string normalized = NormalizeTaskKey(c.key);
            EXPECT_STREQ(normalized.c_str(), c.normalized);
        } catch (const HostError& e) {
            const std::string text = e.what();
            EXPECT_EQ(c.normalized, nullptr) << text;
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
            EXPECT_NE(text.find("\\Scripts\\NAME\\"), std::string::npos) << text;
        }
    }
}

} // namespace
} // namespace tl::host
