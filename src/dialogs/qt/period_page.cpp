#include "period_page.hpp"

#include "qt_text.hpp"
#include "tldialogs/message_boxes.hpp"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace tl::dialogs {
namespace {

constexpr std::string_view kBaseHelp =
    "Расчет потерь производится для следующих базовых параметров:\r\n\t12 - Мощность за предыдущие 30 "
    "минут\r\n\t26 - Энергия за предыдущие сутки\r\n\t36 - Энергия за предыдущий месяц\r\n\t46 - Энергия за "
    "предыдущий квартал\r\n\t56 - Энергия за предыдущий год";

QLabel* Bold(QLabel* label) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

PeriodPage::PeriodPage(MessageBoxes& boxes, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QHBoxLayout;
    caption->addWidget(Bold(new QLabel(QStringLiteral("Базовые параметры"))));
    auto* help = new QToolButton;
    help->setText(QStringLiteral("?"));
    help->setToolTip(QStringLiteral("Базовые параметры"));
    connect(help, &QToolButton::clicked, this, [&boxes] { boxes.Inform("Базовые параметры", kBaseHelp); });
    caption->addWidget(help);
    caption->addStretch();
    layout->addLayout(caption);
    layout->addWidget(BuildInterval(base_));

    additional_ = new QCheckBox(QStringLiteral("Дополнительные параметры"));
    QFont font = additional_->font();
    font.setBold(true);
    additional_->setFont(font);
    layout->addWidget(additional_);
    auto* parameter = new QHBoxLayout;
    parameter_label_ = new QLabel(QStringLiteral("Параметр:"));
    parameter_ = new QComboBox;
    for (const char* item : kAdditionalParameters) {
        parameter_->addItem(QString::fromUtf8(item));
    }
    parameter->addWidget(parameter_label_);
    parameter->addWidget(parameter_, 1);
    layout->addLayout(parameter);
    layout->addWidget(BuildInterval(adv_));
    layout->addStretch();
    connect(additional_, &QCheckBox::toggled, this, [this] { ApplyEnabling(); });
}

QWidget* PeriodPage::BuildInterval(IntervalWidgets& w) {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    auto* group = new QButtonGroup(box);
    w.depth = new QRadioButton(QStringLiteral("Глубина от текущего момента"));
    w.interval = new QRadioButton(QStringLiteral("Произвольный интервал"));
    group->addButton(w.depth);
    group->addButton(w.interval);
    w.depth_label = new QLabel(QStringLiteral("Глубина (сутки, часы):"));
    w.days = new QSpinBox;
    w.days->setRange(0, 365);
    w.hours = new QSpinBox;
    w.hours->setRange(0, 23);
    w.begin_label = new QLabel(QStringLiteral("Начало (дата, время):"));
    w.end_label = new QLabel(QStringLiteral("Окончание (дата, время):"));
    w.begin_date = new QDateEdit;
    w.end_date = new QDateEdit;
    for (QDateEdit* date : {w.begin_date, w.end_date}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    w.begin_time = new QTimeEdit;
    w.end_time = new QTimeEdit;
    for (QTimeEdit* time : {w.begin_time, w.end_time}) {
        time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    }
    grid->addWidget(w.depth, 0, 0, 1, 4);
    grid->addWidget(w.depth_label, 1, 0);
    grid->addWidget(w.days, 1, 1);
    grid->addWidget(w.hours, 1, 2);
    grid->addWidget(w.interval, 2, 0, 1, 4);
    grid->addWidget(w.begin_label, 3, 0);
    grid->addWidget(w.begin_date, 3, 1);
    grid->addWidget(w.begin_time, 3, 2);
    grid->addWidget(w.end_label, 4, 0);
    grid->addWidget(w.end_date, 4, 1);
    grid->addWidget(w.end_time, 4, 2);
    grid->setColumnStretch(3, 1);
    for (QRadioButton* radio : {w.depth, w.interval}) {
        connect(radio, &QRadioButton::toggled, this, [this] { ApplyEnabling(); });
    }
    return box;
}

void PeriodPage::ShowInterval(IntervalWidgets& w, const IntervalFields& f) {
    // A stored type other than 0 and 1 ticks neither button.
    for (QRadioButton* radio : {w.depth, w.interval}) {
        radio->group()->setExclusive(false);
        radio->setChecked(false);
        radio->group()->setExclusive(true);
    }
    w.depth->setChecked(f.choice == IntervalChoice::kDepth);
    w.interval->setChecked(f.choice == IntervalChoice::kInterval);
    w.days->setValue(f.days);
    w.hours->setValue(f.hours);
    w.begin_date->setDate(ToQDate(f.begin_date));
    w.begin_time->setTime(ToQTime(f.begin_time));
    w.end_date->setDate(ToQDate(f.end_date));
    w.end_time->setTime(ToQTime(f.end_time));
}

IntervalFields PeriodPage::TakeInterval(const IntervalWidgets& w) {
    IntervalFields f;
    f.choice = w.depth->isChecked()      ? IntervalChoice::kDepth
               : w.interval->isChecked() ? IntervalChoice::kInterval
                                         : IntervalChoice::kNeither;
    f.days = w.days->value();
    f.hours = w.hours->value();
    f.begin_date = FromQDate(w.begin_date->date());
    f.begin_time = FromQTime(w.begin_time->time());
    f.end_date = FromQDate(w.end_date->date());
    f.end_time = FromQTime(w.end_time->time());
    return f;
}

void PeriodPage::Show(const PeriodFields& fields) {
    ShowInterval(base_, fields.base);
    ShowInterval(adv_, fields.adv);
    additional_->setChecked(fields.additional);
    parameter_->setCurrentIndex(
        fields.par_number >= 0 && fields.par_number < parameter_->count() ? fields.par_number : -1);
    ApplyEnabling();
}

PeriodFields PeriodPage::Take() const {
    PeriodFields fields;
    fields.base = TakeInterval(base_);
    fields.adv = TakeInterval(adv_);
    fields.additional = additional_->isChecked();
    fields.par_number = parameter_->currentIndex();
    return fields;
}

void PeriodPage::ApplyEnabling() {
    const PeriodEnabling enabling = EnablingOf(Take());
    const auto apply = [](IntervalWidgets& w, bool group, bool depth, bool interval) {
        w.depth->setEnabled(group);
        w.interval->setEnabled(group);
        for (QWidget* widget : {static_cast<QWidget*>(w.depth_label), static_cast<QWidget*>(w.days),
                                static_cast<QWidget*>(w.hours)}) {
            widget->setEnabled(depth);
        }
        for (QWidget* widget : {static_cast<QWidget*>(w.begin_label), static_cast<QWidget*>(w.begin_date),
                                static_cast<QWidget*>(w.begin_time), static_cast<QWidget*>(w.end_label),
                                static_cast<QWidget*>(w.end_date), static_cast<QWidget*>(w.end_time)}) {
            widget->setEnabled(interval);
        }
    };
    apply(base_, true, enabling.base_depth, enabling.base_interval);
    apply(adv_, enabling.additional_group, enabling.adv_depth, enabling.adv_interval);
    parameter_label_->setEnabled(enabling.additional_group);
    parameter_->setEnabled(enabling.additional_group);
}

} // namespace tl::dialogs
