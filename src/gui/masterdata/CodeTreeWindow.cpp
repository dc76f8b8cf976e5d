#include "CodeTreeWindow.h"
#include "ToolBarFrame.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"
#include "shell/UserInfo.h"

#include <QAction>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeySequence>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const QString kNameCaption = QStringLiteral("输入名称");
const QString kNamePrompt = QStringLiteral("名称");
} // namespace

TCodeTreeWidget::TCodeTreeWidget(TCodeTreeWindow *window) : m_window(window)
{
    setHeaderHidden(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

std::optional<int> TCodeTreeWidget::draggedKey() const
{
    const auto items = selectedItems();
    if (items.isEmpty())
        return std::nullopt;
    return TCodeTreeWindow::keyOf(items.first());
}

std::optional<int> TCodeTreeWidget::targetKey(const QPoint &pos) const
{
    if (const QTreeWidgetItem *item = itemAt(pos))
        return TCodeTreeWindow::keyOf(item);
    return std::nullopt;
}

void TCodeTreeWidget::dragMoveEvent(QDragMoveEvent *event)
{
    const auto dragged = draggedKey();
    if (event->source() == this && dragged && m_window->canDrop(*dragged, targetKey(event->position().toPoint()))) {
        QTreeWidget::dragMoveEvent(event);
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TCodeTreeWidget::dropEvent(QDropEvent *event)
{
    const auto dragged = draggedKey();
    const auto target = targetKey(event->position().toPoint());
    // The tree is redrawn from the table; the widget must not move the item on its own.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (event->source() == this && dragged)
        m_window->drop(*dragged, target);
}

TCodeTreeWindow::TCodeTreeWindow(CodeTreeKind kind, QWidget *parent) : QWidget(parent), m_tree(kind)
{
    const TCodeTreeNames &names = m_tree.names();
    setObjectName(names.windowClass);
    setWindowTitle(names.caption);
    OpData().WriteSysLog(CurrentUser().userName, names.caption);

    const TToolBarFrame frame = NewToolBarFrame(this);
    QVBoxLayout *layout = frame.layout;
    QToolBar *bar = frame.bar;
    m_view = new TCodeTreeWidget(this);
    m_view->setObjectName(QStringLiteral("TreeView1"));
    layout->addWidget(m_view, 1);
    m_status = new QStatusBar;
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setSizeGripEnabled(false);
    layout->addWidget(m_status);

    auto make = [this, bar](const char *name, const QString &text, QStyle::StandardPixmap icon, void (TCodeTreeWindow::*slot)()) {
        auto *action = new QAction(style()->standardIcon(icon), text, this);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        bar->addAction(action);
        return action;
    };
    acAddFriend = make("acAddFriend", QStringLiteral("增同级"), QStyle::SP_FileIcon, &TCodeTreeWindow::addSibling);
    acAddChild = make("acAddChild", QStringLiteral("增子级"), QStyle::SP_FileDialogNewFolder, &TCodeTreeWindow::addChild);
    acEdit = make("acEdit", QStringLiteral("编辑"), QStyle::SP_FileDialogDetailedView, &TCodeTreeWindow::renameSelected);
    acDelete = make("acDelete", QStringLiteral("删除"), QStyle::SP_TrashIcon, &TCodeTreeWindow::deleteSelected);
    // Keys for working without the mouse; the actions belong to the window as well, so that
    // their keys work wherever its focus is.
    const struct {
        QAction *action;
        QKeySequence key;
    } keys[] = {{acAddFriend, QKeySequence(Qt::Key_Insert)},
                {acAddChild, QKeySequence(Qt::CTRL | Qt::Key_Insert)},
                {acEdit, QKeySequence(Qt::Key_F2)},
                {acDelete, QKeySequence(Qt::Key_Delete)}};
    for (const auto &k : keys) {
        k.action->setShortcut(k.key);
        k.action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        k.action->setToolTip(QStringLiteral("%1（%2）").arg(k.action->text(), k.key.toString(QKeySequence::NativeText)));
        addAction(k.action);
    }

    connect(m_view, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        m_status->showMessage(QString::number(keyOf(item)));
    });
    connect(m_view, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item->childCount() == 0)
            renameSelected();
    });

    m_tree.rebuild();
    render();
}

QSize TCodeTreeWindow::sizeHint() const { return {360, 460}; }

int TCodeTreeWindow::keyOf(const QTreeWidgetItem *item) { return item->data(0, Qt::UserRole).toInt(); }

std::optional<int> TCodeTreeWindow::selectedKey() const
{
    const auto items = m_view->selectedItems();
    if (items.isEmpty())
        return std::nullopt;
    return keyOf(items.first());
}

const TCodeTreeNode *TCodeTreeWindow::selectedNode() const
{
    const auto key = selectedKey();
    if (!key)
        return nullptr;
    const int index = m_tree.shape().indexOfKey(*key);
    return index < 0 ? nullptr : &m_tree.shape().nodes.at(index);
}

bool TCodeTreeWindow::selectKey(int key)
{
    for (QTreeWidgetItemIterator it(m_view); *it; ++it)
        if (keyOf(*it) == key) {
            m_view->setCurrentItem(*it);
            (*it)->setSelected(true);
            m_view->scrollToItem(*it);
            return true;
        }
    return false;
}

void TCodeTreeWindow::render()
{
    const TCodeTreeShape &shape = m_tree.shape();
    m_view->clear();
    QList<QTreeWidgetItem *> items(shape.nodes.size(), nullptr);
    // Parents always come before their children in code order.
    for (int i = 0; i < shape.nodes.size(); ++i) {
        const TCodeTreeNode &node = shape.nodes.at(i);
        auto *item = node.parent >= 0 ? new QTreeWidgetItem(items.at(node.parent)) : new QTreeWidgetItem(m_view);
        item->setText(0, node.text());
        item->setData(0, Qt::UserRole, node.key);
        items[i] = item;
    }
    m_view->expandAll();
    const int selected = shape.indexOfCode(m_tree.selectedCode());
    if (selected >= 0) {
        m_view->setCurrentItem(items.at(selected));
        items.at(selected)->setSelected(true);
        m_view->scrollToItem(items.at(selected));
        m_view->setFocus();
    }
}

void TCodeTreeWindow::addUnder(const QString &parentCode)
{
    RunGuarded([&] {
        // Refuse a full or too deep level before the user types a name in vain.
        m_tree.nextCode(parentCode);
        const auto name = InputBox(kNameCaption, kNamePrompt);
        if (!name)
            return;
        try {
            m_tree.addNode(parentCode, *name);
        } catch (...) {
            render();
            throw;
        }
        render();
    });
}

void TCodeTreeWindow::addSibling()
{
    const TCodeTreeNode *node = selectedNode();
    addUnder(node ? ParentCode(node->code) : QString());
}

void TCodeTreeWindow::addChild()
{
    const TCodeTreeNode *node = selectedNode();
    addUnder(node ? node->code : QString());
}

void TCodeTreeWindow::renameSelected()
{
    const TCodeTreeNode *node = selectedNode();
    if (!node)
        return;
    const int key = node->key;
    RunGuarded([&] {
        const auto name = InputBox(kNameCaption, kNamePrompt, node->name);
        if (!name)
            return;
        try {
            m_tree.renameNode(key, *name);
        } catch (...) {
            render();
            throw;
        }
        render();
    });
}

void TCodeTreeWindow::deleteSelected()
{
    const TCodeTreeNode *node = selectedNode();
    if (!node)
        return;
    const int key = node->key;
    RunGuarded([&] {
        const bool deleted = m_tree.deleteNode(key);
        render();
        if (!deleted)
            selectKey(key);
    });
}

bool TCodeTreeWindow::canDrop(int draggedKey, std::optional<int> targetKey) const
{
    return m_tree.canMove(draggedKey, targetKey);
}

void TCodeTreeWindow::drop(int draggedKey, std::optional<int> targetKey)
{
    RunGuarded([&] {
        if (!m_tree.canMove(draggedKey, targetKey))
            return;
        try {
            m_tree.moveNode(draggedKey, targetKey);
        } catch (...) {
            render();
            throw;
        }
        render();
    });
}
