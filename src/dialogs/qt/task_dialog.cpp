#include "task_dialog.hpp"

#include "tlcommon/date_time.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace tl::dialogs {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TaskDialog::TaskDialog(const std::string& task_key, double now, QWidget* parent)
    : QDialog(parent), config_(std::string(kScheduleStorage)), model_(task_key) {
    const DateTime today = now > 0 ? std::floor(now) : Today();
    model_.Load(config_, today);
    setWindowTitle(QStringLiteral("Параметры сценария \"%1\"").arg(Q(model_.ScenarioName())));
    auto* layout = new QVBoxLayout(this);
    auto* header = new QFormLayout;
    auto* operation = new QLineEdit(QStringLiteral("Расчёт потерь электроэнергии"));
    operation->setReadOnly(true);
    auto* scenario = new QLineEdit(Q(model_.TaskKey()));
    scenario->setReadOnly(true);
    header->addRow(QStringLiteral("Тип операции:"), operation);
    header->addRow(QStringLiteral("Сценарий:"), scenario);
    layout->addLayout(header);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TaskDialog::accept() {
    model_.Save(config_);
    QDialog::accept();
}

} // namespace tl::dialogs
