// Collects compile errors and the texts the compile session owns (included files, unquoted
// string literals), so that tokens and tree nodes can refer to them by view.
#pragma once

#include "source_pos.hpp"
#include "tlscript/messages.hpp"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tl::script {

// Lets string-keyed hash containers be searched with a string_view.
struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

class SourceStore {
public:
    // Keeps a text alive for the whole compile session and returns a view of it. Equal texts
    // (the same literal written many times) are kept once.
    std::string_view Keep(std::string_view text) {
        auto found = texts_.find(text);
        return found != texts_.end() ? std::string_view(*found)
                                     : std::string_view(*texts_.emplace(text).first);
    }
    // The text of an included file.
    std::string_view KeepFile(std::string text) { return files_.emplace_back(std::move(text)); }
    int32_t AddFile(std::string name) {
        file_names_.push_back(std::move(name));
        return static_cast<int32_t>(file_names_.size() - 1);
    }
    const std::vector<std::string>& FileNames() const { return file_names_; }

private:
    std::unordered_set<std::string, TextHash, std::equal_to<>> texts_;
    std::vector<std::string> file_names_;
    std::deque<std::string> files_;
};

class Diagnostics {
public:
    Diagnostics(MessageList& list, const SourceStore& sources) : list_(list), sources_(sources) {}

    void Error(SourcePos pos, std::string text);
    int ErrorCount() const { return errors_; }

private:
    MessageList& list_;
    const SourceStore& sources_;
    int errors_ = 0;
};

// A name as shown in a message: a runaway identifier is cut short.
inline std::string Shown(std::string_view name) {
    constexpr size_t kMax = 64;
    return name.size() <= kMax ? std::string(name) : std::string(name.substr(0, kMax)) + "...";
}

// A Message for a position, with the file name when the position lies in an included file.
Message MakeMessage(MessageKind kind, std::string text, SourcePos pos, const std::vector<std::string>& files);

} // namespace tl::script
