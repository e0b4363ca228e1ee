#include "modal_steps.hpp"

#include <QApplication>
#include <QTimer>

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

} // namespace tl::test
