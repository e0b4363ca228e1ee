#include "reference_table_window.hpp"

#include "qt_text.hpp"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <dlfcn.h>
#include <fstream>
#include <sstream>

namespace tl::dialogs {
namespace {

const char kAnchor = 0;

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::filesystem::path DialogsLibraryDirectory() {
    Dl_info info{};
    if (dladdr(&kAnchor, &info) != 0 && info.dli_fname != nullptr) {
        return std::filesystem::path(info.dli_fname).parent_path();
    }
    return {};
}

ReferenceTableWindow::ReferenceTableWindow(QWidget* parent, bool with_regions_menu)
    : QDialog(parent, Qt::Tool), heading_(new QLabel), note_(new QLabel), table_(new QTableWidget) {
    auto* layout = new QVBoxLayout(this);
    if (with_regions_menu) {
        auto* menu = new QMenuBar;
        QAction* regions = menu->addAction(Q(ReferenceTableCaption(ReferenceTableId::kRegions)));
        connect(regions, &QAction::triggered, this, [this] { ToggleRegions(); });
        layout->setMenuBar(menu);
    }
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    heading_->setWordWrap(true);
    heading_->installEventFilter(this);
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    note_->installEventFilter(this);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->viewport()->installEventFilter(this);
    layout->addWidget(heading_);
    layout->addWidget(note_);
    layout->addWidget(table_, 1);
    resize(560, 420);
}

ReferenceTableWindow::~ReferenceTableWindow() = default;

void ReferenceTableWindow::ShowTable(ReferenceTableId id) {
    setWindowTitle(Q(ReferenceTableCaption(id)));
    heading_->setText(Q(ReferenceTableCaption(id)));
    table_->clear();
    table_->setRowCount(0);
    table_->setColumnCount(0);
    const std::vector<std::filesystem::path> directories = ReferenceDirectories(DialogsLibraryDirectory());
    const std::optional<std::filesystem::path> file = FindReferenceTable(id, directories);
    if (!file) {
        QString where;
        for (const auto& directory : directories) {
            where += QStringLiteral("\n  ") + QString::fromStdString(directory.string());
        }
        note_->setText(QStringLiteral("Таблица не установлена. Поместите файл %1 (CSV в UTF-8: строка "
                                      "\"# source: ...\" с источником, затем заголовки столбцов и строки, "
                                      "разделитель \";\") в один из каталогов:%2")
                           .arg(Q(ReferenceTableFile(id)), where));
        table_->hide();
    } else {
        try {
            const ReferenceTable table = ParseReferenceTable(ReadFile(*file));
            if (!table.title.empty()) {
                heading_->setText(Q(table.title));
            }
            note_->setText(QStringLiteral("Источник: %1").arg(Q(table.source)));
            table_->setColumnCount(static_cast<int>(table.columns.size()));
            QStringList captions;
            for (const std::string& column : table.columns) {
                captions << Q(column);
            }
            table_->setHorizontalHeaderLabels(captions);
            table_->setRowCount(static_cast<int>(table.rows.size()));
            for (size_t r = 0; r < table.rows.size(); ++r) {
                for (size_t c = 0; c < table.rows[r].size() && c < table.columns.size(); ++c) {
                    table_->setItem(static_cast<int>(r), static_cast<int>(c),
                                    new QTableWidgetItem(Q(table.rows[r][c])));
                }
            }
            table_->resizeColumnsToContents();
            table_->show();
        } catch (const ReferenceTableError& error) {
            note_->setText(QStringLiteral("Файл %1 не прочитан: %2")
                               .arg(QString::fromStdString(file->string()), QString::fromUtf8(error.what())));
            table_->hide();
        }
    }
    show();
    raise();
}

bool ReferenceTableWindow::eventFilter(QObject* watched, QEvent* event) {
    // A click on the table, or on the text that stands for a missing one, closes the window.
    if ((watched == table_->viewport() || watched == note_ || watched == heading_) &&
        event->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ReferenceTableWindow::ToggleRegions() {
    if (regions_ != nullptr && regions_->isVisible()) {
        regions_->close();
        return;
    }
    if (regions_ == nullptr) {
        regions_ = std::make_unique<ReferenceTableWindow>(parentWidget(), false);
    }
    regions_->ShowTable(ReferenceTableId::kRegions);
    regions_->move(frameGeometry().right() + 1, frameGeometry().top());
}

} // namespace tl::dialogs
