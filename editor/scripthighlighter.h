#pragma once
// The colouring of the script editor: a line whose text, without leading
// and trailing blanks and control characters, begins with "//" is a comment
// and shown navy and italic; every other line keeps the plain look.

#include <QSyntaxHighlighter>

namespace wharf {

class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // enabled is asked on every line, so switching it takes effect with the
    // next rehighlight.
    ScriptHighlighter(QTextDocument *document, bool (*enabled)());

    static bool isCommentLine(const QString &line);

protected:
    void highlightBlock(const QString &text) override;

private:
    bool (*m_enabled)();
};

} // namespace wharf
