#include "folderbrowse.h"

namespace wharf {

TFolderBrowse::TFolderBrowse(QObject *owner, const Seams &seams) : QObject(owner), m_seams(&seams) {}

bool TFolderBrowse::Execute(QWidget *owner)
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Folder;
    request.title = Title;
    request.initialDir = Directory;
    const FileDialogResult result = m_seams->fileDialogs->run(owner, request);
    if (!result.accepted || result.files.isEmpty() || result.files.front().isEmpty())
        return false;
    Directory = result.files.front();
    return true;
}

} // namespace wharf
