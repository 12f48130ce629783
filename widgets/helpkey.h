#pragma once
// F1 opens a program's help at the topic of the window it was pressed in.
// The editor uses it for the windows beside its main window (the entry
// dialogs, the variables palette, the compile window and the small windows;
// the main window keeps its own F1, which follows the page shown); the
// designer for all of its windows.

#include <QObject>
#include <QString>

class QWidget;

namespace wharf {

class HelpService;

// The anchor of a window's topic in the editor's help: its help context
// (the property "HelpContext", or "helpContext") as a number when it has
// one above 0, otherwise its object name.
QString helpTopicOf(const QWidget &window);

// Watches the key presses of the whole program (install it on the
// application object): an F1 without modifiers whose window is not
// excluded opens helpFile at that window's topic and goes no further.
class TDialogHelpKey : public QObject {
public:
    // excluded: a window whose F1 is left alone; nullptr for none.
    TDialogHelpKey(HelpService &help, QString helpFile, const QWidget *excluded);

    // Opens the topic of the window that holds widget; false when that is
    // the excluded window.
    bool showHelpFor(QWidget &widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HelpService &m_help;
    QString m_helpFile;
    const QWidget *m_excluded;
};

} // namespace wharf
