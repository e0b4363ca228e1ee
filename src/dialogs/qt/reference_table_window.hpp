// TfrmTab: a tool window that shows one reference table and closes when the table is clicked. Its
// only menu item toggles a second window with the regions table, placed to its right.
#pragma once

#include "tldialogs/reference_tables.hpp"

#include <QDialog>
#include <memory>

class QLabel;
class QTableWidget;

namespace tl::dialogs {

class ReferenceTableWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReferenceTableWindow(QWidget* parent, bool with_regions_menu = true);
    ~ReferenceTableWindow() override;

    // Replaces the caption and the table, and shows the window.
    void ShowTable(ReferenceTableId id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ToggleRegions();

    QLabel* heading_; // the table's title, in the window as well as in its caption
    QLabel* note_;
    QTableWidget* table_;
    std::unique_ptr<ReferenceTableWindow> regions_;
};

// The directory of libtlosses_dialogs.so, where a "reference" directory may hold the tables.
std::filesystem::path DialogsLibraryDirectory();

} // namespace tl::dialogs
