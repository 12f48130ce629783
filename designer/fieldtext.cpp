#include "fieldtext.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace wharf {

QString singleLineText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QChar::LineSeparator, QLatin1Char(' '));
    text.replace(QChar::ParagraphSeparator, QLatin1Char(' '));
    return text;
}

void showFieldText(QLineEdit &field, const QString &text)
{
    field.setText(text);
    field.setCursorPosition(0);
}

QStringList memoLines(const QPlainTextEdit &memo)
{
    QString text = memo.toPlainText();
    if (text.isEmpty())
        return {};
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = singleLineText(line);
    return lines;
}

void setMemoLines(QPlainTextEdit &memo, const QStringList &lines)
{
    memo.setPlainText(lines.join(QLatin1Char('\n')));
}

TStringList toStringList(const QStringList &lines)
{
    TStringList out;
    out.reserve(static_cast<size_t>(lines.size()));
    for (const QString &line : lines)
        out.push_back(line.toStdString());
    return out;
}

QStringList toQStringList(const TStringList &lines)
{
    QStringList out;
    for (const std::string &line : lines)
        out << QString::fromStdString(line);
    return out;
}

} // namespace wharf
