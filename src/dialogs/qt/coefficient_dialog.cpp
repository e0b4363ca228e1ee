#include "coefficient_dialog.hpp"

#include "dialog_buttons.hpp"
#include "pickers.hpp"
#include "qt_text.hpp"
#include "reference_table_window.hpp"
#include "tlparams/sensor_types.hpp"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tl::dialogs {
namespace {

constexpr double kMaximum = 1000000;

QComboBox* VoltageBox() {
    auto* box = new QComboBox;
    for (const int32_t kv : kDialogVoltages) {
        box->addItem(QString::number(kv), kv);
    }
    return box;
}

} // namespace

CoefficientDialog::CoefficientDialog(QWidget* parent, CoefficientDialogModel& model)
    : QDialog(parent), model_(model) {
    setWindowTitle(Q(model_.Caption()));
    auto* layout = new QVBoxLayout(this);

    auto* channels = new QGridLayout;
    channels->addWidget(new QLabel(QStringLiteral("Тип выбранного канала:")), 0, 0);
    type_ = new QComboBox;
    type_->addItems({QStringLiteral("Активный"), QStringLiteral("Реактивный")});
    channels->addWidget(type_, 0, 1);
    secondary_label_ = new QLabel(QStringLiteral("Вторичный канал:"));
    labels_[Field::kSecondary] = secondary_label_;
    channels->addWidget(secondary_label_, 1, 0);
    secondary_ = new QComboBox;
    channels->addWidget(secondary_, 1, 1);
    channels->setColumnStretch(1, 1);
    layout->addLayout(channels);

    auto* parts = new QHBoxLayout;
    const std::pair<Part, const char*> part_captions[] = {
        {Part::kLine, "     Потери в линии"},
        {Part::kTransformer, "     Потери в трансформаторе"},
        {Part::kState, "     Не учитывать при состояниях ОИ (ДВ)"},
    };
    for (const auto& [part, caption] : part_captions) {
        auto* check = new QCheckBox;
        auto* button = new QToolButton;
        button->setText(QString::fromUtf8(caption));
        button->setCheckable(true);
        parts->addWidget(check);
        parts->addWidget(button);
        part_checks_[part] = check;
        part_buttons_[part] = button;
        labels_[static_cast<Field>(static_cast<int>(Field::kLinePart) + static_cast<int>(part))] = button;
        connect(check, &QCheckBox::toggled, this, [this, part = part](bool on) {
            if (!showing_) {
                model_.SetPartOn(part, on);
                ShowModel();
            }
        });
        connect(button, &QToolButton::clicked, this, [this, part = part] {
            model_.PressPart(part);
            ShowModel();
        });
    }
    parts->addStretch();
    layout->addLayout(parts);

    pages_ = new QStackedWidget;
    pages_->addWidget(new QWidget);
    pages_->addWidget(BuildLinePage());
    pages_->addWidget(BuildTransformerPage());
    pages_->addWidget(BuildStatePage());
    layout->addWidget(pages_, 1);

    layout->addWidget(OkCancelButtons(this, QStringLiteral("OK"), &ok_));

    connect(type_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing_) {
            model_.SetType(index == 0   ? ChannelType::kActive
                           : index == 1 ? ChannelType::kReactive
                                        : ChannelType::kNone);
            ShowModel();
        }
    });
    connect(secondary_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing_) {
            model_.SelectCandidate(index);
            ShowModel();
        }
    });
    ShowModel();
}

CoefficientDialog::~CoefficientDialog() = default;

QDoubleSpinBox* CoefficientDialog::Number(int decimals, double maximum, double* target) {
    auto* box = new QDoubleSpinBox;
    box->setDecimals(decimals);
    box->setRange(0, maximum);
    box->setValue(*target);
    connect(box, &QDoubleSpinBox::valueChanged, this, [this, target](double value) {
        *target = value;
        if (!showing_) {
            ShowModel();
        }
    });
    return box;
}

QWidget* CoefficientDialog::BuildLinePage() {
    LineValues& line = model_.Line();
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* voltage = new QGroupBox(QStringLiteral("Напряжение линии (кВ):"));
    auto* voltage_form = new QFormLayout(voltage);
    up_ = VoltageBox();
    unominal_ = VoltageBox();
    auto* up_label = new QLabel(QStringLiteral("рабочее (Up):"));
    auto* unominal_label = new QLabel(QStringLiteral("номинальное (Uном):"));
    labels_[Field::kUp] = up_label;
    labels_[Field::kUNominal] = unominal_label;
    voltage_form->addRow(up_label, up_);
    voltage_form->addRow(unominal_label, unominal_);
    connect(up_, &QComboBox::activated, this, [this] {
        model_.SetUp(up_->currentData().toInt());
        ShowModel();
    });
    connect(unominal_, &QComboBox::activated, this, [this] {
        model_.SetUNominal(unominal_->currentData().toInt());
        ShowModel();
    });
    layout->addWidget(voltage);

    auto* form = new QFormLayout;
    auto* r0_label = new QLabel(QStringLiteral("Активное сопротивление \nлинии (r0):"));
    auto* l_label = new QLabel(QStringLiteral("Длина линии (l):"));
    labels_[Field::kR0] = r0_label;
    labels_[Field::kL] = l_label;
    auto* r0 = Number(3, kMaximum, &line.r0);
    r0->setSuffix(QStringLiteral(" Ом/км"));
    auto* l = Number(1, kMaximum, &line.l);
    l->setSuffix(QStringLiteral(" км"));
    l->setToolTip(QStringLiteral("Длина линии от точки учета до границ балансовой принадлежности (км)"));
    form->addRow(r0_label, r0);
    form->addRow(l_label, l);
    layout->addLayout(form);

    auto* losses = new QGroupBox(QStringLiteral("Удельные годовые потери электроэнергии (тыс.кВт/км):"));
    auto* grid = new QGridLayout(losses);
    wkor_label_ = new QLabel(QStringLiteral("на корону (Wкор):"));
    labels_[Field::kWkor] = wkor_label_;
    grid->addWidget(wkor_label_, 0, 0);
    auto* group = new QButtonGroup(losses);
    const char* choices[] = {"Ктаб * Кпопр.2", "Ктаб * Кпопр.1 * l * Кпопр.2"};
    for (int v = 0; v < 2; ++v) {
        wkor_choice_[static_cast<size_t>(v)] = new QRadioButton(QString::fromUtf8(choices[v]));
        group->addButton(wkor_choice_[static_cast<size_t>(v)], v);
        wkor_value_[static_cast<size_t>(v)] = Number(3, kMaximum, &line.wkor[static_cast<size_t>(v)]);
        grid->addWidget(wkor_choice_[static_cast<size_t>(v)], v, 1);
        grid->addWidget(wkor_value_[static_cast<size_t>(v)], v, 2);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        model_.Line().wkor_variant = id;
        ShowModel();
    });
    auto* corona_help = new QToolButton;
    corona_help->setText(QStringLiteral("?"));
    connect(corona_help, &QToolButton::clicked, this, [this] { ShowReference(ReferenceTableId::kCorona); });
    grid->addWidget(corona_help, 0, 3);
    auto* wiz_label = new QLabel(QStringLiteral("по изоляторам (Wиз):"));
    labels_[Field::kWiz] = wiz_label;
    grid->addWidget(wiz_label, 2, 0);
    grid->addWidget(Number(3, kMaximum, &line.wiz), 2, 2);
    auto* insulator_help = new QToolButton;
    insulator_help->setText(QStringLiteral("?"));
    connect(insulator_help, &QToolButton::clicked, this,
            [this] { ShowReference(ReferenceTableId::kInsulators); });
    grid->addWidget(insulator_help, 2, 3);
    layout->addWidget(losses);
    layout->addStretch();
    return page;
}

QWidget* CoefficientDialog::BuildTransformerPage() {
    TransformerValues& t = model_.Transformer();
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = new QGroupBox(QStringLiteral(" Характеристики трансформатора "));
    auto* form = new QFormLayout(group);
    const std::tuple<Field, const char*, const char*, double*> fields[] = {
        {Field::kPxx, "Потери в стали (Px.x):", " кВт", &t.pxx},
        {Field::kPkz, "Потери в меди (Pк.з):", " кВт", &t.pkz},
        {Field::kIxx, "Ток холостого хода (Ix.x.%):", "", &t.ixx},
        {Field::kUkz, "Напряжение короткого замыкания (Uк.з.%):", "", &t.ukz},
        {Field::kStrnom, "Номинальная мощность (Sтр.ном):", " кВ*А", &t.strnom},
    };
    for (const auto& [field, caption, unit, target] : fields) {
        auto* label = new QLabel(QString::fromUtf8(caption));
        labels_[field] = label;
        auto* box = Number(3, kMaximum, target);
        box->setSuffix(QString::fromUtf8(unit));
        form->addRow(label, box);
    }
    // Hours under load: always written from here, never shown.
    auto* trab = Number(0, 8760, &t.trab);
    trab->setMinimum(1);
    auto* trab_label = new QLabel(QStringLiteral("Работа с нагрузкой (Tраб):"));
    form->addRow(trab_label, trab);
    trab->hide();
    trab_label->hide();
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* CoefficientDialog::BuildStatePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = new QGroupBox(QStringLiteral(" Выберите требуемый объект измерения (дискретный ввод): "));
    auto* form = new QFormLayout(group);
    state_object_ = new QLineEdit;
    state_object_->setReadOnly(true);
    auto* pick = new QToolButton;
    pick->setText(QStringLiteral("..."));
    auto* object_row = new QHBoxLayout;
    object_row->addWidget(state_object_, 1);
    object_row->addWidget(pick);
    auto* object_label = new QLabel(QStringLiteral("Объект:"));
    auto* state_label = new QLabel(QStringLiteral("Состояние:"));
    labels_[Field::kStateObject] = object_label;
    labels_[Field::kState] = state_label;
    form->addRow(object_label, object_row);
    state_ = new QComboBox;
    form->addRow(state_label, state_);
    connect(pick, &QToolButton::clicked, this, [this] {
        if (state_picker_ == nullptr) {
            state_picker_ = std::make_unique<StateObjectPicker>(this);
        }
        if (const std::optional<StateObject> object = state_picker_->Pick(model_.StateLink())) {
            model_.SetStateObject(*object);
            ShowModel();
        }
    });
    connect(state_, &QComboBox::activated, this, [this](int index) {
        model_.SelectState(static_cast<size_t>(index));
        ShowModel();
    });
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

void CoefficientDialog::ShowModel() {
    showing_ = true;
    type_->setEnabled(model_.TypeEnabled());
    type_->setCurrentIndex(model_.Type() == ChannelType::kActive     ? 0
                           : model_.Type() == ChannelType::kReactive ? 1
                                                                     : -1);
    secondary_label_->setText(Q(model_.SecondaryLabel()));
    secondary_->clear();
    for (const SecondaryCandidate& candidate : model_.Candidates()) {
        secondary_->addItem(Q(candidate.text));
    }
    secondary_->setCurrentIndex(model_.SelectedCandidate());
    for (const Part part : {Part::kLine, Part::kTransformer, Part::kState}) {
        part_checks_[part]->setChecked(model_.PartOn(part));
        part_buttons_[part]->setEnabled(model_.ButtonEnabled(part));
        part_buttons_[part]->setChecked(static_cast<int>(model_.CurrentPage()) == static_cast<int>(part) + 1);
    }
    pages_->setCurrentIndex(static_cast<int>(model_.CurrentPage()));
    const LineValues& line = model_.Line();
    up_->setCurrentIndex(line.up ? up_->findData(*line.up) : -1);
    unominal_->setCurrentIndex(line.unominal ? unominal_->findData(*line.unominal) : -1);
    wkor_label_->setEnabled(model_.WkorEnabled());
    for (size_t v = 0; v < 2; ++v) {
        wkor_choice_[v]->setEnabled(model_.WkorEnabled());
        wkor_choice_[v]->setChecked(line.wkor_variant == static_cast<int>(v));
        wkor_value_[v]->setEnabled(model_.WkorEnabled() && line.wkor_variant == static_cast<int>(v));
    }
    state_object_->setText(Q(model_.StateObjectText()));
    state_->clear();
    for (const StateChoice& choice : model_.States()) {
        state_->addItem(Q(choice.text));
    }
    state_->setEnabled(model_.StateLink().has_value());
    state_->setCurrentIndex(model_.SelectedState() ? static_cast<int>(*model_.SelectedState()) : -1);

    const Validation validation = model_.Validate();
    ok_->setEnabled(validation.all);
    for (const auto& [field, widget] : labels_) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, validation.red.contains(field)
                                                   ? Qt::red
                                                   : this->palette().color(QPalette::WindowText));
        palette.setColor(QPalette::ButtonText, validation.red.contains(field)
                                                   ? Qt::red
                                                   : this->palette().color(QPalette::ButtonText));
        widget->setPalette(palette);
    }
    showing_ = false;
}

void CoefficientDialog::ShowReference(ReferenceTableId id) {
    if (reference_ == nullptr) {
        reference_ = std::make_unique<ReferenceTableWindow>(this);
    }
    reference_->ShowTable(id);
}

} // namespace tl::dialogs
