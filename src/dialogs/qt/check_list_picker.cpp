#include "check_list_picker.hpp"

#include "dialog_buttons.hpp"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>

namespace tl::dialogs {

CheckListPicker::CheckListPicker(QWidget* parent, const QString& title, const std::vector<PickerItem>& items)
    : QDialog(parent), tree_(new QTreeWidget(this)) {
    setWindowTitle(title);
    resize(480, 520);
    tree_->setHeaderHidden(true);
    std::map<QString, QTreeWidgetItem*> groups;
    for (const PickerItem& item : items) {
        QTreeWidgetItem*& group = groups[item.group];
        if (group == nullptr) {
            group = new QTreeWidgetItem(tree_, {item.group});
            group->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
            group->setCheckState(0, Qt::Unchecked);
        }
        auto* leaf = new QTreeWidgetItem(group, {item.text});
        leaf->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        leaf->setData(0, Qt::UserRole, item.key);
        leaf->setCheckState(0, Qt::Unchecked);
    }
    tree_->expandAll();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    layout->addWidget(OkCancelButtons(this));
}

std::optional<std::vector<int>> CheckListPicker::Pick(const std::set<int>& preselected) {
    for (int g = 0; g < tree_->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = tree_->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i) {
            QTreeWidgetItem* leaf = group->child(i);
            leaf->setCheckState(0, preselected.contains(leaf->data(0, Qt::UserRole).toInt()) ? Qt::Checked
                                                                                             : Qt::Unchecked);
        }
    }
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    std::vector<int> checked;
    for (int g = 0; g < tree_->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = tree_->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i) {
            if (group->child(i)->checkState(0) == Qt::Checked) {
                checked.push_back(group->child(i)->data(0, Qt::UserRole).toInt());
            }
        }
    }
    return checked;
}

} // namespace tl::dialogs
