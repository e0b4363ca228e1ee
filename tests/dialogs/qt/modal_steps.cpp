#include "modal_steps.hpp"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QTreeWidget>

namespace tl::test {
namespace {

void Poll(std::function<void(QWidget*)> action, QWidget* previous, int attempts_left) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != previous && modal->isVisible()) {
        action(modal);
        return;
    }
    if (attempts_left > 0) {
        QTimer::singleShot(attempts_left > 9000 ? 0 : 1,
                           [action = std::move(action), previous, attempts_left] {
                               Poll(std::move(action), previous, attempts_left - 1);
                           });
    }
}

} // namespace

void OnNextModal(std::function<void(QWidget*)> action, QWidget* previous) {
    QTimer::singleShot(0,
                       [action = std::move(action), previous] { Poll(std::move(action), previous, 10000); });
}

void OpenRow(QWidget* dialog, int row, std::function<void(QWidget*)> in_editor) {
    OnNextModal(std::move(in_editor), dialog);
    auto* grid = dialog->findChild<QTreeWidget*>();
    emit grid->itemDoubleClicked(grid->topLevelItem(row), 0);
}

void Reject(QWidget* dialog) {
    static_cast<QDialog*>(dialog)->reject();
}

} // namespace tl::test
