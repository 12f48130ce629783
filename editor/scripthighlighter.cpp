#include "scripthighlighter.h"

#include "colors.h"

#include <QTextCharFormat>

namespace wharf {

ScriptHighlighter::ScriptHighlighter(QTextDocument *document, bool (*enabled)())
    : QSyntaxHighlighter(document), m_enabled(enabled)
{
}

bool ScriptHighlighter::isCommentLine(const QString &line)
{
    qsizetype start = 0;
    while (start < line.size() && line.at(start).unicode() <= 32)
        ++start;
    return line.mid(start, 2) == u"//";
}

void ScriptHighlighter::highlightBlock(const QString &text)
{
    if (!m_enabled() || !isCommentLine(text))
        return;
    QTextCharFormat comment;
    comment.setForeground(toQColor(clNavy));
    comment.setFontItalic(true);
    setFormat(0, static_cast<int>(text.size()), comment);
}

} // namespace wharf
