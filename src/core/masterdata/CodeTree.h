#pragma once
#include "data/DbDataSet.h"
#include <QList>
#include <QString>
#include <optional>

// Coded trees (areas, item categories): the hierarchy lives in the codes themselves, two digits
// per level and at most four levels, so "1001" is the first child of "10". Both trees are built
// the same way and differ only by the names below.

enum class CodeTreeKind { Area, InventoryC };

struct TCodeTreeNames {
    CodeTreeKind kind;
    QString windowClass;
    QString caption;
    int right = 0;
    QString table;
    QString keyColumn;
    QString keyName;      // under which GetNextID hands out keys
    QString codeColumn;
    QString nameColumn;
    QString selectSql;    // every row in code order
};

const TCodeTreeNames &CodeTreeNames(CodeTreeKind kind);

constexpr int kCodeLevelWidth = 2;
constexpr int kCodeMaxLevels = 4;

// Level of a code: one per two digits ("10" is 1, "1001" is 2).
int CodeLevel(const QString &code);
// The code of the parent ("" for a top-level code).
QString ParentCode(const QString &code);

// One node of the tree as the window shows it.
struct TCodeTreeNode {
    int key = 0;
    QString code;
    QString name;
    int level = 0;
    int parent = -1;         // index into TCodeTreeShape::nodes; -1 at the top
    QList<int> children;     // indexes, in code order
    QString text() const { return code + QLatin1Char(' ') + name; }
};

struct TCodeTreeRow {
    int key = 0;
    QString code;
    QString name;
};

// The whole tree, free of any widget: the window renders it.
struct TCodeTreeShape {
    QList<TCodeTreeNode> nodes;
    QList<int> roots;
    int indexOfKey(int key) const;            // -1 when absent
    int indexOfCode(const QString &code) const;
};

// Builds the structure from rows in code order: each row hangs under the last row that is one
// level shallower, found by climbing from the row added before it.
TCodeTreeShape BuildCodeTreeShape(const QList<TCodeTreeRow> &rowsInCodeOrder);

// The tree of one table over its live dataset. Every change is one transaction and ends with a
// rebuild from the table, so the shape always shows what is stored.
class TCodeTree {
public:
    explicit TCodeTree(CodeTreeKind kind);

    const TCodeTreeNames &names() const { return m_names; }
    TDbDataSet &dataSet() { return m_ds; }
    const TCodeTreeShape &shape() const { return m_shape; }
    // The code the window should select after the last change (empty: none).
    const QString &selectedCode() const { return m_selectCode; }

    // Reads every row again and rebuilds the shape.
    void rebuild();

    // The code the next node under a parent gets ("" is the top level). Refuses with a message
    // below the fourth level and when a level has used all its codes.
    QString nextCode(const QString &parentCode) const;
    bool hasChildren(const QString &code) const;

    // Adds a node under a parent with a new key; returns the key.
    int addNode(const QString &parentCode, const QString &name);
    void renameNode(int key, const QString &name);
    // Whether a dragged node may be dropped on a target (none: the top level).
    bool canMove(int draggedKey, std::optional<int> targetKey) const;
    // Gives the node the next free code under the target; its key and name stay. Returns the code.
    QString moveNode(int draggedKey, std::optional<int> targetKey);
    // Deletes a node without children after the usual confirmation; true when it was deleted.
    bool deleteNode(int key);

private:
    const TCodeTreeNode &nodeOfKey(int key) const;
    void locateKey(int key);
    static QString checkedName(const QString &name);
    void checkSiblingName(const QString &parentCode, const QString &name, int exceptKey) const;
    template <typename F> void writeAndRebuild(F &&write);

    const TCodeTreeNames &m_names;
    TDbDataSet m_ds;
    TCodeTreeShape m_shape;
    QString m_selectCode;
};
