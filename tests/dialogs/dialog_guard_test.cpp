// The dialog export on a host that cannot show one: no display, or no dialogs library beside the
// driver. The export answers false with a status line, and Qt is never loaded into the host.
#include "dialog_export_support.hpp"
#include "tldialogs/display_guard.hpp"

#include <cstdlib>
#include <gtest/gtest.h>

namespace tl::test {
namespace {

TEST(DialogGuardTest, RefusesWithAStatusLineAndLoadsNoQt) {
    struct Case {
        const char* platform; // QT_QPA_PLATFORM, or null for none
        bool with_library;
        std::string_view status;
    } const cases[] = {
        {nullptr, true, dialogs::kNoDisplayLine},
        // A platform that needs a display server is no way around a missing one.
        {"xcb;wayland", true, dialogs::kNoDisplayLine},
        {"xcb;offscreen:fontengine=freetype", false,
         "Диалог настроек не открыт: не удалось загрузить библиотеку диалогов "},
    };
    ForgetDisplays();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.platform != nullptr ? c.platform : "(no platform)");
        if (c.platform != nullptr) {
            setenv("QT_QPA_PLATFORM", c.platform, 1);
        } else {
            unsetenv("QT_QPA_PLATFORM");
        }
        TempDir directory;
        CopyDriverLibraries(TL_DRIVER_BIN_DIR, directory.Path(),
                            c.with_library ? "" : "libtlosses_dialogs.so");
        FakeHost::StatusLines().clear();
        {
            DialogDriver driver(directory.Path());
            EXPECT_FALSE(driver.ShowEx("\\Scripts\\Losses1\\"));
            driver.Show("\\Scripts\\Losses1\\");
        }
        ASSERT_EQ(FakeHost::StatusLines().size(), 2u);
        for (const auto& [scenario, line] : FakeHost::StatusLines()) {
            EXPECT_EQ(scenario, "Losses1");
            EXPECT_TRUE(line.starts_with(c.status)) << line;
        }
        EXPECT_FALSE(LibraryLoaded("libQt6Core.so.6"));
        EXPECT_FALSE(LibraryLoaded("libQt6Widgets.so.6"));
    }
}

} // namespace
} // namespace tl::test
