// A selection window over the metering tables: items grouped under their device (or another
// group), each with a check box; OK returns the checked items in list order.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <set>
#include <vector>

class QTreeWidget;

namespace tl::dialogs {

struct PickerItem {
    QString group; // the parent row ("ПС Северная", "Абоненты")
    QString text;
    int key = 0; // handed back for a checked item
};

class CheckListPicker : public QDialog {
    Q_OBJECT
public:
    CheckListPicker(QWidget* parent, const QString& title, const std::vector<PickerItem>& items);

    // Shows the window with `preselected` checked (and nothing else); the checked keys after OK.
    std::optional<std::vector<int>> Pick(const std::set<int>& preselected);

private:
    QTreeWidget* tree_;
};

} // namespace tl::dialogs
