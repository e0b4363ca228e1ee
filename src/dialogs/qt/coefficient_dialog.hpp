// TfrmParams1: the coefficient dialog of one element of the defined-formula method, the widgets
// over CoefficientDialogModel.
#pragma once

// moc cannot parse the standard library headers the model brings in (<functional>).
#ifndef Q_MOC_RUN
#include "tldialogs/coefficient_dialog_model.hpp"
#endif
#include "tldialogs/reference_tables.hpp"

#include <QDialog>
#include <array>
#include <map>
#include <memory>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;

namespace tl::dialogs {

class ReferenceTableWindow;
class StateObjectPicker;

class CoefficientDialog : public QDialog {
    Q_OBJECT
public:
    CoefficientDialog(QWidget* parent, CoefficientDialogModel& model);
    ~CoefficientDialog() override;

private:
    QWidget* BuildLinePage();
    QWidget* BuildTransformerPage();
    QWidget* BuildStatePage();
    QDoubleSpinBox* Number(int decimals, double maximum, double* target);
    void ShowModel();
    void ShowReference(ReferenceTableId id);

    CoefficientDialogModel& model_;
    QComboBox* type_ = nullptr;
    QLabel* secondary_label_ = nullptr;
    QComboBox* secondary_ = nullptr;
    std::map<Part, QCheckBox*> part_checks_;
    std::map<Part, QToolButton*> part_buttons_;
    QStackedWidget* pages_ = nullptr;
    QComboBox* up_ = nullptr;
    QComboBox* unominal_ = nullptr;
    std::array<QRadioButton*, 2> wkor_choice_{};
    std::array<QDoubleSpinBox*, 2> wkor_value_{};
    QLabel* wkor_label_ = nullptr;
    QLineEdit* state_object_ = nullptr;
    QComboBox* state_ = nullptr;
    QPushButton* ok_ = nullptr;
    std::map<Field, QWidget*> labels_;
    std::unique_ptr<ReferenceTableWindow> reference_;
    std::unique_ptr<StateObjectPicker> state_picker_;
    bool showing_ = false;
};

} // namespace tl::dialogs
