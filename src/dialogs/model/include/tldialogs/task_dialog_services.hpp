// What the task settings dialog's model needs from the windows around it: the element selection
// window, the per-element editors, the panel that stands in for the grid while the dialog works,
// and the syntax check of scripts. The Qt views implement them; the tests script them.
#pragma once

#include "tlparams/method1_obj.hpp"
#include "tlparams/method2_obj.hpp"
#include "tlsettings/element_key.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::dialogs {

using settings::ElementAddress;

// The options the selection window of a method is set up with: selection mode 263; the elements
// offered, 16 (metering channels: the defined formula pairs channels of one device, so a client
// could never get a complete record) or 52 (channels and clients); no limit on the count (-1); and
// two zero options.
struct SelectionOptions {
    int32_t mode = 263;
    int32_t offered = 0;
    int32_t limit = -1;
    int32_t reserved1 = 0;
    int32_t reserved2 = 0;

    bool OffersClients() const { return offered == 52; }
    bool operator==(const SelectionOptions&) const = default;
};
SelectionOptions SelectionOptionsFor(int method);

// "Настроить список элементов": the selection window of a method, preset with the elements that
// have records; the chosen addresses, or nothing when it was not closed with OK. A preselected
// element that the window does not offer stays chosen.
class ElementSelection {
public:
    virtual ~ElementSelection() = default;
    virtual std::optional<std::vector<ElementAddress>>
    Select(int method, const SelectionOptions& options, const std::vector<ElementAddress>& preselected) = 0;
};

// The per-element editors. Each changes the record only when it is closed with OK, and says so.
// `errors`: the messages of a failed script check, shown when the editor opens.
class ElementEditors {
public:
    virtual ~ElementEditors() = default;
    virtual bool EditCoefficients(const ElementAddress& element, TMethod1Obj& record) = 0;
    virtual bool EditFormula(const ElementAddress& element, TMethod2Obj& record,
                             const std::string& common_script, const std::vector<std::string>& errors) = 0;
    // The new common script, or nothing when it was left unchanged.
    virtual std::optional<std::string> EditCommonScript(const std::string& common_script,
                                                        const std::vector<std::string>& errors) = 0;
};

// The element grid and the panel behind it.
class GridPanel {
public:
    virtual ~GridPanel() = default;
    // Hides the grid and shows the text in its place, repainted at once.
    virtual void ShowText(std::string_view text) = 0;
    // Shows the grid again (and the rows as the model has them now).
    virtual void ShowGrid() = 0;
    // Selects and focuses the element's row.
    virtual void FocusRow(const ElementAddress& element) = 0;
};

// The syntax check of one script text: see BuildCheckScript for `wrap`. False with the messages
// in `errors` when it does not compile.
class ScriptChecker {
public:
    virtual ~ScriptChecker() = default;
    virtual bool Check(std::string_view common_script, std::string_view text, bool wrap,
                       std::vector<std::string>& errors) = 0;
};

} // namespace tl::dialogs
