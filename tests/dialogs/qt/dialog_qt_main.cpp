// The dialog tests run under the offscreen platform with a private runtime directory; this
// process owns the QApplication, so the dialogs library uses it, as it does in a Qt host.
#include "task_dialog_test.hpp"

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    char runtime[] = "/tmp/tl-dialog-tests-XXXXXX";
    if (mkdtemp(runtime) == nullptr) {
        return 1;
    }
    setenv("XDG_RUNTIME_DIR", runtime, 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    int status = 0;
    {
        QApplication application(argc, argv);
        tl::test::TaskDialogTest task_dialog;
        status |= QTest::qExec(&task_dialog, argc, argv);
    }
    std::filesystem::remove_all(runtime);
    return status;
}
