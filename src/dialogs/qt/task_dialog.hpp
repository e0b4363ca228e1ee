// TfrmDialog: the modal settings dialog of one loss-calculation task.
#pragma once

#include "tlsettings/svc_config.hpp"
#include "tlsettings/task_settings_model.hpp"

#include <QDialog>
#include <string>

namespace tl::dialogs {

class TaskDialog : public QDialog {
    Q_OBJECT
public:
    // `now`: the local date-time taken as now (0: the system clock).
    TaskDialog(const std::string& task_key, double now, QWidget* parent = nullptr);

    void accept() override;

private:
    TSvcConfig config_;
    settings::TaskSettingsModel model_;
};

} // namespace tl::dialogs
