// The task settings dialog opened through ShowSpecificDataDialogEx of the real driver.
#pragma once

#include <QObject>

namespace tl::test {

class TaskDialogTest : public QObject {
    Q_OBJECT
private slots:
    void cancelWritesNothingAndOkSaves();
};

} // namespace tl::test
