// The OK and cancel buttons every dialog of the library ends with.
#pragma once

#include <QString>

class QDialog;
class QPushButton;
class QWidget;

namespace tl::dialogs {

// A button box of "ОК" (or `ok_text`) and "Отмена" that accept and reject `dialog`; `ok`, when
// given, receives the OK button, for a dialog that enables it by its own rules.
QWidget* OkCancelButtons(QDialog* dialog, const QString& ok_text = QStringLiteral("ОК"),
                         QPushButton** ok = nullptr);

} // namespace tl::dialogs
