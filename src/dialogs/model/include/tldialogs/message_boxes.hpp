// The questions and information boxes that the dialog models put to the operator. The views
// answer them with real message boxes, the tests with scripted answers.
#pragma once

#include <string_view>

namespace tl::dialogs {

enum class Answer { kYes, kNo, kYesToAll, kNoToAll };

enum class Buttons {
    kYesNo,
    kYesNoToAll, // yes, no, yes to all, no to all
};

enum class BoxIcon { kQuestion, kError };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual Answer Ask(std::string_view caption, std::string_view text, Buttons buttons, BoxIcon icon) = 0;
    virtual void Inform(std::string_view caption, std::string_view text) = 0;
};

} // namespace tl::dialogs
