#pragma once
#include <QString>

class QLabel;
class QProgressBar;
class QStatusBar;

// The main window's status bar is a row of numbered panels, as in the classic status bars the
// users know: each panel is a sunken QLabel added as a permanent widget, numbered from 0 in the
// order of adding. Their geometry is the labels' geometry within the status bar.

// Adds the next panel (at least minimumWidth pixels wide) and returns it.
QLabel *AddStatusPanel(QStatusBar *bar, int minimumWidth, const QString &text = QString());
// Panel `index`; null when there is no such panel.
QLabel *StatusPanel(const QStatusBar *bar, int index);

// Lays a progress bar over the status bar: 2 pixels right of the end of panel 0, 2 from the
// top, as wide as panel 1 less 2, 17 high, and shows it. The status bar must be laid out
// (shown); without two panels the bar goes to the left edge.
void PlaceProgressBar(QProgressBar *progress, QStatusBar *bar);
