#include "helpkey.h"

#include "helpservice.h"

#include <QEvent>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

namespace wharf {

QString helpTopicOf(const QWidget &window)
{
    for (const char *name : {"HelpContext", "helpContext"}) {
        bool ok = false;
        const int context = window.property(name).toInt(&ok);
        if (ok && context > 0)
            return QString::number(context);
    }
    return window.objectName();
}

TDialogHelpKey::TDialogHelpKey(HelpService &help, QString helpFile, const QWidget *excluded)
    : m_help(help), m_helpFile(std::move(helpFile)), m_excluded(excluded)
{
}

bool TDialogHelpKey::showHelpFor(QWidget &widget)
{
    QWidget *window = widget.window();
    if (!window || window == m_excluded)
        return false;
    m_help.showKeyword(window, m_helpFile, helpTopicOf(*window));
    return true;
}

bool TDialogHelpKey::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
        return false;
    return showHelpFor(*static_cast<QWidget *>(watched));
}

} // namespace wharf
