// Driving modal dialogs from a test: a zero-delay timer waits for the next modal window to open
// (the one the code under test is about to exec()) and acts on it.
#pragma once

#include <QWidget>
#include <functional>

namespace tl::test {

// Calls `action` once with the first visible modal widget other than `previous`. Gives up after
// about ten seconds (the test then hangs in exec() and ctest's timeout reports it).
void OnNextModal(std::function<void(QWidget*)> action, QWidget* previous = nullptr);

// Double-clicks the grid row of the settings dialog and runs `in_editor` on the editor it opens.
void OpenRow(QWidget* dialog, int row, std::function<void(QWidget*)> in_editor);

// Closes the dialog as its cancel button does.
void Reject(QWidget* dialog);

// The child of that class (a button, an action) whose text is `text`.
template <typename T>
T* FindByText(QWidget* root, const QString& text) {
    for (T* widget : root->findChildren<T*>()) {
        if (widget->text() == text) {
            return widget;
        }
    }
    return nullptr;
}

} // namespace tl::test
