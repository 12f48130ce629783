#pragma once
// Finds text a window cuts off: for every shown label, button, group box
// title, tab, header section, table cell and status panel of a window, the
// text measured in the widget's own font against the room the widget gives
// it, and every place where an ancestor clips that room away. Used by the
// window tests of both programs; also saves a picture of the window.

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace wharf::testing {

// The object path of widget inside window ("Form/GroupBox/E_Name"); a
// widget without an object name is named by its class.
QString widgetPath(const QWidget &widget, const QWidget &window);

struct CutText {
    QString where; // object path and kind ("TMainForm/P_Files/header 2")
    QString text;
    int needed = 0; // pixels the text needs
    int given = 0;  // pixels it gets
};

// Every cut text of window and its shown descendants, in widget order.
// Hidden widgets are left out; every page of a tab widget is looked at
// (the current page is restored).
std::vector<CutText> findCutText(QWidget &window);

// Whether window fits inside the available geometry of its screen.
bool fitsScreen(const QWidget &window);

// One line per cut text, for a test failure message.
QString describeCutText(const std::vector<CutText> &cuts);

// Saves a picture of window as PNG under folder (created when missing);
// returns false when it could not be written.
bool saveWindowPicture(QWidget &window, const QString &folder, const QString &name);

// One window of a program's table: its name (also the picture's file name)
// and how to bring it up; the window is shown by the check.
struct WindowCase {
    const char *name;
    std::function<QWidget &()> open;
};

// Opens and shows each window of the table in turn and hands it to check,
// under a trace naming it; a window that was hidden is hidden again.
void forEachWindowShown(const std::vector<WindowCase> &windows,
                        const std::function<void(const WindowCase &, QWidget &)> &check);

// The check of every window of a table, in order: each is shown, checked
// for cut text and for fitting the screen, saved as a picture under
// pictureFolder, and hidden again unless it was shown before. Failures are
// GoogleTest failures naming the window.
void expectWindowsFit(const std::vector<WindowCase> &windows, const QString &pictureFolder);

} // namespace wharf::testing
