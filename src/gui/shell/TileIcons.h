#pragma once
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The picture style of the shell: a white glyph on a rounded, coloured tile. A glyph is either
// the name of one of our symbolic icons (resources/icons, without ".svg") or a short text
// drawn in bold (for "¥").
QPixmap TileIcon(const QString &glyph, const QColor &color, int size);

// A symbolic icon drawn in one colour at the given size (menus, tool buttons).
QPixmap SymbolicPixmap(const QString &name, const QColor &color, int size);
QIcon SymbolicIcon(const QString &name, const QColor &color = QColor(0x3b, 0x4a, 0x5c));
