#include "dialog_buttons.hpp"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace tl::dialogs {

QWidget* OkCancelButtons(QDialog* dialog, const QString& ok_text, QPushButton** ok) {
    auto* buttons = new QDialogButtonBox;
    QPushButton* accept = buttons->addButton(ok_text, QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    if (ok != nullptr) {
        *ok = accept;
    }
    return buttons;
}

} // namespace tl::dialogs
