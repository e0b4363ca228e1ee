#include "application_scope.hpp"

#include <QLibraryInfo>
#include <stdexcept>

namespace tl::dialogs {
namespace {

// QApplication keeps references to these for its whole life.
int g_argc = 1;
char g_program[] = "tlosses";
char* g_argv[] = {g_program, nullptr};

} // namespace

ApplicationScope::ApplicationScope() {
    if (QCoreApplication::instance() == nullptr) {
        own_ = std::make_unique<QApplication>(g_argc, g_argv);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        throw std::runtime_error("в процессе уже есть приложение Qt без поддержки окон");
    }
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_ru"}) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QString::fromLatin1(name), directory)) {
            QCoreApplication::installTranslator(translator.get());
            translators_.push_back(std::move(translator));
        }
    }
}

ApplicationScope::~ApplicationScope() {
    for (const auto& translator : translators_) {
        QCoreApplication::removeTranslator(translator.get());
    }
    translators_.clear();
    own_.reset();
}

} // namespace tl::dialogs
