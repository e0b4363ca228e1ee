// TfrmParams2: the formula editor of one element formula or of the common script, the widgets
// over FormulaEditorModel.
#pragma once

#include "check_list_picker.hpp"
#include "tldialogs/element_catalogue.hpp"
#include "tldialogs/formula_editor_model.hpp"
#include "tldialogs/picker_queries.hpp"

#include <QDialog>
#include <memory>

class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QTabWidget;
class QToolBar;
class QToolBox;

namespace tl::dialogs {

class DiscreteInputPicker;
class MomentaryPicker;
class ScriptEdit;

class FormulaEditor : public QDialog {
    Q_OBJECT
public:
    // `caption`: the element's ("(%s.%d) %s.%s") or "Общий скрипт"; `errors`: the messages of a
    // failed script check, shown and followed at once.
    FormulaEditor(QWidget* parent, const QString& caption, FormulaEditorModel& model,
                  const ElementCatalogue& catalogue, const std::vector<std::string>& errors);
    ~FormulaEditor() override;

    // The text OK settled on (valid after exec() returned Accepted).
    const std::string& ResultText() const { return result_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildFunctionPanel();
    void RunCheck();
    void ShowMessages();
    void FollowMessage(QListWidgetItem* item);
    void Insert(const std::string& text);
    void PickElements(std::string_view function);
    void PickMomentary();
    void PickDiscreteInputs();
    void PickMeasurementObjects();
    // While a picker is open the toolbar, the tabs and the function panel are disabled.
    template <typename Fn>
    void WithPicker(Fn&& open);

    FormulaEditorModel& model_;
    const ElementCatalogue& catalogue_;
    std::string result_;
    QToolBar* toolbar_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    ScriptEdit* editor_ = nullptr;
    QListWidget* messages_ = nullptr;
    QToolBox* functions_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    std::unique_ptr<CheckListPicker> element_picker_;
    std::unique_ptr<MomentaryPicker> momentary_picker_;
    std::unique_ptr<DiscreteInputPicker> input_picker_;
    std::unique_ptr<CheckListPicker> object_picker_;
    std::vector<NamedCode> objects_;
};

// "(%d) %s" for a client, "(%s.%d) %s.%s" for a channel.
QString FormulaEditorCaption(const ElementAddress& element, const CatalogueEntry* entry);

} // namespace tl::dialogs
