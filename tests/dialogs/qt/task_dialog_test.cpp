// The dialogs opened through ShowSpecificDataDialogEx of the real driver, driven as an operator
// would, with the database checked afterwards. This process owns the QApplication, under the
// offscreen platform, so the dialogs library uses it, as it does in a Qt host.
#include "dialog_export_support.hpp"
#include "dialog_test_database.hpp"
#include "modal_steps.hpp"
#include "tlsettings/task_keys.hpp"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace tl::test {
namespace {

constexpr const char* kTaskKey = "\\Scripts\\Losses1\\";
constexpr const char* kTaskSection = "\\Scripts\\Losses1\\Object\\";
constexpr const char* kCoefficients = "\\Scripts\\Losses1\\Devices1\\";
constexpr const char* kFormulas = "\\Scripts\\Losses1\\Devices2\\";

void Press(QWidget* dialog, const QString& text) {
    QPushButton* button = FindByText<QPushButton>(dialog, text);
    ASSERT_NE(button, nullptr) << text.toStdString();
    button->click();
}

void Trigger(QWidget* dialog, const QString& text) {
    QAction* action = FindByText<QAction>(dialog, text);
    ASSERT_NE(action, nullptr) << text.toStdString();
    action->trigger();
}

void Answer(QWidget* box, QMessageBox::StandardButton answer) {
    auto* message = qobject_cast<QMessageBox*>(box);
    ASSERT_NE(message, nullptr);
    message->button(answer)->click();
}

QTreeWidget* Grid(QWidget* dialog) {
    return dialog->findChild<QTreeWidget*>();
}

// Each test on a database of its own.
class TaskDialogTest : public ::testing::Test {
protected:
    DialogTestDatabase database_;
    TSvcConfig& config_ = database_.Config();
};

// A paste that breaks a formula fails the check at OK: the dialog stays open, and Cancel writes
// nothing (what OK saves is the other tests' and the models' business). Also: the host hands its
// QApplication over (parameter 11), and the dialog opens in it although the environment names no
// display, since the host's application has its platform already.
TEST_F(TaskDialogTest, AFailedCheckKeepsTheDialogOpenAndCancelWritesNothing) {
    QCoreApplication* const host_application = QCoreApplication::instance();
    DialogDriver driver(TL_DRIVER_BIN_DIR, host_application);
    config_.WriteString(kTaskSection, "Foreign", "kept until saved");
    config_.WriteInteger(kTaskSection, settings::kMethod, 1);
    config_.WriteString(kFormulas, "26.0.1", "W(26, 1) +");
    config_.WriteString(kFormulas, "26.0.2", "W(26, 2)");
    const std::vector<std::string> formulas = database_.Dump(kFormulas);
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qunsetenv("QT_QPA_PLATFORM");
    bool shown = false;
    OnNextModal([&shown, host_application](QWidget* dialog) {
        shown = true;
        EXPECT_EQ(QCoreApplication::instance(), host_application);
        EXPECT_EQ(dialog->windowTitle().toStdString(), "Параметры сценария \"Losses1\"");
        QTreeWidget* grid = Grid(dialog);
        grid->setCurrentItem(grid->topLevelItem(0));
        Trigger(dialog, QStringLiteral("Копировать"));
        grid->clearSelection();
        grid->topLevelItem(1)->setSelected(true);
        OnNextModal([](QWidget* box) { Answer(box, QMessageBox::Yes); }, dialog);
        Trigger(dialog, QStringLiteral("Вставить"));
        OnNextModal([](QWidget* box) { Answer(box, QMessageBox::No); }, dialog);
        Press(dialog, QStringLiteral("ОК"));
        EXPECT_TRUE(dialog->isVisible());
        Press(dialog, QStringLiteral("Отмена"));
    });
    EXPECT_FALSE(driver.ShowEx(kTaskKey));
    qputenv("QT_QPA_PLATFORM", platform);
    EXPECT_TRUE(shown);
    EXPECT_EQ(QCoreApplication::instance(), host_application);
    // Opening converts the element keys and marks that done; nothing else is written.
    EXPECT_EQ(database_.Dump(kTaskSection), (std::vector<std::string>{"Foreign=kept until saved", "Method=1",
                                                                      "UpdateFormat0=0", "UpdateFormat1=0"}));
    EXPECT_EQ(database_.Dump(kFormulas), formulas);
}

TEST_F(TaskDialogTest, CoefficientsEditedInTheirDialogAreSaved) {
    DialogDriver driver(TL_DRIVER_BIN_DIR);
    config_.WriteInteger(kTaskSection, settings::kMethod, 0);
    config_.WriteString(kCoefficients, "26.0.1",
                        "1;0;2;2;0.10;10.00;0.00;0;0.50;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;");
    config_.WriteString(kCoefficients, "26.0.2",
                        "1;2;0;1;0.10;10.00;0.00;0;0.50;35;35;0;700;0;0;0;0;0;0;0;0;0;0;;");
    OnNextModal([](QWidget* dialog) {
        EXPECT_EQ(Grid(dialog)->topLevelItemCount(), 2);
        OpenRow(dialog, 0, [](QWidget* coefficients) {
            for (QDoubleSpinBox* box : coefficients->findChildren<QDoubleSpinBox*>()) {
                if (box->suffix() == QStringLiteral(" Ом/км")) {
                    box->setValue(0.25);
                }
            }
            Press(coefficients, QStringLiteral("OK"));
        });
        Press(dialog, QStringLiteral("ОК"));
    });
    EXPECT_TRUE(driver.ShowEx(kTaskKey));
    const std::string stored = config_.ReadString(kCoefficients, "26.0.1", "");
    EXPECT_TRUE(stored.starts_with("1;0;2;2;0.25;") || stored.starts_with("1;0;2;2;0,25;")) << stored;
}

TEST_F(TaskDialogTest, AFormulaWithAnErrorKeepsItsEditorOpen) {
    DialogDriver driver(TL_DRIVER_BIN_DIR);
    config_.WriteInteger(kTaskSection, settings::kMethod, 1);
    config_.WriteString(kFormulas, "26.0.1", "W(26, 1)");
    OnNextModal([](QWidget* dialog) {
        OpenRow(dialog, 0, [](QWidget* editor) {
            auto* text = editor->findChild<QPlainTextEdit*>(QStringLiteral("formula"));
            text->setPlainText(QStringLiteral("W(26, 1) +"));
            Press(editor, QStringLiteral("ОК"));
            EXPECT_TRUE(editor->isVisible());
            EXPECT_EQ(editor->findChild<QTabWidget*>()->currentIndex(), 1); // "Сообщения компилятора"
            text->setPlainText(QStringLiteral("W(26, 1) * 2"));
            Press(editor, QStringLiteral("ОК"));
            EXPECT_FALSE(editor->isVisible());
        });
        EXPECT_EQ(Grid(dialog)->topLevelItem(0)->text(1).toStdString(), "W(26, 1) * 2");
        Press(dialog, QStringLiteral("ОК"));
    });
    EXPECT_TRUE(driver.ShowEx(kTaskKey));
    EXPECT_EQ(config_.ReadString(kFormulas, "26.0.1", ""), "W(26, 1) * 2");
}

} // namespace
} // namespace tl::test

int main(int argc, char** argv) {
    const tl::test::OffscreenPlatform platform;
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
