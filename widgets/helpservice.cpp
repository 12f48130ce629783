#include "helpservice.h"

#include "paths.h"

#include <QFileInfo>
#include <QUrl>

namespace wharf {

HelpService::HelpService(QString programFolder, const Seams &seams)
    : m_programFolder(std::move(programFolder)), m_seams(&seams)
{
}

QString HelpService::findDocument(const QString &helpFile) const
{
    if (helpFile.isEmpty())
        return {};
    const std::string name = helpFile.toStdString();
    const std::string full = isAbsolutePath(name) ? name : joinPath(m_programFolder.toStdString(), name);
    for (const char *ext : {".html", ".htm", ".pdf", ".txt", ""}) {
        const std::string candidate = toNativePath(*ext ? changeFileExt(full, ext) : full);
        if (QFileInfo(QString::fromStdString(candidate)).isFile())
            return QString::fromStdString(candidate);
    }
    return {};
}

bool HelpService::showContents(QWidget *owner, const QString &helpFile) { return open(owner, helpFile, {}); }

bool HelpService::showKeyword(QWidget *owner, const QString &helpFile, const QString &keyword)
{
    return open(owner, helpFile, keyword);
}

bool HelpService::open(QWidget *owner, const QString &helpFile, const QString &keyword)
{
    // The topic tells the author what was asked for, and the help's author
    // what is missing.
    const QString topic = keyword.isEmpty() ? QString() : QStringLiteral(" for the topic \"%1\"").arg(keyword);
    const QString document = findDocument(helpFile);
    if (document.isEmpty()) {
        showError(*m_seams, owner,
                  QStringLiteral("Could not find the help file \"%1\"%2.")
                      .arg(QString::fromStdString(extractFileName(helpFile.toStdString())), topic));
        return false;
    }
    QString target = document;
    const QString suffix = QFileInfo(document).suffix().toLower();
    if (!keyword.isEmpty() && (suffix == u"html" || suffix == u"htm")) {
        QUrl url = QUrl::fromLocalFile(document);
        url.setFragment(keyword);
        target = url.toString();
    }
    if (m_seams->processes->openDocument(target))
        return true;
    // Without the desktop's opener nothing would happen at all; the author
    // can still open the file by hand.
    showError(*m_seams, owner,
              QStringLiteral("Could not open the help file \"%1\"%2: no program to show it could be started. Open "
                             "it in a web browser.")
                  .arg(document, topic));
    return false;
}

} // namespace wharf
