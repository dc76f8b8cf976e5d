#include "CodeTree.h"
#include "data/DataModule.h"
#include "data/DataSetHelpers.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"

namespace {

const QString kTooDeep = QStringLiteral("最长允许四级长度，代码级别超过限制");

QList<TCodeTreeNames> BuildNames()
{
    return {
        {CodeTreeKind::Area, "TfrmArea", "地区资料", 96, "Area", "AreaID", "Area", "cArCode", "cArName",
         "select * from Area order by cArCode"},
        {CodeTreeKind::InventoryC, "TfrmInventoryC", "货品分类资料", 93, "InventoryC", "InventoryCID", "InventoryC",
         "cInvCCode", "cInvCName", "select * from InventoryC order by cInvCCode"},
    };
}

} // namespace

const TCodeTreeNames &CodeTreeNames(CodeTreeKind kind)
{
    static const QList<TCodeTreeNames> all = BuildNames();
    return all.at(kind == CodeTreeKind::Area ? 0 : 1);
}

int CodeLevel(const QString &code) { return int(code.size() + kCodeLevelWidth - 1) / kCodeLevelWidth; }

QString ParentCode(const QString &code)
{
    return code.size() <= kCodeLevelWidth ? QString() : code.left(code.size() - kCodeLevelWidth);
}

int TCodeTreeShape::indexOfKey(int key) const
{
    for (int i = 0; i < nodes.size(); ++i)
        if (nodes.at(i).key == key)
            return i;
    return -1;
}

int TCodeTreeShape::indexOfCode(const QString &code) const
{
    for (int i = 0; i < nodes.size(); ++i)
        if (nodes.at(i).code == code)
            return i;
    return -1;
}

TCodeTreeShape BuildCodeTreeShape(const QList<TCodeTreeRow> &rowsInCodeOrder)
{
    TCodeTreeShape shape;
    int previousLevel = 0;
    int last = -1;
    for (const TCodeTreeRow &row : rowsInCodeOrder) {
        TCodeTreeNode node{row.key, row.code, row.name, CodeLevel(row.code), -1, {}};
        int parent = last;
        if (last >= 0 && node.level <= previousLevel) {
            for (int climb = previousLevel - node.level + 1; climb > 0 && parent >= 0; --climb)
                parent = shape.nodes.at(parent).parent;
        }
        node.parent = parent;
        const int index = int(shape.nodes.size());
        shape.nodes << node;
        if (parent >= 0)
            shape.nodes[parent].children << index;
        else
            shape.roots << index;
        last = index;
        previousLevel = node.level;
    }
    return shape;
}

TCodeTree::TCodeTree(CodeTreeKind kind) : m_names(CodeTreeNames(kind))
{
    m_ds.setObjectName(m_names.table);
    m_ds.setCommandText(m_names.selectSql);
    m_ds.setUpdateTable(m_names.table, {m_names.keyColumn});
}

void TCodeTree::rebuild()
{
    m_ds.open();
    QList<TCodeTreeRow> rows;
    TField &key = m_ds.fieldByName(m_names.keyColumn);
    TField &code = m_ds.fieldByName(m_names.codeColumn);
    TField &name = m_ds.fieldByName(m_names.nameColumn);
    for (m_ds.first(); !m_ds.eof(); m_ds.next())
        rows << TCodeTreeRow{key.asInteger(), code.asString(), name.asString()};
    m_shape = BuildCodeTreeShape(rows);
}

QString TCodeTree::nextCode(const QString &parentCode) const
{
    if (CodeLevel(parentCode) >= kCodeMaxLevels)
        throw AppError(kTooDeep);
    const QString table = SqlIdentifier(m_names.table);
    const QString column = SqlIdentifier(m_names.codeColumn);
    const int length = int(parentCode.size()) + kCodeLevelWidth;
    const QString highest = OpData().ScalarText(
        QStringLiteral("select max(%1) from %2 where substr(%1,1,?)=? and length(%1)=?").arg(column, table),
        {parentCode.size(), parentCode, length});
    // The top level starts at "10" so that codes never begin with a zero.
    if (highest.isEmpty())
        return parentCode.isEmpty() ? QStringLiteral("10") : parentCode + QStringLiteral("01");
    bool ok = false;
    const int last = highest.right(kCodeLevelWidth).toInt(&ok);
    if (!ok)
        throw AppError(QStringLiteral("代码“%1”不是数字，无法生成新的代码！").arg(highest));
    // Counting past 99 would give a code one digit too long, or one under another parent.
    if (last >= 99)
        throw AppError(parentCode.isEmpty()
                           ? QStringLiteral("最上一级的代码（10至99）已经用完，不能再增加！")
                           : QStringLiteral("“%1”下的代码（01至99）已经用完，不能再增加！").arg(parentCode));
    return parentCode + QString::number(last + 1).rightJustified(kCodeLevelWidth, QLatin1Char('0'));
}

bool TCodeTree::hasChildren(const QString &code) const
{
    const QString table = SqlIdentifier(m_names.table);
    const QString column = SqlIdentifier(m_names.codeColumn);
    return OpData().ScalarInt(
               QStringLiteral("select count(*) from %2 where substr(%1,1,?)=? and length(%1)>?").arg(column, table),
               {code.size(), code, code.size()})
           > 0;
}

const TCodeTreeNode &TCodeTree::nodeOfKey(int key) const
{
    const int index = m_shape.indexOfKey(key);
    if (index < 0)
        throw AppError(QStringLiteral("找不到该节点，可能已被其他用户删除！"));
    return m_shape.nodes.at(index);
}

void TCodeTree::locateKey(int key)
{
    if (!m_ds.locate(m_names.keyColumn, key))
        throw AppError(QStringLiteral("找不到该节点，可能已被其他用户删除！"));
}

QString TCodeTree::checkedName(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        throw AppError(QStringLiteral("名称不能为空！"));
    return trimmed;
}

// Two nodes of one name under one parent look alike in every drop-down that lists them.
void TCodeTree::checkSiblingName(const QString &parentCode, const QString &name, int exceptKey) const
{
    const QString table = SqlIdentifier(m_names.table);
    const QString code = SqlIdentifier(m_names.codeColumn);
    const int taken = OpData().ScalarInt(
        QStringLiteral("select count(*) from %1 where substr(%2,1,?)=? and length(%2)=? and %3=? and %4<>?")
            .arg(table, code, SqlIdentifier(m_names.nameColumn), SqlIdentifier(m_names.keyColumn)),
        {parentCode.size(), parentCode, parentCode.size() + kCodeLevelWidth, name, exceptKey});
    if (taken > 0)
        throw AppError(QStringLiteral("同一级中已经有“%1”，不能重复！").arg(name));
}

// Runs one write in a transaction; whatever happens, the dataset and the shape are read again,
// so a refused write leaves nothing pending behind.
template <typename F> void TCodeTree::writeAndRebuild(F &&write)
{
    try {
        TTransaction transaction(m_ds.connection());
        write();
        transaction.commit();
    } catch (...) {
        if (m_ds.isEditing())
            m_ds.cancel();
        rebuild();
        throw;
    }
    rebuild();
}

int TCodeTree::addNode(const QString &parentCode, const QString &name)
{
    const QString text = checkedName(name);
    int key = 0;
    QString code;
    writeAndRebuild([&] {
        checkSiblingName(parentCode, text, 0);
        code = nextCode(parentCode);
        key = OpData().GetNextID(m_names.keyName);
        m_ds.append();
        m_ds.fieldByName(m_names.keyColumn).setValue(key);
        m_ds.fieldByName(m_names.codeColumn).setValue(code);
        m_ds.fieldByName(m_names.nameColumn).setValue(text);
        m_ds.post();
    });
    m_selectCode = code;
    return key;
}

void TCodeTree::renameNode(int key, const QString &name)
{
    const QString text = checkedName(name);
    const QString code = nodeOfKey(key).code;
    writeAndRebuild([&] {
        checkSiblingName(ParentCode(code), text, key);
        locateKey(key);
        m_ds.edit();
        m_ds.fieldByName(m_names.nameColumn).setValue(text);
        m_ds.post();
    });
    m_selectCode = code;
}

bool TCodeTree::canMove(int draggedKey, std::optional<int> targetKey) const
{
    const int dragged = m_shape.indexOfKey(draggedKey);
    if (dragged < 0 || !m_shape.nodes.at(dragged).children.isEmpty())
        return false;
    const int target = targetKey ? m_shape.indexOfKey(*targetKey) : -1;
    if (targetKey && target < 0)
        return false;
    return target != dragged && target != m_shape.nodes.at(dragged).parent;
}

QString TCodeTree::moveNode(int draggedKey, std::optional<int> targetKey)
{
    if (!canMove(draggedKey, targetKey))
        throw AppError(QStringLiteral("不能移动到这里！"));
    const QString targetCode = targetKey ? nodeOfKey(*targetKey).code : QString();
    QString code;
    writeAndRebuild([&] {
        if (hasChildren(nodeOfKey(draggedKey).code))
            throw AppError(QStringLiteral("有下级的节点不能移动！"));
        checkSiblingName(targetCode, nodeOfKey(draggedKey).name, draggedKey);
        code = nextCode(targetCode);
        locateKey(draggedKey);
        m_ds.edit();
        m_ds.fieldByName(m_names.codeColumn).setValue(code);
        m_ds.post();
    });
    m_selectCode = code;
    return code;
}

bool TCodeTree::deleteNode(int key)
{
    const QString code = nodeOfKey(key).code;
    if (hasChildren(code))
        throw AppError(QStringLiteral("请先删除子节点！"));
    locateKey(key);
    const bool deleted = DeleteWithConfirm(m_ds);
    m_selectCode = deleted ? ParentCode(code) : code;
    rebuild();
    return deleted;
}
