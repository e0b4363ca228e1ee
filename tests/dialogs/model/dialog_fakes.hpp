// Scripted stand-ins for the windows around the dialog models: answers given in advance, and a
// record of every question, panel text, selection and editor opened.
#pragma once

#include "tldialogs/message_boxes.hpp"
#include "tldialogs/task_dialog_services.hpp"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tl::dialogs::testing {

class ScriptedBoxes : public MessageBoxes {
public:
    std::deque<Answer> answers;         // running out of answers is a test failure
    std::vector<std::string> questions; // "caption: text"

    Answer Ask(std::string_view caption, std::string_view text, Buttons buttons, BoxIcon icon) override;
    void Inform(std::string_view, std::string_view) override {}
};

class RecordingPanel : public GridPanel {
public:
    std::vector<std::string> texts;
    void ShowText(std::string_view text) override { texts.emplace_back(text); }
    void ShowGrid() override { texts.emplace_back("<grid>"); }
    void FocusRow(const ElementAddress&) override {}
};

class ScriptedSelection : public ElementSelection {
public:
    std::optional<std::vector<ElementAddress>> next;
    std::vector<ElementAddress> preselected;
    SelectionOptions options;
    std::optional<std::vector<ElementAddress>> Select(int, const SelectionOptions& set_up,
                                                      const std::vector<ElementAddress>& pre) override {
        options = set_up;
        preselected = pre;
        return next;
    }
};

// Each editor does what the test sets and reports OK when it is set.
class ScriptedEditors : public ElementEditors {
public:
    std::function<void(TMethod1Obj&)> coefficients;
    std::optional<std::string> formula;
    std::optional<std::string> common;
    std::vector<std::string> opened; // "formula 26.0.1" / "common", with the first error line
    std::vector<std::string> errors_seen;

    bool EditCoefficients(const ElementAddress& element, TMethod1Obj& record) override;
    bool EditFormula(const ElementAddress& element, TMethod2Obj& record, const std::string& common_script,
                     const std::vector<std::string>& errors) override;
    std::optional<std::string> EditCommonScript(const std::string& common_script,
                                                const std::vector<std::string>& errors) override;
};

// Fails the texts that contain `bad`; records what it was asked to check.
class ScriptedChecker : public ScriptChecker {
public:
    std::string bad = "<bad>";
    std::vector<std::string> checked;
    bool Check(std::string_view common, std::string_view text, bool wrap,
               std::vector<std::string>& errors) override;
};

} // namespace tl::dialogs::testing
