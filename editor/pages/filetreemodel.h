#pragma once
// TFileTreeModel: the file tree of the files page as a view of the project
// document: the groups at the top level, their files below. The model keeps
// no copy of the entries; it reads the document on every call, and every
// change of the tree goes through its operations, which change the
// document and tell the views. Renames and moves by dragging are handed to
// the page (setEditHandler, setMoveHandlers), which decides and marks the
// project modified.

#include "filegroups.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <unordered_map>
#include <vector>

namespace wharf {

class ProjectController;

class TFileTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The drag data of a node moved inside the tree.
    static const QString kNodeMimeType;

    // controller must outlive the model.
    explicit TFileTreeModel(ProjectController &controller, QObject *parent = nullptr);

    // A finished label edit: true when the node takes text.
    using EditHandler = std::function<bool(FileNode node, const QString &text)>;
    void setEditHandler(EditHandler handler) { m_edited = std::move(handler); }
    // A drag over onto (may it drop?) and the drop itself.
    using CanMoveHandler = std::function<bool(FileNode from, FileNode onto)>;
    using MoveHandler = std::function<void(FileNode from, FileNode onto)>;
    void setMoveHandlers(CanMoveHandler canMove, MoveHandler move);

    // The document was replaced: the views show it afresh.
    void reload();

    // The node an index stands for ({-1, -1} for none), and back.
    FileNode nodeAt(const QModelIndex &index) const;
    QModelIndex indexOf(FileNode node) const;

    // Changes of the tree, made in the document and shown by the views.
    // Each returns where the node is afterwards.
    FileNode appendGroup(GroupEntry group);
    FileNode appendFile(int group, FileEntry file);
    void removeNode(FileNode node);
    FileNode moveNode(FileNode from, FileNode onto);
    // The node's text or record changed in the document.
    void nodeChanged(FileNode node);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // Clearing items (what a view does after some moves) never reaches the
    // document.
    bool setItemData(const QModelIndex &, const QMap<int, QVariant> &) override { return false; }
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

    // The node a drag of this model carries; {-1, -1} for other data.
    static FileNode draggedNode(const QMimeData *data);

private:
    const Project &project() const;
    Project &project();
    int groupRow(quintptr id) const;
    void renewGroupIds();

    ProjectController &m_controller;
    // A stable id per group, in group order, so a file's index keeps naming
    // its group while groups move or go.
    std::vector<quintptr> m_groupIds;
    // Row of each group id, rebuilt after a removal or a move.
    mutable std::unordered_map<quintptr, int> m_groupRows;
    mutable bool m_groupRowsValid = false;
    quintptr m_nextGroupId = 1;
    EditHandler m_edited;
    CanMoveHandler m_canMove;
    MoveHandler m_move;
    QIcon m_groupIcon;
    QIcon m_fileIcon;
};

} // namespace wharf
