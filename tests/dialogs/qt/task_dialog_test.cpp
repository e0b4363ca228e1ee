#include "task_dialog_test.hpp"

#include "dialog_export_support.hpp"
#include "dialog_test_database.hpp"
#include "modal_steps.hpp"
#include "tlsettings/task_keys.hpp"

#include <QAction>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace tl::test {
namespace {

constexpr const char* kTaskKey = "\\Scripts\\Losses1\\";
constexpr const char* kTaskSection = "\\Scripts\\Losses1\\Object\\";
constexpr const char* kCoefficients = "\\Scripts\\Losses1\\Devices1\\";
constexpr const char* kFormulas = "\\Scripts\\Losses1\\Devices2\\";

void Press(QWidget* dialog, const QString& text) {
    QPushButton* button = FindByText<QPushButton>(dialog, text);
    QVERIFY2(button != nullptr, qPrintable(text));
    button->click();
}

void Trigger(QWidget* dialog, const QString& text) {
    for (QAction* action : dialog->findChildren<QAction*>()) {
        if (action->text() == text) {
            action->trigger();
            return;
        }
    }
    QFAIL(qPrintable(text));
}

void Answer(QWidget* box, QMessageBox::StandardButton answer) {
    auto* message = qobject_cast<QMessageBox*>(box);
    QVERIFY(message != nullptr);
    message->button(answer)->click();
}

QTreeWidget* Grid(QWidget* dialog) {
    return dialog->findChild<QTreeWidget*>();
}

// Double-clicks the row and runs `in_editor` on the editor it opens.
void OpenRow(QWidget* dialog, int row, std::function<void(QWidget*)> in_editor) {
    OnNextModal(std::move(in_editor), dialog);
    QTreeWidget* grid = Grid(dialog);
    emit grid->itemDoubleClicked(grid->topLevelItem(row), 0);
}

void StoreMethod(DialogTestDatabase& database, int method) {
    database.Config().WriteInteger(kTaskSection, settings::kMethod, method);
}

} // namespace

// Also: the host hands its QApplication over (parameter 11), and the dialog opens in it although
// the environment names no display, since the host's application has its platform already.
void TaskDialogTest::cancelWritesNothingAndOkSaves() {
    DialogTestDatabase database;
    QCoreApplication* const host_application = QCoreApplication::instance();
    DialogDriver driver(TL_DRIVER_BIN_DIR, host_application);
    database.Config().WriteString(kTaskSection, "Foreign", "kept until saved");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qunsetenv("QT_QPA_PLATFORM");
    bool shown = false;
    OnNextModal([&shown, host_application](QWidget* dialog) {
        shown = true;
        QCOMPARE(QCoreApplication::instance(), host_application);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Параметры сценария \"Losses1\""));
        Press(dialog, QStringLiteral("Отмена"));
    });
    QVERIFY(!driver.ShowEx(kTaskKey));
    qputenv("QT_QPA_PLATFORM", platform);
    QVERIFY(shown);
    QCOMPARE(QCoreApplication::instance(), host_application);
    // Opening converts the element keys and marks that done; nothing else is written.
    QCOMPARE(database.Dump(kTaskSection),
             (std::vector<std::string>{"Foreign=kept until saved", "UpdateFormat0=0", "UpdateFormat1=0"}));

    OnNextModal([](QWidget* dialog) { Press(dialog, QStringLiteral("ОК")); });
    QVERIFY(driver.ShowEx(kTaskKey));
    TSvcConfig& config = database.Config();
    QVERIFY(!config.ValueExists(kTaskSection, "Foreign"));
    QCOMPARE(config.ReadInteger(kTaskSection, settings::kDeepBase, -1), 0);
    QVERIFY(config.ValueExists(kTaskSection, settings::kCommonScript));
}

void TaskDialogTest::coefficientsEditedInTheirDialogAreSaved() {
    DialogTestDatabase database;
    DialogDriver driver(TL_DRIVER_BIN_DIR);
    StoreMethod(database, 0);
    database.Config().WriteString(kCoefficients, "26.0.1",
                                  "1;0;2;2;0.10;10.00;0.00;0;0.50;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;");
    database.Config().WriteString(kCoefficients, "26.0.2",
                                  "1;2;0;1;0.10;10.00;0.00;0;0.50;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;");
    OnNextModal([](QWidget* dialog) {
        QCOMPARE(Grid(dialog)->topLevelItemCount(), 2);
        OpenRow(dialog, 0, [](QWidget* coefficients) {
            QCOMPARE(coefficients->windowTitle(), QStringLiteral("ПС Северная.Ввод 1 А+ (001A.1)"));
            for (QDoubleSpinBox* box : coefficients->findChildren<QDoubleSpinBox*>()) {
                if (box->suffix() == QStringLiteral(" Ом/км")) {
                    box->setValue(0.25);
                }
            }
            Press(coefficients, QStringLiteral("OK"));
        });
        Press(dialog, QStringLiteral("ОК"));
    });
    QVERIFY(driver.ShowEx(kTaskKey));
    const std::string stored = database.Config().ReadString(kCoefficients, "26.0.1", "");
    QVERIFY2(stored.starts_with("1;0;2;2;0.25;") || stored.starts_with("1;0;2;2;0,25;"), stored.c_str());
}

void TaskDialogTest::aFormulaWithAnErrorKeepsItsEditorOpen() {
    DialogTestDatabase database;
    DialogDriver driver(TL_DRIVER_BIN_DIR);
    StoreMethod(database, 1);
    database.Config().WriteString(kFormulas, "26.0.1", "W(26, 1)");
    OnNextModal([](QWidget* dialog) {
        OpenRow(dialog, 0, [](QWidget* editor) {
            auto* text = editor->findChild<QPlainTextEdit*>(QStringLiteral("formula"));
            text->setPlainText(QStringLiteral("W(26, 1) +"));
            Press(editor, QStringLiteral("ОК"));
            QVERIFY(editor->isVisible());
            QCOMPARE(editor->findChild<QTabWidget*>()->currentIndex(), 1); // "Сообщения компилятора"
            text->setPlainText(QStringLiteral("W(26, 1) * 2"));
            Press(editor, QStringLiteral("ОК"));
            QVERIFY(!editor->isVisible());
        });
        QCOMPARE(Grid(dialog)->topLevelItem(0)->text(1), QStringLiteral("W(26, 1) * 2"));
        Press(dialog, QStringLiteral("ОК"));
    });
    QVERIFY(driver.ShowEx(kTaskKey));
    QCOMPARE(database.Config().ReadString(kFormulas, "26.0.1", ""), std::string("W(26, 1) * 2"));
}

void TaskDialogTest::aFailedScriptCheckKeepsTheDialogOpenAndSavesNothing() {
    DialogTestDatabase database;
    DialogDriver driver(TL_DRIVER_BIN_DIR);
    StoreMethod(database, 1);
    database.Config().WriteString(kFormulas, "26.0.1", "W(26, 1) +");
    database.Config().WriteString(kFormulas, "26.0.2", "W(26, 2)");
    const std::vector<std::string> before = database.Dump(kFormulas);
    OnNextModal([](QWidget* dialog) {
        QTreeWidget* grid = Grid(dialog);
        grid->setCurrentItem(grid->topLevelItem(0));
        Trigger(dialog, QStringLiteral("Копировать"));
        grid->clearSelection();
        grid->topLevelItem(1)->setSelected(true);
        OnNextModal([](QWidget* box) { Answer(box, QMessageBox::Yes); }, dialog);
        Trigger(dialog, QStringLiteral("Вставить"));
        OnNextModal(
            [](QWidget* box) {
                QCOMPARE(box->windowTitle(), QStringLiteral("Проверка скриптов"));
                Answer(box, QMessageBox::No);
            },
            dialog);
        Press(dialog, QStringLiteral("ОК"));
        QVERIFY(dialog->isVisible());
        Press(dialog, QStringLiteral("Отмена"));
    });
    QVERIFY(!driver.ShowEx(kTaskKey));
    QCOMPARE(database.Dump(kFormulas), before);
    QVERIFY(!database.Config().ValueExists(kTaskSection, settings::kDeepBase));
}

} // namespace tl::test
