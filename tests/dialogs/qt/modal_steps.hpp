// Driving modal dialogs from a test: a zero-delay timer waits for the next modal window to open
// (the one the code under test is about to exec()) and acts on it.
#pragma once

#include <QWidget>
#include <functional>

namespace tl::test {

// Calls `action` once with the first visible modal widget other than `previous`. Gives up after
// about ten seconds (the test then hangs in exec() and ctest's timeout reports it).
void OnNextModal(std::function<void(QWidget*)> action, QWidget* previous = nullptr);

// The visible child widget of that class whose text (button text, window title) is `text`.
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
