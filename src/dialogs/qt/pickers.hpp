// The small pickers over the metering tables that the editors open: discrete inputs (an input
// number of a device), measurement objects, momentary quantities of a device or sub-device, and
// the state object of the coefficient dialog.
#pragma once

// moc cannot parse the standard library headers the model brings in (<functional>).
#ifndef Q_MOC_RUN
#include "tldialogs/coefficient_dialog_model.hpp"
#endif
#include "tldialogs/formula_editor_model.hpp"
#include "tldialogs/picker_queries.hpp"

#include <QDialog>
#include <optional>
#include <vector>

class QComboBox;
class QFormLayout;
class QListWidget;
class QSpinBox;
class QTabWidget;
class QTreeWidget;

namespace tl::dialogs {

// A device and an input number on it, as both pickers of discrete inputs ask for them.
struct DeviceInputFields {
    DeviceInputFields();
    void AddRows(QFormLayout* form) const;

    std::vector<NamedCode> devices;
    QComboBox* device;
    QSpinBox* input;
};

// A device and an input number; "Добавить" collects them.
class DiscreteInputPicker : public QDialog {
    Q_OBJECT
public:
    explicit DiscreteInputPicker(QWidget* parent);
    std::optional<std::vector<DiscreteInputPick>> Pick();

private:
    DeviceInputFields fields_;
    QListWidget* picked_;
    std::vector<DiscreteInputPick> picks_;
};

// "Выберите мгновенные величины": a device tree (with the sub-devices that stored momentary
// values) and the quantities of the chosen node with check boxes.
class MomentaryPicker : public QDialog {
    Q_OBJECT
public:
    explicit MomentaryPicker(QWidget* parent);
    std::optional<std::vector<MomentaryPick>> Pick();

private:
    void ShowQuantities();

    QTreeWidget* devices_;
    QListWidget* quantities_;
    std::vector<MomentaryPick> checked_;
};

// The object whose state suppresses the calculation: a measurement object or a discrete input.
class StateObjectPicker : public QDialog {
    Q_OBJECT
public:
    explicit StateObjectPicker(QWidget* parent);
    std::optional<StateObject> Pick(const std::optional<StateObject>& current);

private:
    std::vector<NamedCode> objects_;
    DeviceInputFields fields_;
    QTabWidget* tabs_;
    QListWidget* object_list_;
};

} // namespace tl::dialogs
