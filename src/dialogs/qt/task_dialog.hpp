// TfrmDialog: the modal settings dialog of one loss-calculation task, the widgets over
// TaskDialogModel. It is also the model's grid panel, element selection and editor launcher.
#pragma once

#include "check_list_picker.hpp"
#include "qt_message_boxes.hpp"
#include "tldialogs/engine_script_checker.hpp"
#include "tldialogs/task_dialog_model.hpp"
#include "tlsettings/svc_config.hpp"

#include <QDialog>
#include <array>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QStackedWidget;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace tl::dialogs {

class PeriodPage;

class TaskDialog : public QDialog, public GridPanel, public ElementSelection, public ElementEditors {
    Q_OBJECT
public:
    // `now`: the local date-time taken as now (0: the system clock).
    TaskDialog(const std::string& task_key, double now, QWidget* parent = nullptr);
    ~TaskDialog() override;

    void accept() override;

    // GridPanel
    void ShowText(std::string_view text) override;
    void ShowGrid() override;
    void FocusRow(const ElementAddress& element) override;
    // ElementSelection
    std::optional<std::vector<ElementAddress>>
    Select(int method, const SelectionOptions& options,
           const std::vector<ElementAddress>& preselected) override;
    // ElementEditors
    bool EditCoefficients(const ElementAddress& element, TMethod1Obj& record) override;
    bool EditFormula(const ElementAddress& element, TMethod2Obj& record, const std::string& common_script,
                     const std::vector<std::string>& errors) override;
    std::optional<std::string> EditCommonScript(const std::string& common_script,
                                                const std::vector<std::string>& errors) override;

private:
    QWidget* BuildMethodPage();
    void BuildColumns();
    void FillRows();
    std::vector<ElementAddress> SelectedRows() const;
    std::optional<ElementAddress> FocusedRow() const;
    void UpdateActions();
    void ShowMethodDescription();

    TSvcConfig config_;
    QtMessageBoxes boxes_;
    EngineScriptChecker checker_;
    std::unique_ptr<TaskDialogModel> model_;
    std::array<std::unique_ptr<CheckListPicker>, 2> selection_windows_;

    QTabWidget* tabs_ = nullptr;
    QComboBox* method_ = nullptr;
    QToolButton* common_script_ = nullptr;
    QStackedWidget* grid_stack_ = nullptr;
    QTreeWidget* grid_ = nullptr;
    QLabel* panel_ = nullptr;
    PeriodPage* period_ = nullptr;
    QAction* configure_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* select_all_ = nullptr;
    QWidget* buttons_ = nullptr;
};

} // namespace tl::dialogs
