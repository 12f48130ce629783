#pragma once
// Help in place of the Windows help system. The programs ask for a help
// file's contents or for a keyword in it by the help file's name
// ("wharfwright.hlp", "ddscript.hlp", "Wharfdraft.hlp"); the help files
// themselves are not part of the system. A request opens a document of the
// help file's name in the program folder, with the desktop's viewer; when no
// such document exists the author is told so.

#include "seams.h"

#include <QString>

class QWidget;

namespace wharf {

class HelpService {
public:
    // programFolder: the folder help files are looked up in (see
    // programFolder()). seams: messages and the document opener; must
    // outlive the service.
    HelpService(QString programFolder, const Seams &seams);

    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    const QString &programFolder() const { return m_programFolder; }

    // The document that stands for helpFile: the first that exists of the
    // help file's name with ".html", ".htm", ".pdf" or ".txt" in place of
    // its extension, then the file itself; looked up in the program folder
    // unless helpFile is absolute. Empty when none exists.
    QString findDocument(const QString &helpFile) const;

    // Opens the document at its start. False (after telling the author
    // "Could not find the help file "<name>".", with " for the topic "<keyword>""
    // before the full stop when a keyword was asked for) when there is none;
    // false too, after a message naming the document's full path and the
    // topic, when no viewer could be started for it.
    bool showContents(QWidget *owner, const QString &helpFile);
    // Opens the document at the keyword: an HTML document at the anchor of
    // that name, any other at its start.
    bool showKeyword(QWidget *owner, const QString &helpFile, const QString &keyword);

private:
    bool open(QWidget *owner, const QString &helpFile, const QString &keyword);

    QString m_programFolder;
    const Seams *m_seams;
};

} // namespace wharf
