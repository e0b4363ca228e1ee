// TfrmDialog without its windows: one task's settings as the settings dialog edits them. It loads
// the task, keeps the element list of the selected method with its records and changed flags,
// pairs channels with their secondary channels, runs the list commands (configure, delete, copy,
// paste) with their questions, opens the per-element editors, checks the scripts before a save of
// the formula method, and saves in the fixed order.
#pragma once

#include "tldialogs/element_catalogue.hpp"
#include "tldialogs/message_boxes.hpp"
#include "tldialogs/period_fields.hpp"
#include "tldialogs/task_dialog_services.hpp"
#include "tlsettings/svc_config.hpp"
#include "tlsettings/task_settings_model.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tl::dialogs {

inline constexpr int kDefinedFormula = 0; // "1. Расчет потерь в линии передачи и трансформаторах"
inline constexpr int kArbitraryFormula = 1; // "2. Расчет по произвольной формуле"

struct TaskDialogServices {
    MessageBoxes* boxes = nullptr;
    ElementSelection* selection = nullptr;
    ElementEditors* editors = nullptr;
    GridPanel* panel = nullptr;
    ScriptChecker* checker = nullptr;
};

class TaskDialogModel {
public:
    TaskDialogModel(std::string task_key, TSvcConfig& config, ElementCatalogue catalogue,
                    TaskDialogServices services);

    // Reads the task with the dialog's defaults (`today` at 00:00), converts both element
    // sections and selects the stored method, which loads its element list.
    void Load(DateTime today);

    const settings::TaskSettingsModel& Settings() const { return settings_; }
    const ElementCatalogue& Catalogue() const { return catalogue_; }
    PeriodFields& Period() { return period_; }
    const std::string& CommonScript() const { return settings_.Settings().common_script; }

    int Method() const { return method_; }
    // A change of the method: with the list changed, asks whether to save the previous method's
    // records first; then loads the new method's list from the store (pairing under method 1).
    void SelectMethod(int method);
    bool ListChanged() const { return list_changed_; }

    // The grid's rows: the elements with records, by address, ascending or descending.
    std::vector<ElementAddress> Rows() const;
    void SetDescending(bool descending) { descending_ = descending; }
    const settings::ElementRecord* Element(const ElementAddress& address) const;
    // A channel's kind as the dialogs see it: its record's sensor type when it has a record in
    // the list, the catalogue's kind otherwise.
    std::optional<int32_t> KindOf(const ElementAddress& address) const;

    // "Настроить список элементов". Returns the last element added (the row to focus), if any.
    std::optional<ElementAddress> ConfigureList();
    // "Удалить" for the selected rows.
    void Delete(const std::vector<ElementAddress>& selected);
    // "Копировать" the focused row; "Вставить" onto the selected rows.
    void Copy(const ElementAddress& focused);
    bool CanPaste() const { return can_paste_; }
    void Paste(const std::vector<ElementAddress>& selected);
    // Switching the tab disables "Вставить" until the next copy.
    void TabChanged() { can_paste_ = false; }

    // A double-click on a row: the coefficient dialog or the formula editor. True when it was
    // closed with OK.
    bool EditElement(const ElementAddress& element, const std::vector<std::string>& errors = {});
    // The common-script button.
    bool EditCommonScript(const std::vector<std::string>& errors = {});

    // OK: the script check for a changed formula-method list, then the save. False (nothing
    // written) when the check failed and the dialog stays open.
    bool Save();

    // Every changed script compiles: the progress texts on the panel, a stop at the first failure
    // with the question that offers its editor.
    bool CheckScripts();

private:
    using ElementRecord = settings::ElementRecord;

    ElementRecord* Find(const ElementAddress& address);
    // The element's entry with a record; a new record takes the channel kind of the catalogue.
    ElementRecord& Add(const ElementAddress& address);
    // Frees the record; under method 1 the elements that had it as secondary channel lose it.
    bool Remove(const ElementAddress& address);
    // Asks the question of deleting configured channels when one of `candidates` has a complete
    // record; false when the operator keeps them.
    bool ConfirmRemoving(const std::vector<ElementAddress>& candidates);
    std::vector<ElementAddress> AddressesWithRecords() const;
    std::string ObjectText(const ElementAddress& address) const;

    // Secondary channel pairing of method 1.
    void Pair(const ElementAddress& element);
    void PairAll();
    bool IsPaired(const ElementAddress& address) const;
    std::optional<ElementAddress> FindSecondary(const ElementAddress& element, int32_t kind) const;

    TSvcConfig& config_;
    ElementCatalogue catalogue_;
    TaskDialogServices services_;
    settings::TaskSettingsModel settings_;
    PeriodFields period_;
    int method_ = -1; // the previously selected method; -1 before the first load
    bool list_changed_ = false;
    bool descending_ = false;
    std::optional<ElementAddress> copy_source_;
    bool can_paste_ = false;
};

} // namespace tl::dialogs
