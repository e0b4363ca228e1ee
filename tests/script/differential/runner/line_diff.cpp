#include "line_diff.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <vector>

namespace tl::differential {
namespace {

struct Line {
    std::string_view text;  // without its "\n"
    bool terminated = true; // false for a last line without "\n"
    bool operator==(const Line&) const = default;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back({text.substr(start), false});
            break;
        }
        lines.push_back({text.substr(start, end - start), true});
        start = end + 1;
    }
    return lines;
}

std::string Visible(const Line& line) {
    std::string out;
    for (char c : line.text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += fmt::format("\\x{:02X}", byte);
        } else {
            out += c;
        }
    }
    if (!line.terminated) {
        out += "  (no line break at the end)";
    }
    return out;
}

enum class Op { Keep, Remove, Add };

struct Edit {
    Op op;
    size_t expected_line; // 0-based index into the expected lines (Keep, Remove)
    size_t actual_line;   // 0-based index into the actual lines (Keep, Add)
};

// Longest common subsequence by dynamic programming: the outputs compared here are a few
// hundred lines at most. Beyond the limit the texts are compared line by line in place.
std::vector<Edit> ShortestEdits(const std::vector<Line>& a, const std::vector<Line>& b) {
    constexpr size_t kLimit = 4000;
    std::vector<Edit> edits;
    if (a.size() > kLimit || b.size() > kLimit) {
        size_t n = std::max(a.size(), b.size());
        for (size_t i = 0; i < n; ++i) {
            if (i < a.size() && i < b.size() && a[i] == b[i]) {
                edits.push_back({Op::Keep, i, i});
                continue;
            }
            if (i < a.size()) {
                edits.push_back({Op::Remove, i, i});
            }
            if (i < b.size()) {
                edits.push_back({Op::Add, i, i});
            }
        }
        return edits;
    }
    std::vector<std::vector<unsigned>> lcs(a.size() + 1, std::vector<unsigned>(b.size() + 1, 0));
    for (size_t i = a.size(); i-- > 0;) {
        for (size_t j = b.size(); j-- > 0;) {
            lcs[i][j] = a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
        }
    }
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i] == b[j]) {
            edits.push_back({Op::Keep, i++, j++});
        } else if (j < b.size() && (i == a.size() || lcs[i][j + 1] >= lcs[i + 1][j])) {
            edits.push_back({Op::Add, i, j++});
        } else {
            edits.push_back({Op::Remove, i++, j});
        }
    }
    return edits;
}

} // namespace

std::string LineDiff(std::string_view expected, std::string_view actual, int context) {
    if (expected == actual) {
        return {};
    }
    auto a = SplitLines(expected);
    auto b = SplitLines(actual);
    auto edits = ShortestEdits(a, b);

    // Mark the edits shown: every change and `context` unchanged lines on each side of it.
    std::vector<bool> shown(edits.size(), false);
    auto reach = static_cast<size_t>(std::max(context, 0));
    for (size_t k = 0; k < edits.size(); ++k) {
        if (edits[k].op == Op::Keep) {
            continue;
        }
        size_t from = k >= reach ? k - reach : 0;
        size_t to = std::min(edits.size() - 1, k + reach);
        std::fill(shown.begin() + static_cast<std::ptrdiff_t>(from),
                  shown.begin() + static_cast<std::ptrdiff_t>(to) + 1, true);
    }

    std::string out = fmt::format("--- expected ({} lines)\n+++ actual ({} lines)\n", a.size(), b.size());
    bool in_hunk = false;
    for (size_t k = 0; k < edits.size(); ++k) {
        if (!shown[k]) {
            in_hunk = false;
            continue;
        }
        const Edit& e = edits[k];
        if (!in_hunk) {
            out += fmt::format("@@ expected line {}, actual line {} @@\n", e.expected_line + 1,
                               e.actual_line + 1);
            in_hunk = true;
        }
        switch (e.op) {
        case Op::Keep:
            out += fmt::format(" {}\n", Visible(a[e.expected_line]));
            break;
        case Op::Remove:
            out += fmt::format("-{}\n", Visible(a[e.expected_line]));
            break;
        case Op::Add:
            out += fmt::format("+{}\n", Visible(b[e.actual_line]));
            break;
        }
    }
    return out;
}

} // namespace tl::differential
