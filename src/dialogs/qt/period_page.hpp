// The "Параметры расчета" tab: the base period and, under "Дополнительные параметры", the
// additional parameter with its own period. The widgets show and take back PeriodFields.
#pragma once

#include "tldialogs/period_fields.hpp"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QRadioButton;
class QSpinBox;
class QTimeEdit;

namespace tl::dialogs {

class MessageBoxes;

class PeriodPage : public QWidget {
    Q_OBJECT
public:
    PeriodPage(MessageBoxes& boxes, QWidget* parent = nullptr);

    void Show(const PeriodFields& fields);
    // The fields as the operator left them.
    PeriodFields Take() const;

private:
    struct IntervalWidgets {
        QRadioButton* depth = nullptr;
        QRadioButton* interval = nullptr;
        QLabel* depth_label = nullptr;
        QSpinBox* days = nullptr;
        QSpinBox* hours = nullptr;
        QLabel* begin_label = nullptr;
        QDateEdit* begin_date = nullptr;
        QTimeEdit* begin_time = nullptr;
        QLabel* end_label = nullptr;
        QDateEdit* end_date = nullptr;
        QTimeEdit* end_time = nullptr;
    };
    QWidget* BuildInterval(IntervalWidgets& widgets);
    void ApplyEnabling();
    static void ShowInterval(IntervalWidgets& widgets, const IntervalFields& fields);
    static IntervalFields TakeInterval(const IntervalWidgets& widgets);

    IntervalWidgets base_;
    IntervalWidgets adv_;
    QCheckBox* additional_ = nullptr;
    QLabel* parameter_label_ = nullptr;
    QComboBox* parameter_ = nullptr;
};

} // namespace tl::dialogs
