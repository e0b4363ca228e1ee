// The models' questions and information boxes as Qt message boxes over a parent window.
#pragma once

#include "tldialogs/message_boxes.hpp"

#include <QWidget>

namespace tl::dialogs {

class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}
    Answer Ask(std::string_view caption, std::string_view text, Buttons buttons, BoxIcon icon) override;
    void Inform(std::string_view caption, std::string_view text) override;

private:
    QWidget* parent_;
};

} // namespace tl::dialogs
