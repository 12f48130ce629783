#include "filetreemodel.h"

#include "projectcontroller.h"

#include <QApplication>
#include <QMimeData>
#include <QStyle>

#include <algorithm>

namespace wharf {

const QString TFileTreeModel::kNodeMimeType = QStringLiteral("application/x-wharfwright-file-node");

TFileTreeModel::TFileTreeModel(ProjectController &controller, QObject *parent)
    : QAbstractItemModel(parent), m_controller(controller)
{
    const QStyle *style = QApplication::style();
    m_groupIcon = style->standardIcon(QStyle::SP_DirIcon);
    m_fileIcon = style->standardIcon(QStyle::SP_FileIcon);
    renewGroupIds();
}

const Project &TFileTreeModel::project() const { return m_controller.document(); }
Project &TFileTreeModel::project() { return m_controller.document(); }

void TFileTreeModel::setMoveHandlers(CanMoveHandler canMove, MoveHandler move)
{
    m_canMove = std::move(canMove);
    m_move = std::move(move);
}

void TFileTreeModel::renewGroupIds()
{
    m_groupIds.clear();
    for (size_t i = 0; i < project().Groups.size(); ++i)
        m_groupIds.push_back(m_nextGroupId++);
    m_groupRowsValid = false;
}

void TFileTreeModel::reload()
{
    beginResetModel();
    renewGroupIds();
    endResetModel();
}

int TFileTreeModel::groupRow(quintptr id) const
{
    // Asked for every index a view touches: a map, not a search of the groups.
    if (!m_groupRowsValid) {
        m_groupRows.clear();
        for (size_t row = 0; row < m_groupIds.size(); ++row)
            m_groupRows.emplace(m_groupIds[row], static_cast<int>(row));
        m_groupRowsValid = true;
    }
    const auto found = m_groupRows.find(id);
    return found == m_groupRows.end() ? -1 : found->second;
}

FileNode TFileTreeModel::nodeAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return {};
    if (index.internalId() == 0)
        return nodeExists(project(), {index.row(), -1}) ? FileNode{index.row(), -1} : FileNode{};
    const FileNode node{groupRow(index.internalId()), index.row()};
    return nodeExists(project(), node) ? node : FileNode{};
}

QModelIndex TFileTreeModel::indexOf(FileNode node) const
{
    if (!nodeExists(project(), node))
        return {};
    if (node.isGroup())
        return createIndex(node.Group, 0, quintptr(0));
    return createIndex(node.File, 0, m_groupIds[static_cast<size_t>(node.Group)]);
}

QModelIndex TFileTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, 0, quintptr(0));
    return createIndex(row, 0, m_groupIds[static_cast<size_t>(parent.row())]);
}

QModelIndex TFileTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    const int row = groupRow(child.internalId());
    return row < 0 ? QModelIndex() : createIndex(row, 0, quintptr(0));
}

int TFileTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return static_cast<int>(project().Groups.size());
    const FileNode node = nodeAt(parent);
    if (!node.isGroup())
        return 0;
    return static_cast<int>(project().Groups[static_cast<size_t>(node.Group)].Files.size());
}

int TFileTreeModel::columnCount(const QModelIndex &) const { return 1; }

QVariant TFileTreeModel::data(const QModelIndex &index, int role) const
{
    const FileNode node = nodeAt(index);
    if (node.Group < 0)
        return {};
    const GroupEntry &group = project().Groups[static_cast<size_t>(node.Group)];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(node.isGroup() ? group.Name
                                                     : group.Files[static_cast<size_t>(node.File)].Source);
    case Qt::DecorationRole:
        return node.isGroup() ? m_groupIcon : m_fileIcon;
    default:
        return {};
    }
}

bool TFileTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const FileNode node = nodeAt(index);
    if (role != Qt::EditRole || node.Group < 0 || !value.isValid() || !m_edited)
        return false;
    if (!m_edited(node, value.toString()))
        return false;
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TFileTreeModel::flags(const QModelIndex &index) const
{
    if (nodeAt(index).Group < 0)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled;
}

FileNode TFileTreeModel::appendGroup(GroupEntry group)
{
    const int row = static_cast<int>(project().Groups.size());
    beginInsertRows({}, row, row);
    project().Groups.push_back(std::move(group));
    m_groupIds.push_back(m_nextGroupId++);
    if (m_groupRowsValid)
        m_groupRows.emplace(m_groupIds.back(), static_cast<int>(m_groupIds.size() - 1));
    endInsertRows();
    return {row, -1};
}

FileNode TFileTreeModel::appendFile(int group, FileEntry file)
{
    if (!nodeExists(project(), {group, -1}))
        return {};
    auto &files = project().Groups[static_cast<size_t>(group)].Files;
    const int row = static_cast<int>(files.size());
    beginInsertRows(indexOf({group, -1}), row, row);
    files.push_back(std::move(file));
    endInsertRows();
    return {group, row};
}

void TFileTreeModel::removeNode(FileNode node)
{
    if (!nodeExists(project(), node))
        return;
    const QModelIndex parentIndex = node.isGroup() ? QModelIndex() : indexOf({node.Group, -1});
    const int row = node.isGroup() ? node.Group : node.File;
    beginRemoveRows(parentIndex, row, row);
    deleteNode(project(), node);
    if (node.isGroup()) {
        m_groupIds.erase(m_groupIds.begin() + node.Group);
        m_groupRowsValid = false;
    }
    endRemoveRows();
}

FileNode TFileTreeModel::moveNode(FileNode from, FileNode onto)
{
    Project &doc = project();
    if (!canMoveNode(doc, from, onto))
        return from;
    const QModelIndex sourceParent = from.isGroup() ? QModelIndex() : indexOf({from.Group, -1});
    const int sourceRow = from.isGroup() ? from.Group : from.File;
    QModelIndex targetParent;
    int targetRow = onto.Group;
    if (!from.isGroup()) {
        targetParent = indexOf({onto.Group, -1});
        targetRow = onto.isFile() ? onto.File
                                  : static_cast<int>(doc.Groups[static_cast<size_t>(onto.Group)].Files.size());
    }
    // A move onto the place the node already has is refused by the views'
    // bookkeeping; the document then stays as it is as well.
    const bool moving = beginMoveRows(sourceParent, sourceRow, sourceRow, targetParent, targetRow);
    if (!moving)
        return from;
    const FileNode result = wharf::moveNode(doc, from, onto);
    if (from.isGroup()) {
        const quintptr id = m_groupIds[static_cast<size_t>(from.Group)];
        m_groupIds.erase(m_groupIds.begin() + from.Group);
        m_groupIds.insert(m_groupIds.begin() + result.Group, id);
        m_groupRowsValid = false;
    }
    endMoveRows();
    return result;
}

void TFileTreeModel::nodeChanged(FileNode node)
{
    const QModelIndex changed = indexOf(node);
    if (changed.isValid())
        emit dataChanged(changed, changed);
}

QStringList TFileTreeModel::mimeTypes() const { return {kNodeMimeType}; }

QMimeData *TFileTreeModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty())
        return nullptr;
    const FileNode node = nodeAt(indexes.front());
    if (node.Group < 0)
        return nullptr;
    auto *data = new QMimeData;
    data->setData(kNodeMimeType, QStringLiteral("%1 %2").arg(node.Group).arg(node.File).toLatin1());
    return data;
}

FileNode TFileTreeModel::draggedNode(const QMimeData *data)
{
    if (!data || !data->hasFormat(kNodeMimeType))
        return {};
    const QList<QByteArray> parts = data->data(kNodeMimeType).split(' ');
    if (parts.size() != 2)
        return {};
    bool groupOk = false;
    bool fileOk = false;
    const FileNode node{parts[0].toInt(&groupOk), parts[1].toInt(&fileOk)};
    return groupOk && fileOk ? node : FileNode{};
}

bool TFileTreeModel::canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int,
                                     const QModelIndex &parent) const
{
    // Drops land on the node under the pointer, never between nodes.
    if (action != Qt::MoveAction || row >= 0 || !m_canMove)
        return false;
    const FileNode from = draggedNode(data);
    const FileNode onto = nodeAt(parent);
    return from.Group >= 0 && onto.Group >= 0 && m_canMove(from, onto);
}

bool TFileTreeModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                  const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent) || !m_move)
        return false;
    m_move(draggedNode(data), nodeAt(parent));
    return true;
}

} // namespace wharf
