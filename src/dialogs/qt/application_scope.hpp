// The Qt application a dialog runs in: the host's own QApplication when the process has one,
// otherwise one made for the time the dialog is shown (and made again for the next dialog). The
// Russian texts of Qt's standard buttons are installed for that time either way.
#pragma once

#include <QApplication>
#include <QTranslator>
#include <memory>
#include <vector>

namespace tl::dialogs {

class ApplicationScope {
public:
    // Throws std::runtime_error when the process has a Qt application without widgets.
    ApplicationScope();
    ~ApplicationScope();
    ApplicationScope(const ApplicationScope&) = delete;
    ApplicationScope& operator=(const ApplicationScope&) = delete;

    bool OwnsApplication() const { return own_ != nullptr; }

private:
    std::unique_ptr<QApplication> own_;
    std::vector<std::unique_ptr<QTranslator>> translators_;
};

} // namespace tl::dialogs
