#include "qt_message_boxes.hpp"

#include "qt_text.hpp"

#include <QMessageBox>

namespace tl::dialogs {

Answer QtMessageBoxes::Ask(std::string_view caption, std::string_view text, Buttons buttons, BoxIcon icon) {
    QMessageBox box(icon == BoxIcon::kError ? QMessageBox::Critical : QMessageBox::Question, Q(caption),
                    QLines(text), QMessageBox::Yes | QMessageBox::No, parent_);
    if (buttons == Buttons::kYesNoToAll) {
        box.addButton(QMessageBox::YesToAll);
        box.addButton(QMessageBox::NoToAll);
    }
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::kYes;
    case QMessageBox::YesToAll:
        return Answer::kYesToAll;
    case QMessageBox::NoToAll:
        return Answer::kNoToAll;
    default:
        return Answer::kNo;
    }
}

void QtMessageBoxes::Inform(std::string_view caption, std::string_view text) {
    QMessageBox box(QMessageBox::Information, Q(caption), QLines(text), QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace tl::dialogs
