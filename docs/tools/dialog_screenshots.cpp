// Screenshots of the settings dialogs for docs/dialogs.md: opens the dialogs of the demo tasks
// through the real export under the offscreen platform and saves each window with QWidget::grab.
// Run by scripts/dialog-screenshots.sh on the demo database.
//
//   dialog_screenshots DRIVER_DIR DATABASE OUTPUT_DIR
#include "dialog_export_support.hpp"
#include "modal_steps.hpp"
#include "tlplatform/dbd.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <cstdio>
#include <string>

namespace {

using tl::test::FindByText;
using tl::test::OnNextModal;
using tl::test::OpenRow;
using tl::test::Reject;

QString g_output;

void Save(QWidget* window, const char* name) {
    const QString path = g_output + QStringLiteral("/") + QString::fromLatin1(name);
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

// The demo's coefficient task: the grid, the period tab, the coefficient dialog of the first row
// and the reference table window of its corona help button.
void ShootCoefficients() {
    OnNextModal([](QWidget* dialog) {
        Save(dialog, "task-dialog.png");
        auto* tabs = dialog->findChild<QTabWidget*>();
        tabs->setCurrentIndex(1);
        Save(dialog, "task-dialog-period.png");
        tabs->setCurrentIndex(0);
        OpenRow(dialog, 0, [](QWidget* coefficients) {
            Save(coefficients, "coefficient-dialog.png");
            FindByText<QToolButton>(coefficients, QStringLiteral("?"))->click();
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->isVisible() && window->windowTitle().startsWith(QStringLiteral("Удельные"))) {
                    Save(window, "reference-table.png");
                    window->close();
                }
            }
            Reject(coefficients);
        });
        Reject(dialog);
    });
}

// The demo's formula task: the grid, the editor of the first row, and the editor after a check
// that failed.
void ShootFormulas() {
    OnNextModal([](QWidget* dialog) {
        Save(dialog, "task-dialog-formulas.png");
        OpenRow(dialog, 0, [](QWidget* editor) {
            Save(editor, "formula-editor.png");
            auto* text = editor->findChild<QPlainTextEdit*>(QStringLiteral("formula"));
            text->appendPlainText(QStringLiteral("%Result1% := %Result1% * ;"));
            FindByText<QAbstractButton>(editor, QStringLiteral("Проверить скрипт"))->click();
            Save(editor, "formula-editor-messages.png");
            Reject(editor);
        });
        Reject(dialog);
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: dialog_screenshots DRIVER_DIR DATABASE OUTPUT_DIR\n");
        return 2;
    }
    QApplication application(argc, argv);
    g_output = QString::fromLocal8Bit(argv[3]);
    if (DBOpenDatabase(argv[2]) != 0) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[2], DBLastError());
        return 1;
    }
    tl::test::DialogDriver driver(std::string(argv[1]) + "/");
    ShootCoefficients();
    driver.ShowEx("\\Scripts\\Demo\\");
    ShootFormulas();
    driver.ShowEx("\\Scripts\\DemoFormulas\\");
    DBCloseDatabase();
    return 0;
}
