#include "diagnostics.hpp"

namespace tl::script {

Message MakeMessage(MessageKind kind, std::string text, SourcePos pos,
                    const std::vector<std::string>& files) {
    Message message;
    message.kind = kind;
    message.text = std::move(text);
    message.line = pos.line;
    message.column = pos.column;
    if (pos.file > 0 && static_cast<size_t>(pos.file) < files.size()) {
        message.source = files[static_cast<size_t>(pos.file)];
    }
    return message;
}

void Diagnostics::Error(SourcePos pos, std::string text) {
    ++errors_;
    list_.Add(MakeMessage(MessageKind::CompileError, std::move(text), pos, sources_.FileNames()));
}

} // namespace tl::script
