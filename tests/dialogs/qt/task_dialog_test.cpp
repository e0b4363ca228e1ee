#include "task_dialog_test.hpp"

#include "dialog_export_support.hpp"
#include "dialog_test_database.hpp"
#include "modal_steps.hpp"
#include "tlsettings/task_keys.hpp"

#include <QPushButton>
#include <QTest>

namespace tl::test {
namespace {

constexpr const char* kTaskKey = "\\Scripts\\Losses1\\";
constexpr const char* kTaskSection = "\\Scripts\\Losses1\\Object\\";

void Press(QWidget* dialog, const QString& text) {
    QPushButton* button = FindByText<QPushButton>(dialog, text);
    QVERIFY2(button != nullptr, qPrintable(text));
    button->click();
}

} // namespace

void TaskDialogTest::cancelWritesNothingAndOkSaves() {
    DialogTestDatabase database;
    DialogDriver driver(TL_DRIVER_BIN_DIR);
    database.Config().WriteString(kTaskSection, "Foreign", "kept until saved");

    OnNextModal([](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Параметры сценария \"Losses1\""));
        Press(dialog, QStringLiteral("Отмена"));
    });
    QVERIFY(!driver.ShowEx(kTaskKey));
    // Opening converts the element keys and marks that done; nothing else is written.
    QCOMPARE(database.Dump(kTaskSection),
             (std::vector<std::string>{"Foreign=kept until saved", "UpdateFormat0=0", "UpdateFormat1=0"}));

    OnNextModal([](QWidget* dialog) { Press(dialog, QStringLiteral("ОК")); });
    QVERIFY(driver.ShowEx(kTaskKey));
    TSvcConfig& config = database.Config();
    QVERIFY(!config.ValueExists(kTaskSection, "Foreign"));
    QVERIFY(config.ValueExists(kTaskSection, settings::kDeepBase));
    QVERIFY(config.ValueExists(kTaskSection, settings::kCommonScript));
}

} // namespace tl::test
