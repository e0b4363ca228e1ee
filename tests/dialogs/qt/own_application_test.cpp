// A host without Qt: the dialogs library makes its own QApplication for each dialog and makes it
// again for the next one; without a display it makes none and says so. The test reaches the dialog
// through a routine that Qt runs whenever an application is constructed.
#include "dialog_export_support.hpp"
#include "dialog_test_database.hpp"
#include "modal_steps.hpp"
#include "tldialogs/display_guard.hpp"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

namespace tl::test {
namespace {

int g_applications = 0;

void CloseTheDialog() {
    ++g_applications;
    OnNextModal(&Reject);
}

TEST(OwnApplicationTest, EachDialogGetsAnApplicationOfItsOwn) {
    const OffscreenPlatform platform;
    qAddPreRoutine(&CloseTheDialog);
    {
        DialogTestDatabase database;
        DialogDriver driver(TL_DRIVER_BIN_DIR);
        for (int call = 1; call <= 2; ++call) {
            EXPECT_FALSE(driver.ShowEx("\\Scripts\\Losses1\\"));
            EXPECT_EQ(g_applications, call);
            EXPECT_EQ(QCoreApplication::instance(), nullptr);
        }
    }
    // An application object that is no QApplication (a host without Qt) and no display: the
    // library makes no application and says why.
    unsetenv("QT_QPA_PLATFORM");
    int host_application = 0;
    DialogDriver driver(TL_DRIVER_BIN_DIR, &host_application);
    FakeHost::StatusLines().clear();
    EXPECT_FALSE(driver.ShowEx("\\Scripts\\Losses1\\"));
    EXPECT_EQ(g_applications, 2);
    EXPECT_EQ(FakeHost::StatusLines(), (std::vector<std::pair<std::string, std::string>>{
                                           {"Losses1", std::string(dialogs::kNoDisplayLine)}}));
}

} // namespace
} // namespace tl::test
