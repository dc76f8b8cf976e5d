#pragma once
// Driving a grid as a user would: clicks on titles and cells, keys, and typing (Chinese
// included, which QTest::keyClicks cannot send).
#include "data/DBGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTest>

inline QWidget *Focused(QWidget *fallback)
{
    QWidget *w = QApplication::focusWidget();
    return w ? w : fallback;
}

inline void ShowGrid(TDBGrid &grid, int width = 640, int height = 320)
{
    grid.resize(width, height);
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    QApplication::processEvents();
}

inline void ClickTitle(TDBGrid &grid, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QHeaderView *h = grid.horizontalHeader();
    const QPoint at(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() * 3 / 4);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, modifiers, at);
}

inline void ClickCell(TDBGrid &grid, int row, int column)
{
    const QRect r = grid.visualRect(grid.model()->index(row, column));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

inline void DoubleClickCell(TDBGrid &grid, int row, int column)
{
    const QRect r = grid.visualRect(grid.model()->index(row, column));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

inline void Press(TDBGrid &grid, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(Focused(&grid), Qt::Key(key), modifiers);
}

inline void Type(TDBGrid &grid, const QString &text)
{
    for (const QChar ch : text) {
        const int key = ch.unicode() < 128 && ch.isLetterOrNumber() ? ch.toUpper().unicode() : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(Focused(&grid), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(Focused(&grid), &release);
    }
}

inline bool Editing(const TDBGrid &grid) { return grid.editorOpen(); }
