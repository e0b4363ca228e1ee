// The dialogs opened through ShowSpecificDataDialogEx of the real driver, driven as an operator
// would, with the database checked afterwards.
#pragma once

#include <QObject>

namespace tl::test {

class TaskDialogTest : public QObject {
    Q_OBJECT
private slots:
    void cancelWritesNothingAndOkSaves();
    void coefficientsEditedInTheirDialogAreSaved();
    void aFormulaWithAnErrorKeepsItsEditorOpen();
    void aFailedScriptCheckKeepsTheDialogOpenAndSavesNothing();
};

} // namespace tl::test
