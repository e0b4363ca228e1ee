// The text editor of the formula editor: fixed pitch, the script language highlighted, tabs
// typed as spaces, a new line indented like the one before, blanks at line ends trimmed.
#pragma once

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <string>
#include <vector>

namespace tl::dialogs {

class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // `functions`: the names of the function unit, shown apart from other identifiers.
    ScriptHighlighter(QTextDocument* document, const std::vector<std::string>& functions);

protected:
    void highlightBlock(const QString& text) override;

private:
    struct Rule {
        QRegularExpression pattern;
        QTextCharFormat format;
    };
    std::vector<Rule> rules_;
    QTextCharFormat comment_;
};

class ScriptEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptEdit(QWidget* parent = nullptr);
    // The text in the editor's form (see EditorForm).
    std::string Text() const;
    // Selects the whole line (from 0) and shows it.
    void SelectLine(int line);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tl::dialogs
