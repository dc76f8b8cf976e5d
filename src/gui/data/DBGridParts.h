#pragma once
// The pieces TDBGrid is made of; only DBGrid.cpp uses them.
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QWidget>

class TDBGrid;
class QToolButton;

// Column titles: two levels with bands, centred text, sort markers with their order numbers.
class TGridTitleHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TGridTitleHeader(TDBGrid *grid);
    int levels() const { return m_levels; }
    void setLevels(int levels);
    int lineHeight() const;
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool nearBorder(const QPoint &pos) const;
    void drawCell(QPainter *painter, const QRect &rect, int logicalIndex) const;
    TDBGrid *m_grid;
    int m_levels = 1;
    QPoint m_pressPos;
    bool m_pressOnBorder = false;
};

// The narrow column left of the rows: shows which record is current and whether it is being
// edited (I) or inserted (*).
class TGridIndicator : public QHeaderView {
    Q_OBJECT
public:
    explicit TGridIndicator(TDBGrid *grid);
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    TDBGrid *m_grid;
};

// The footer row under the cells: aligned with the columns and scrolled with them.
class TGridFooter : public QWidget {
    Q_OBJECT
public:
    explicit TGridFooter(TDBGrid *grid);
    int footerHeight() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TDBGrid *m_grid;
};

// The empty top-left cell above the indicator column.
class TGridCorner : public QWidget {
    Q_OBJECT
public:
    explicit TGridCorner(QWidget *parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A cell editor with an ellipsis button beside the text.
class TEllipsisEditor : public QWidget {
    Q_OBJECT
public:
    explicit TEllipsisEditor(QWidget *parent);
    QLineEdit *lineEdit() const { return m_edit; }
    QToolButton *button() const { return m_button; }

Q_SIGNALS:
    void buttonClicked();

private:
    QLineEdit *m_edit;
    QToolButton *m_button;
};

// Paints the cells (stripes, highlight, selection, per-cell colours) and makes the editors.
class TGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TGridDelegate(TDBGrid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    bool commit(QWidget *editor);
    static QRect checkRect(const QStyleOptionViewItem &option);
    TDBGrid *m_grid;
    bool m_committing = false;
};
