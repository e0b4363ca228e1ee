#include "pickers.hpp"

#include "dialog_buttons.hpp"
#include "qt_text.hpp"
#include "tldialogs/function_catalogue.hpp"
#include "tlunit/momentary_names.hpp"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <fmt/format.h>
#include <set>

namespace tl::dialogs {
namespace {

QString DeviceText(const NamedCode& device) {
    return Q(fmt::format("({}) {}", device.code, device.name));
}

constexpr int kCodeRole = Qt::UserRole;
constexpr int kSubDeviceRole = Qt::UserRole + 1;

} // namespace

DeviceInputFields::DeviceInputFields() : devices(Devices()), device(new QComboBox), input(new QSpinBox) {
    for (const NamedCode& each : devices) {
        device->addItem(DeviceText(each), each.code);
    }
    input->setRange(0, 65535);
    input->setValue(1);
}

void DeviceInputFields::AddRows(QFormLayout* form) const {
    form->addRow(QStringLiteral("Устройство:"), device);
    form->addRow(QStringLiteral("Номер ввода:"), input);
}

DiscreteInputPicker::DiscreteInputPicker(QWidget* parent) : QDialog(parent), picked_(new QListWidget) {
    setWindowTitle(QStringLiteral("Выберите дискретные вводы"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    fields_.AddRows(form);
    layout->addLayout(form);
    auto* add = new QPushButton(QStringLiteral("Добавить"));
    connect(add, &QPushButton::clicked, this, [this] {
        if (fields_.device->currentIndex() < 0) {
            return;
        }
        const DiscreteInputPick pick{fields_.device->currentData().toInt(), fields_.input->value()};
        picks_.push_back(pick);
        picked_->addItem(QStringLiteral("%1, ввод %2").arg(fields_.device->currentText()).arg(pick.item));
    });
    layout->addWidget(add);
    layout->addWidget(picked_, 1);
    layout->addWidget(OkCancelButtons(this));
}

std::optional<std::vector<DiscreteInputPick>> DiscreteInputPicker::Pick() {
    picks_.clear();
    picked_->clear();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return picks_;
}

MomentaryPicker::MomentaryPicker(QWidget* parent)
    : QDialog(parent), devices_(new QTreeWidget), quantities_(new QListWidget) {
    setWindowTitle(QStringLiteral("Выберите мгновенные величины"));
    resize(720, 480);
    devices_->setHeaderHidden(true);
    for (const NamedCode& device : Devices()) {
        auto* item = new QTreeWidgetItem(devices_, {DeviceText(device)});
        item->setData(0, kCodeRole, device.code);
        item->setData(0, kSubDeviceRole, 0);
        std::set<int32_t> sub_devices;
        for (const int32_t word : StoredMomentaryItems(device.code)) {
            if (((word >> 8) & 0xFF) != 0) {
                sub_devices.insert((word >> 8) & 0xFF);
            }
        }
        for (const int32_t sub_device : sub_devices) {
            auto* child = new QTreeWidgetItem(item, {QStringLiteral("Подустройство %1").arg(sub_device)});
            child->setData(0, kCodeRole, device.code);
            child->setData(0, kSubDeviceRole, sub_device);
        }
    }
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Укажите слева устройство или подустройство")));
    right->addWidget(quantities_, 1);
    auto* panes = new QHBoxLayout;
    panes->addWidget(devices_, 1);
    panes->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes, 1);
    layout->addWidget(OkCancelButtons(this));
    connect(devices_, &QTreeWidget::currentItemChanged, this, [this] { ShowQuantities(); });
    connect(quantities_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const QTreeWidgetItem* device = devices_->currentItem();
        if (device == nullptr) {
            return;
        }
        const MomentaryPick pick{device->data(0, kCodeRole).toInt(), 99,
                                 (device->data(0, kSubDeviceRole).toInt() << 8) |
                                     item->data(kCodeRole).toInt()};
        const auto same = [&](const MomentaryPick& p) {
            return p.object_code == pick.object_code && p.item_word == pick.item_word;
        };
        std::erase_if(checked_, same);
        if (item->checkState() == Qt::Checked) {
            checked_.push_back(pick);
        }
    });
}

// The quantities stored for the chosen node; all of them when it stored none.
void MomentaryPicker::ShowQuantities() {
    const QTreeWidgetItem* device = devices_->currentItem();
    QSignalBlocker blocker(quantities_);
    quantities_->clear();
    if (device == nullptr) {
        return;
    }
    const int32_t code = device->data(0, kCodeRole).toInt();
    const int32_t sub_device = device->data(0, kSubDeviceRole).toInt();
    std::set<int32_t> codes;
    for (const int32_t word : StoredMomentaryItems(code)) {
        if (((word >> 8) & 0xFF) == sub_device) {
            codes.insert(word & 0xFF);
        }
    }
    const auto& descriptions = FunctionCatalogue()[2].entries;
    for (int32_t c = 1; c <= kMomentaryCodeCount; ++c) {
        if (!codes.empty() && !codes.contains(c)) {
            continue;
        }
        auto* item = new QListWidgetItem(
            Q(EntryText(static_cast<size_t>(c), descriptions[static_cast<size_t>(c - 1)])), quantities_);
        item->setData(kCodeRole, c);
        const int32_t word = (sub_device << 8) | c;
        const bool on = std::ranges::any_of(
            checked_, [&](const MomentaryPick& p) { return p.object_code == code && p.item_word == word; });
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

std::optional<std::vector<MomentaryPick>> MomentaryPicker::Pick() {
    checked_.clear();
    ShowQuantities();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return checked_;
}

StateObjectPicker::StateObjectPicker(QWidget* parent)
    : QDialog(parent), objects_(MeasurementObjects()), tabs_(new QTabWidget), object_list_(new QListWidget) {
    setWindowTitle(QStringLiteral("Выберите объект измерения (дискретный ввод)"));
    for (const NamedCode& object : objects_) {
        object_list_->addItem(DeviceText(object));
    }
    tabs_->addTab(object_list_, QStringLiteral("Объекты измерения"));
    auto* inputs = new QWidget;
    auto* form = new QFormLayout(inputs);
    fields_.AddRows(form);
    tabs_->addTab(inputs, QStringLiteral("Дискретные вводы"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(OkCancelButtons(this));
}

std::optional<StateObject> StateObjectPicker::Pick(const std::optional<StateObject>& current) {
    if (current && current->type == kDiscreteInputType) {
        tabs_->setCurrentIndex(1);
        fields_.device->setCurrentIndex(fields_.device->findData(current->code));
        fields_.input->setValue(current->item);
    } else if (current) {
        tabs_->setCurrentIndex(0);
        for (size_t i = 0; i < objects_.size(); ++i) {
            if (objects_[i].code == current->code) {
                object_list_->setCurrentRow(static_cast<int>(i));
            }
        }
    }
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    if (tabs_->currentIndex() == 0) {
        const int row = object_list_->currentRow();
        if (row < 0) {
            return std::nullopt;
        }
        const NamedCode& object = objects_[static_cast<size_t>(row)];
        return StateObject{kMeasurementObjectType, object.code, 0, object.name};
    }
    const int index = fields_.device->currentIndex();
    if (index < 0) {
        return std::nullopt;
    }
    const NamedCode& device = fields_.devices[static_cast<size_t>(index)];
    return StateObject{kDiscreteInputType, device.code, fields_.input->value(),
                       fmt::format("{}, ввод {}", device.name, fields_.input->value())};
}

} // namespace tl::dialogs
