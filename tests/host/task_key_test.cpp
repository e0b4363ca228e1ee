#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

TEST(TaskKeyTest, WellFormedKeysGetTheirTrailingBackslash) {
    struct Case {
        const char* key;
        const char* normalized;
    };
    for (const Case& c : {Case{"\\Scripts\\Losses1\\", "\\Scripts\\Losses1\\"},
                          Case{"\\Scripts\\Losses1", "\\Scripts\\Losses1\\"},
                          Case{"\\Scripts\\Потери ПС-110\\", "\\Scripts\\Потери ПС-110\\"},
                          Case{"\\Scripts\\a b", "\\Scripts\\a b\\"}}) {
        EXPECT_EQ(NormalizeTaskKey(c.key), c.normalized) << c.key;
    }
}

TEST(TaskKeyTest, MalformedKeysAreRefusedWithTheReason) {
    struct Case {
        const char* key;
        const char* reason;
    };
    for (const Case& c :
         {Case{"", "must begin with"}, Case{"Losses1", "must begin with"},
          Case{"Scripts\\Losses1\\", "must begin with"}, Case{"/Scripts/Losses1/", "must begin with"},
          Case{"\\scripts\\Losses1\\", "must begin with"}, Case{"\\Scripts\\", "name is empty"},
          Case{"\\Scripts\\\\", "name is empty"}, Case{"\\Scripts\\A\\B\\", "backslash or a colon"},
          Case{"\\Scripts\\C:Losses\\", "backslash or a colon"},
          Case{"\\Scripts\\损耗\\", "outside Windows-1251"}}) {
        try {
            NormalizeTaskKey(c.key);
            ADD_FAILURE() << "accepted: " << c.key;
        } catch (const HostError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
            EXPECT_NE(text.find("\\Scripts\\NAME\\"), std::string::npos) << text;
        }
    }
}

} // namespace
} // namespace tl::host
