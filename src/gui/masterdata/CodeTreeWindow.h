#pragma once
#include "masterdata/CodeTree.h"
#include <QTreeWidget>
#include <QWidget>
#include <optional>

class QAction;
class QStatusBar;
class TCodeTreeWindow;

// The tree widget of the coded-tree windows: drops are decided by the tree's rules and carried
// out by the window, never by the widget moving items itself.
class TCodeTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit TCodeTreeWidget(TCodeTreeWindow *window);

protected:
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    std::optional<int> draggedKey() const;
    std::optional<int> targetKey(const QPoint &pos) const;
    TCodeTreeWindow *m_window;
};

// The tree window of areas (TfrmArea) and item categories (TfrmInventoryC): each node shows its
// code and name, the status line the key of the node clicked last.
class TCodeTreeWindow : public QWidget {
    Q_OBJECT
public:
    explicit TCodeTreeWindow(CodeTreeKind kind, QWidget *parent = nullptr);

    TCodeTree &tree() { return m_tree; }
    QTreeWidget *treeWidget() const { return m_view; }
    QStatusBar *statusBar() const { return m_status; }

    QAction *acAddFriend = nullptr;
    QAction *acAddChild = nullptr;
    QAction *acEdit = nullptr;
    QAction *acDelete = nullptr;

    void addSibling();
    void addChild();
    void renameSelected();
    void deleteSelected();
    // What a drop does: the node moves under the target (none: the top level).
    bool canDrop(int draggedKey, std::optional<int> targetKey) const;
    void drop(int draggedKey, std::optional<int> targetKey);

    // The key of the selected node, if any.
    std::optional<int> selectedKey() const;
    bool selectKey(int key);
    static int keyOf(const QTreeWidgetItem *item);

    QSize sizeHint() const override;

private:
    void addUnder(const QString &parentCode);
    void render();
    const TCodeTreeNode *selectedNode() const;

    TCodeTree m_tree;
    TCodeTreeWidget *m_view = nullptr;
    QStatusBar *m_status = nullptr;
};
