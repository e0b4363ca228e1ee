#include "formula_editor.hpp"

#include "dialog_buttons.hpp"
#include "pickers.hpp"
#include "qt_text.hpp"
#include "script_edit.hpp"
#include "tldialogs/function_catalogue.hpp"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <fmt/format.h>

namespace tl::dialogs {
namespace {

constexpr int kEntryRole = Qt::UserRole;

const FunctionEntry* EntryOf(const QListWidgetItem* item) {
    if (item == nullptr) {
        return nullptr;
    }
    const int group = item->data(kEntryRole).toInt() >> 16;
    const int position = item->data(kEntryRole).toInt() & 0xFFFF;
    return &FunctionCatalogue()[static_cast<size_t>(group)].entries[static_cast<size_t>(position)];
}

// The text of what the picker (made on first use) gave, when it gave anything.
template <typename Picker, typename Picks>
std::optional<std::string> PickedText(QWidget* parent, std::unique_ptr<Picker>& picker,
                                      std::string (*text)(const std::vector<Picks>&)) {
    if (picker == nullptr) {
        picker = std::make_unique<Picker>(parent);
    }
    if (const auto picks = picker->Pick(); picks && !picks->empty()) {
        return text(*picks);
    }
    return std::nullopt;
}

} // namespace

QString FormulaEditorCaption(const ElementAddress& element, const CatalogueEntry* entry) {
    const std::string code = element.object_code < 1
                                 ? fmt::format("({})", element.item)
                                 : fmt::format("({}.{})", Hex4(element.object_code), element.item);
    if (entry == nullptr) {
        return Q(code);
    }
    return Q(element.object_code < 1 ? fmt::format("{} {}", code, entry->name)
                                     : fmt::format("{} {}.{}", code, entry->device_name, entry->name));
}

FormulaEditor::FormulaEditor(QWidget* parent, const QString& caption, FormulaEditorModel& model,
                             const ElementCatalogue& catalogue, const std::vector<std::string>& errors)
    : QDialog(parent), model_(model), catalogue_(catalogue) {
    setWindowTitle(caption);
    resize(980, 600);
    auto* layout = new QVBoxLayout(this);

    toolbar_ = new QToolBar;
    toolbar_->addAction(QStringLiteral("Проверить скрипт"), this, [this] { RunCheck(); });
    QAction* help = toolbar_->addAction(QStringLiteral("Помощь "), this, [this] {
        QMessageBox::information(this, QStringLiteral("Информация"), QLines(kFormulaHelp));
    });
    help->setVisible(model_.IsElement());
    toolbar_->addAction(QStringLiteral("(W) Энергия"), this, [this] { PickElements("W2"); });
    toolbar_->addAction(QStringLiteral("(P) Мощность"), this, [this] { PickElements("P2"); });
    toolbar_->addAction(QStringLiteral("(M) Мгновенная величина"), this, [this] { PickMomentary(); });
    auto* events = new QMenu(QStringLiteral("События"), this);
    events->addAction(QStringLiteral("(DI) Дискретный ввод"), this, [this] { PickDiscreteInputs(); });
    events->addAction(QStringLiteral("(MO) Объект измерения"), this, [this] { PickMeasurementObjects(); });
    auto* events_button = new QToolButton;
    events_button->setText(QStringLiteral("События"));
    events_button->setMenu(events);
    events_button->setPopupMode(QToolButton::InstantPopup);
    toolbar_->addWidget(events_button);
    layout->addWidget(toolbar_);

    auto* splitter = new QSplitter;
    tabs_ = new QTabWidget;
    editor_ = new ScriptEdit;
    editor_->setObjectName(QStringLiteral("formula"));
    std::vector<std::string> names;
    for (const FunctionGroup& group : FunctionCatalogue()) {
        for (const FunctionEntry& entry : group.entries) {
            names.push_back(entry.name);
        }
    }
    new ScriptHighlighter(editor_->document(), names);
    editor_->setPlainText(QLines(model_.InitialText()));
    messages_ = new QListWidget;
    tabs_->addTab(editor_, QStringLiteral("Формула"));
    tabs_->addTab(messages_, QStringLiteral("Сообщения компилятора"));
    connect(messages_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { FollowMessage(item); });
    editor_->installEventFilter(this);
    messages_->installEventFilter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(BuildFunctionPanel());
    splitter->setSizes({580, 400});
    layout->addWidget(splitter, 1);

    layout->addWidget(OkCancelButtons(this));

    if (!errors.empty()) {
        model_.ShowMessages(errors);
        ShowMessages();
        messages_->setCurrentRow(0);
        FollowMessage(messages_->item(0));
    }
}

FormulaEditor::~FormulaEditor() = default;

QWidget* FormulaEditor::BuildFunctionPanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Доступные функции")));
    functions_ = new QToolBox;
    const auto& groups = FunctionCatalogue();
    for (size_t g = 0; g < groups.size(); ++g) {
        auto* list = new QListWidget;
        for (size_t i = 0; i < groups[g].entries.size(); ++i) {
            auto* item = new QListWidgetItem(Q(EntryText(i + 1, groups[g].entries[i])), list);
            item->setData(kEntryRole, static_cast<int>((g << 16) | i));
        }
        connect(list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
            const FunctionEntry* entry = EntryOf(item);
            description_->setPlainText(entry != nullptr ? QLines(DescriptionText(*entry))
                                                        : Q(kNoFunctionSelected));
        });
        connect(list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
            if (const FunctionEntry* entry = EntryOf(item)) {
                Insert(InsertionText(*entry));
            }
        });
        list->installEventFilter(this);
        functions_->addItem(list, Q(groups[g].caption));
    }
    layout->addWidget(functions_, 2);
    description_ = new QPlainTextEdit(QStringLiteral("Выберите \nфункцию"));
    description_->setReadOnly(true);
    layout->addWidget(description_, 1);
    return panel;
}

void FormulaEditor::RunCheck() {
    tabs_->setCurrentWidget(messages_);
    messages_->clear();
    messages_->addItem(QStringLiteral("Проверка синтаксиса..."));
    messages_->repaint();
    model_.Check(editor_->Text());
    ShowMessages();
}

void FormulaEditor::ShowMessages() {
    tabs_->setCurrentWidget(messages_);
    messages_->clear();
    for (const std::string& message : model_.Messages()) {
        messages_->addItem(Q(message));
    }
}

void FormulaEditor::FollowMessage(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    const std::optional<int32_t> line =
        model_.MessageLine(S(item->text()), editor_->document()->blockCount());
    if (line) {
        tabs_->setCurrentWidget(editor_);
        editor_->SelectLine(*line);
    }
}

void FormulaEditor::Insert(const std::string& text) {
    editor_->insertPlainText(QLines(text));
    tabs_->setCurrentWidget(editor_);
    editor_->setFocus();
}

template <typename Fn>
void FormulaEditor::WithPicker(Fn&& open) {
    toolbar_->setEnabled(false);
    tabs_->setEnabled(false);
    functions_->setEnabled(false);
    open();
    toolbar_->setEnabled(true);
    tabs_->setEnabled(true);
    functions_->setEnabled(true);
}

void FormulaEditor::PickElements(std::string_view function) {
    WithPicker([&] {
        const auto& entries = catalogue_.Entries();
        if (element_picker_ == nullptr) {
            std::vector<PickerItem> items;
            for (size_t i = 0; i < entries.size(); ++i) {
                items.push_back(
                    {entries[i].IsChannel() ? Q(entries[i].device_name) : QStringLiteral("Абоненты"),
                     Q(ElementCaption(entries[i].address, &entries[i])), static_cast<int>(i)});
            }
            element_picker_ =
                std::make_unique<CheckListPicker>(this, QStringLiteral("Выберите элемент"), items);
        }
        const std::optional<std::vector<int>> picked = element_picker_->Pick({});
        if (!picked) {
            return;
        }
        std::vector<ElementAddress> elements;
        for (const int index : *picked) {
            elements.push_back(entries[static_cast<size_t>(index)].address);
        }
        for (const std::string& text : EnergyInsertions(function, elements)) {
            Insert(text);
        }
    });
}

void FormulaEditor::PickMomentary() {
    WithPicker([&] {
        if (const auto text = PickedText(this, momentary_picker_, MomentaryInsertion)) {
            Insert(*text);
        }
    });
}

void FormulaEditor::PickDiscreteInputs() {
    WithPicker([&] {
        if (const auto text = PickedText(this, input_picker_, DiscreteInputInsertion)) {
            Insert(*text);
        }
    });
}

void FormulaEditor::PickMeasurementObjects() {
    WithPicker([&] {
        if (object_picker_ == nullptr) {
            objects_ = MeasurementObjects();
            std::vector<PickerItem> items;
            for (size_t i = 0; i < objects_.size(); ++i) {
                items.push_back({QStringLiteral("Объекты измерения"),
                                 Q(fmt::format("({}) {}", objects_[i].code, objects_[i].name)),
                                 static_cast<int>(i)});
            }
            object_picker_ =
                std::make_unique<CheckListPicker>(this, QStringLiteral("Выберите объекты измерения"), items);
        }
        const std::optional<std::vector<int>> picked = object_picker_->Pick({});
        if (!picked || picked->empty()) {
            return;
        }
        std::vector<int32_t> codes;
        for (const int index : *picked) {
            codes.push_back(objects_[static_cast<size_t>(index)].code);
        }
        Insert(MeasurementObjectInsertion(codes));
    });
}

bool FormulaEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The space bar inserts the function under the cursor, as a double-click does.
        if (auto* list = qobject_cast<QListWidget*>(watched);
            list != nullptr && list != messages_ && key->key() == Qt::Key_Space) {
            if (const FunctionEntry* entry = EntryOf(list->currentItem())) {
                Insert(InsertionText(*entry));
            }
            return true;
        }
        if ((watched == editor_ || watched == messages_) && (key->modifiers() & Qt::ControlModifier) != 0) {
            switch (key->key()) {
            case Qt::Key_M:
                PickMomentary();
                return true;
            case Qt::Key_Minus:
                if ((key->modifiers() & Qt::KeypadModifier) != 0) {
                    PickMomentary();
                    return true;
                }
                break;
            case Qt::Key_W:
            case Qt::Key_P:
            case Qt::Key_F1:
            case Qt::Key_F8:
                PickElements("W2");
                return true;
            case Qt::Key_F9:
                RunCheck();
                return true;
            default:
                break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FormulaEditor::accept() {
    const FormulaEditorModel::OkResult result = model_.Ok(editor_->Text());
    if (!result.close) {
        ShowMessages();
        return;
    }
    result_ = result.text;
    if (result.accepted) {
        QDialog::accept();
    } else {
        QDialog::reject();
    }
}

} // namespace tl::dialogs
