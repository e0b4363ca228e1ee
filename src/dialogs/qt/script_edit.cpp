#include "script_edit.hpp"

#include "qt_text.hpp"
#include "tldialogs/formula_editor_model.hpp"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QTextBlock>

namespace tl::dialogs {
namespace {

constexpr int kTabWidth = 2;

const char* const kKeywords[] = {
    "and",    "array",  "as",     "begin",  "break", "case",   "const",   "continue", "div",     "do",
    "downto", "else",   "end",    "except", "exit",  "false",  "finally", "for",      "forward", "function",
    "if",     "in",     "is",     "mod",    "nil",   "not",    "of",      "on",       "or",      "procedure",
    "raise",  "record", "repeat", "shl",    "shr",   "string", "then",    "to",       "true",    "try",
    "type",   "until",  "uses",   "var",    "while", "with",   "xor",     "Integer",  "Float",   "Boolean",
};

QTextCharFormat Format(const QColor& color, bool bold = false, bool italic = false) {
    QTextCharFormat format;
    format.setForeground(color);
    if (bold) {
        format.setFontWeight(QFont::Bold);
    }
    format.setFontItalic(italic);
    return format;
}

} // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document, const std::vector<std::string>& functions)
    : QSyntaxHighlighter(document) {
    const auto words = [](const QStringList& list) {
        return QRegularExpression(QStringLiteral("\\b(") + list.join(QLatin1Char('|')) +
                                      QStringLiteral(")\\b"),
                                  QRegularExpression::CaseInsensitiveOption);
    };
    QStringList keywords;
    for (const char* keyword : kKeywords) {
        keywords << QString::fromLatin1(keyword);
    }
    QStringList names;
    for (const std::string& name : functions) {
        names << QRegularExpression::escape(Q(name));
    }
    rules_.push_back(
        {QRegularExpression(QStringLiteral("(\\$[0-9A-Fa-f]+|\\b\\d+(\\.\\d+)?([eE][-+]?\\d+)?)")),
         Format(QColor(0x80, 0x00, 0x80))});
    rules_.push_back({words(names), Format(QColor(0x00, 0x60, 0xA0), true)});
    rules_.push_back({words(keywords), Format(QColor(0x00, 0x00, 0x80), true)});
    rules_.push_back(
        {QRegularExpression(QStringLiteral("%Result[01]?%"), QRegularExpression::CaseInsensitiveOption),
         Format(QColor(0x80, 0x40, 0x00), true)});
    rules_.push_back({QRegularExpression(QStringLiteral("'[^']*'?")), Format(QColor(0x00, 0x80, 0x00))});
    comment_ = Format(Qt::gray, false, true);
}

// Block states: 0 plain, 1 inside { }, 2 inside (* *).
void ScriptHighlighter::highlightBlock(const QString& text) {
    for (const Rule& rule : rules_) {
        for (auto it = rule.pattern.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            setFormat(static_cast<int>(match.capturedStart()), static_cast<int>(match.capturedLength()),
                      rule.format);
        }
    }
    int state = previousBlockState() > 0 ? previousBlockState() : 0;
    int start = 0;
    int i = 0;
    bool in_string = false;
    while (i < text.size()) {
        if (state == 0) {
            const QChar c = text[i];
            if (c == QLatin1Char('\'')) {
                in_string = !in_string;
            } else if (!in_string && c == QLatin1Char('/') && i + 1 < text.size() &&
                       text[i + 1] == QLatin1Char('/')) {
                setFormat(i, static_cast<int>(text.size()) - i, comment_);
                break;
            } else if (!in_string && c == QLatin1Char('{')) {
                state = 1;
                start = i;
            } else if (!in_string && c == QLatin1Char('(') && i + 1 < text.size() &&
                       text[i + 1] == QLatin1Char('*')) {
                state = 2;
                start = i;
                ++i;
            }
            ++i;
            continue;
        }
        const bool closes = state == 1 ? text[i] == QLatin1Char('}')
                                       : text[i] == QLatin1Char('*') && i + 1 < text.size() &&
                                             text[i + 1] == QLatin1Char(')');
        if (closes) {
            const int end = i + (state == 1 ? 1 : 2);
            setFormat(start, end - start, comment_);
            state = 0;
            i = end;
            continue;
        }
        ++i;
    }
    if (state != 0) {
        setFormat(start, static_cast<int>(text.size()) - start, comment_);
    }
    setCurrentBlockState(state);
}

ScriptEdit::ScriptEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
}

std::string ScriptEdit::Text() const {
    return EditorForm(S(toPlainText()), kTabWidth);
}

void ScriptEdit::SelectLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) {
        return;
    }
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    centerCursor();
    setFocus();
}

void ScriptEdit::keyPressEvent(QKeyEvent* event) {
    QTextCursor cursor = textCursor();
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier) {
        const int column = cursor.positionInBlock();
        cursor.insertText(QString(kTabWidth - column % kTabWidth, QLatin1Char(' ')));
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        // Trim the line being left and start the next one under its first character.
        const QString line = cursor.block().text();
        int indent = 0;
        while (indent < line.size() && line[indent] == QLatin1Char(' ')) {
            ++indent;
        }
        cursor.beginEditBlock();
        if (cursor.atBlockEnd()) {
            int trailing = 0;
            while (trailing < line.size() && line[line.size() - 1 - trailing] == QLatin1Char(' ')) {
                ++trailing;
            }
            cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, trailing);
            cursor.removeSelectedText();
        }
        cursor.insertText(QStringLiteral("\n") + QString(indent, QLatin1Char(' ')));
        cursor.endEditBlock();
        setTextCursor(cursor);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace tl::dialogs
