#include "task_dialog.hpp"

#include "coefficient_dialog.hpp"
#include "dialog_buttons.hpp"
#include "formula_editor.hpp"
#include "period_page.hpp"
#include "qt_text.hpp"
#include "tlcommon/date_time.hpp"
#include "tldialogs/grid_rows.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <set>

namespace tl::dialogs {
namespace {

constexpr std::string_view kDefinedFormulaDescription =
    "Расчет потерь производится по определенной формуле. Необходимые коэффициенты:\r\n   - Реактивный "
    "канал;\r\n   - Активное сопротивление линии r0 (Ом/км);\r\n   - Длина линии от точки учета до границ "
    "балансовой принадлежности l (км);\r\n   - Рабочее напряжение линии Uр (кВ);\r\n   - Номинальное "
    "напряжение линии Uном (кВ);\r\n   - Годовые потери электроэнергии на корону Wкор;\r\n   - Удельные "
    "годовые потери электроэнергии от токов утечки по изоляторам Wиз;\r\n   - Потери в стали (потери "
    "холостого хода) трансформатора Px.x (кВт);\r\n   - Потери в меди (в обмотках) трансформатора при его "
    "номинальной нагрузке Pк.з (кВт);\r\n   - Ток холостого хода трансформатора в процентах от его "
    "номинального тока Ix.x (%);\r\n   - Напряжение короткого замыкания трансформатора в процентах от его "
    "номинального напряжения Iк.з (%);\r\n   - Номинальная мощность трасформатора Sтр.ном (кВ*А).";
constexpr std::string_view kArbitraryFormulaDescription =
    "Расчет потерь производится по произвольной формуле.";

constexpr int kAddressRole = Qt::UserRole;

QVariant AddressData(const ElementAddress& address) {
    return QVariantList{address.object_code, address.element_type, address.item};
}

ElementAddress AddressOf(const QTreeWidgetItem* item) {
    const QVariantList parts = item->data(0, kAddressRole).toList();
    return {parts.value(0).toInt(), parts.value(1).toInt(), parts.value(2).toInt()};
}

} // namespace

TaskDialog::TaskDialog(const std::string& task_key, double now, QWidget* parent)
    : QDialog(parent), config_(std::string(kScheduleStorage)), boxes_(this) {
    setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    resize(1000, 560);
    auto* layout = new QVBoxLayout(this);
    auto* header = new QFormLayout;
    auto* operation = new QLineEdit(QStringLiteral("Расчёт потерь электроэнергии"));
    operation->setReadOnly(true);
    auto* scenario = new QLineEdit(Q(task_key));
    scenario->setReadOnly(true);
    header->addRow(QStringLiteral("Тип операции:"), operation);
    header->addRow(QStringLiteral("Сценарий:"), scenario);
    layout->addLayout(header);

    tabs_ = new QTabWidget;
    tabs_->addTab(BuildMethodPage(), QStringLiteral("Методики"));
    period_ = new PeriodPage(boxes_);
    tabs_->addTab(period_, QStringLiteral("Параметры расчета"));
    layout->addWidget(tabs_, 1);

    buttons_ = OkCancelButtons(this);
    layout->addWidget(buttons_);

    model_ = std::make_unique<TaskDialogModel>(task_key, config_, ElementCatalogue::Load(),
                                               TaskDialogServices{&boxes_, this, this, this, &checker_});
    setWindowTitle(QStringLiteral("Параметры сценария \"%1\"").arg(Q(model_->Settings().ScenarioName())));
    model_->Load(now > 0 ? std::floor(now) : Today());
    period_->Show(model_->Period());
    method_->blockSignals(true);
    method_->setCurrentIndex(model_->Method());
    method_->blockSignals(false);
    common_script_->setEnabled(model_->Method() == kArbitraryFormula);
    connect(method_, &QComboBox::currentIndexChanged, this, [this](int index) {
        model_->SelectMethod(index);
        common_script_->setEnabled(index == kArbitraryFormula);
        UpdateActions();
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        model_->TabChanged();
        UpdateActions();
    });
    tabs_->setCurrentIndex(0);
    UpdateActions();
}

TaskDialog::~TaskDialog() = default;

QWidget* TaskDialog::BuildMethodPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* method_row = new QHBoxLayout;
    method_row->addWidget(new QLabel(QStringLiteral("Методика:")));
    method_ = new QComboBox;
    method_->addItem(QStringLiteral("1. Расчет потерь в линии передачи и трансформаторах"));
    method_->addItem(QStringLiteral("2. Расчет по произвольной формуле"));
    method_row->addWidget(method_, 1);
    auto* description = new QToolButton;
    description->setText(QStringLiteral("?"));
    description->setToolTip(QStringLiteral("Описание методики"));
    connect(description, &QToolButton::clicked, this, [this] { ShowMethodDescription(); });
    method_row->addWidget(description);
    common_script_ = new QToolButton;
    common_script_->setText(QStringLiteral("Общий скрипт"));
    common_script_->setToolTip(QStringLiteral("Общий скрипт"));
    connect(common_script_, &QToolButton::clicked, this, [this] {
        model_->EditCommonScript();
        UpdateActions();
    });
    method_row->addWidget(common_script_);
    layout->addLayout(method_row);

    grid_ = new QTreeWidget;
    grid_->setRootIsDecorated(false);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setContextMenuPolicy(Qt::ActionsContextMenu);
    grid_->header()->setSectionsClickable(true);
    connect(grid_->header(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section != 0) {
            return;
        }
        const bool descending = grid_->header()->sortIndicatorOrder() == Qt::AscendingOrder;
        grid_->header()->setSortIndicator(0, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        model_->SetDescending(descending);
        FillRows();
    });
    connect(grid_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        model_->EditElement(AddressOf(item));
        FillRows();
        UpdateActions();
    });
    connect(grid_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateActions(); });

    auto* toolbar = new QToolBar;
    const auto add = [&](const QString& text, QKeySequence shortcut, auto handler) {
        auto* action = new QAction(text, this);
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        }
        connect(action, &QAction::triggered, this, [this, handler] {
            handler();
            FillRows();
            UpdateActions();
        });
        toolbar->addAction(action);
        grid_->addAction(action);
        return action;
    };
    configure_ = add(QStringLiteral("Настроить список элементов"), {}, [this] {
        if (const std::optional<ElementAddress> last = model_->ConfigureList()) {
            FillRows();
            FocusRow(*last);
        }
    });
    QFont bold = configure_->font();
    bold.setBold(true);
    configure_->setFont(bold);
    delete_ = add(QStringLiteral("Удалить"), {}, [this] { model_->Delete(SelectedRows()); });
    copy_ = add(QStringLiteral("Копировать"), QKeySequence(QStringLiteral("Ctrl+C")), [this] {
        if (const std::optional<ElementAddress> focused = FocusedRow()) {
            model_->Copy(*focused);
        }
    });
    paste_ = add(QStringLiteral("Вставить"), QKeySequence(QStringLiteral("Ctrl+V")),
                 [this] { model_->Paste(SelectedRows()); });
    select_all_ = new QAction(QStringLiteral("Выбрать все"), this);
    select_all_->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
    select_all_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(select_all_, &QAction::triggered, grid_, &QTreeWidget::selectAll);
    toolbar->addAction(select_all_);
    grid_->addAction(select_all_);
    layout->addWidget(toolbar);

    grid_stack_ = new QStackedWidget;
    panel_ = new QLabel;
    panel_->setAlignment(Qt::AlignCenter);
    grid_stack_->addWidget(grid_);
    grid_stack_->addWidget(panel_);
    layout->addWidget(grid_stack_, 1);
    return page;
}

void TaskDialog::BuildColumns() {
    const int method = model_->Method();
    QStringList captions{QStringLiteral("Объект")};
    std::vector<int> widths{method == kDefinedFormula ? 300 : 340};
    if (method == kDefinedFormula) {
        captions << QStringLiteral("Тип потерь");
        widths.push_back(80);
    }
    for (const GridColumn& column : MethodColumns(method)) {
        captions << Q(column.caption);
        widths.push_back(column.width);
    }
    grid_->clear();
    grid_->setColumnCount(static_cast<int>(captions.size()));
    grid_->setHeaderLabels(captions);
    // The widths are those of the column table, widened where the caption would not fit in the
    // font at hand.
    const QFontMetrics metrics = grid_->header()->fontMetrics();
    for (size_t i = 0; i < widths.size(); ++i) {
        const int caption =
            metrics.horizontalAdvance(captions[static_cast<qsizetype>(i)]) + 2 * metrics.height();
        grid_->setColumnWidth(static_cast<int>(i), std::max(widths[i], caption));
    }
    // The formula fills the grid's width.
    grid_->header()->setStretchLastSection(method == kArbitraryFormula);
    grid_->header()->setSortIndicatorShown(true);
    grid_->header()->setSortIndicator(0, Qt::AscendingOrder);
    model_->SetDescending(false);
}

void TaskDialog::FillRows() {
    if (grid_->property("method").toInt() != model_->Method() + 1) {
        BuildColumns();
        grid_->setProperty("method", model_->Method() + 1);
    }
    const std::optional<ElementAddress> focused = FocusedRow();
    const std::vector<ElementAddress> selected = SelectedRows();
    const std::set<ElementAddress> was_selected(selected.begin(), selected.end());
    grid_->clear();
    const int method = model_->Method();
    const int first_value = method == kDefinedFormula ? 2 : 1;
    const QBrush neutral = palette().window();
    for (const ElementAddress& address : model_->Rows()) {
        const RowCells cells = CellsOf(*model_->Element(address), model_->Catalogue(), method);
        auto* item = new QTreeWidgetItem(grid_);
        item->setData(0, kAddressRole, AddressData(address));
        item->setText(0, Q(cells.object));
        item->setIcon(0, style()->standardIcon(address.object_code < 1 ? QStyle::SP_DirHomeIcon
                                                                       : QStyle::SP_DriveHDIcon));
        if (method == kDefinedFormula) {
            item->setText(1, Q(cells.loss_type));
        }
        const auto columns = MethodColumns(method);
        for (size_t i = 0; i < cells.values.size() && i < columns.size(); ++i) {
            const int column = first_value + static_cast<int>(i);
            item->setText(column, Q(cells.values[i]));
            // A band that is off is drawn on the window's neutral background, except the
            // secondary channel.
            if (method == kDefinedFormula && i > 0 &&
                !cells.band_on[static_cast<size_t>(columns[i].band - 1)]) {
                item->setBackground(column, neutral);
            }
        }
        if (was_selected.contains(address)) {
            item->setSelected(true);
        }
        if (focused == address) {
            grid_->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        }
    }
}

std::vector<ElementAddress> TaskDialog::SelectedRows() const {
    std::vector<ElementAddress> rows;
    for (int i = 0; i < grid_->topLevelItemCount(); ++i) {
        if (grid_->topLevelItem(i)->isSelected()) {
            rows.push_back(AddressOf(grid_->topLevelItem(i)));
        }
    }
    return rows;
}

std::optional<ElementAddress> TaskDialog::FocusedRow() const {
    const QTreeWidgetItem* item = grid_->currentItem();
    return item == nullptr ? std::nullopt : std::optional(AddressOf(item));
}

void TaskDialog::UpdateActions() {
    paste_->setEnabled(model_ != nullptr && model_->CanPaste());
    const bool any = grid_->topLevelItemCount() > 0;
    delete_->setEnabled(any);
    copy_->setEnabled(any);
    select_all_->setEnabled(any);
}

void TaskDialog::ShowMethodDescription() {
    boxes_.Inform("Описание методики", model_->Method() == kDefinedFormula ? kDefinedFormulaDescription
                                                                           : kArbitraryFormulaDescription);
}

void TaskDialog::ShowText(std::string_view text) {
    panel_->setText(QLines(text));
    grid_stack_->setCurrentWidget(panel_);
    panel_->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TaskDialog::ShowGrid() {
    FillRows();
    panel_->clear();
    grid_stack_->setCurrentWidget(grid_);
}

void TaskDialog::FocusRow(const ElementAddress& element) {
    for (int i = 0; i < grid_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = grid_->topLevelItem(i);
        if (AddressOf(item) == element) {
            grid_->setCurrentItem(item);
            grid_->scrollToItem(item);
            grid_->setFocus();
            return;
        }
    }
}

std::optional<std::vector<ElementAddress>>
TaskDialog::Select(int method, const SelectionOptions& options,
                   const std::vector<ElementAddress>& preselected) {
    const auto& entries = model_->Catalogue().Entries();
    const auto offered = [&](int32_t index) {
        return index >= 0 && (entries[static_cast<size_t>(index)].IsChannel() || options.OffersClients());
    };
    auto& window = selection_windows_.at(static_cast<size_t>(method));
    if (window == nullptr) {
        std::vector<PickerItem> items;
        for (size_t i = 0; i < entries.size(); ++i) {
            const CatalogueEntry& entry = entries[i];
            if (!offered(static_cast<int32_t>(i))) {
                continue;
            }
            items.push_back({entry.IsChannel() ? Q(entry.device_name) : QStringLiteral("Абоненты"),
                             Q(ElementCaption(entry.address, &entry)), static_cast<int>(i)});
        }
        window = std::make_unique<CheckListPicker>(this, QStringLiteral("Выберите элементы"), items);
    }
    std::set<int> keys;
    for (const ElementAddress& address : preselected) {
        if (const int32_t index = model_->Catalogue().IndexOf(address); index >= 0) {
            keys.insert(index);
        }
    }
    const std::optional<std::vector<int>> picked = window->Pick(keys);
    if (!picked) {
        return std::nullopt;
    }
    std::vector<ElementAddress> addresses;
    for (const int index : *picked) {
        addresses.push_back(entries[static_cast<size_t>(index)].address);
    }
    // Elements with records that the window does not offer (the catalogue does not know them, or
    // they are clients under the defined formula) stay selected.
    for (const ElementAddress& address : preselected) {
        if (!offered(model_->Catalogue().IndexOf(address))) {
            addresses.push_back(address);
        }
    }
    return addresses;
}

bool TaskDialog::EditCoefficients(const ElementAddress& element, TMethod1Obj& record) {
    CoefficientDialogModel model(
        model_->Catalogue(), element, record,
        [this](const ElementAddress& address) { return model_->KindOf(address); },
        [](int32_t code) { return MeasurementObjectStates(code); });
    CoefficientDialog dialog(this, model);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    model.Apply(record);
    return true;
}

bool TaskDialog::EditFormula(const ElementAddress& element, TMethod2Obj& record,
                             const std::string& common_script, const std::vector<std::string>& errors) {
    FormulaEditorModel model(true, EditorForm(record.Formula), common_script, checker_);
    FormulaEditor editor(this, FormulaEditorCaption(element, model_->Catalogue().Find(element)), model,
                         model_->Catalogue(), errors);
    if (editor.exec() != QDialog::Accepted) {
        return false;
    }
    record.Formula = editor.ResultText();
    return true;
}

std::optional<std::string> TaskDialog::EditCommonScript(const std::string& common_script,
                                                        const std::vector<std::string>& errors) {
    FormulaEditorModel model(false, EditorForm(common_script), common_script, checker_);
    FormulaEditor editor(this, QStringLiteral("Общий скрипт"), model, model_->Catalogue(), errors);
    if (editor.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return editor.ResultText();
}

void TaskDialog::accept() {
    tabs_->widget(0)->setEnabled(false);
    buttons_->setEnabled(false);
    bool saved = false;
    try {
        model_->Period() = period_->Take();
        saved = model_->Save();
        period_->Show(model_->Period());
    } catch (const std::exception& error) {
        ShowGrid();
        boxes_.Inform("Сохранение", std::string("Настройки не сохранены: ") + error.what());
    }
    tabs_->widget(0)->setEnabled(true);
    buttons_->setEnabled(true);
    if (saved) {
        QDialog::accept();
    }
}

} // namespace tl::dialogs
