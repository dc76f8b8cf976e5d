#pragma once

class QToolBar;
class QVBoxLayout;
class QWidget;

// The frame of a reference window: a tool bar across the top, edge to edge, and below it
// whatever the window shows (added by the caller with a stretch of 1).
struct TToolBarFrame {
    QVBoxLayout *layout = nullptr;
    QToolBar *bar = nullptr;
};

TToolBarFrame NewToolBarFrame(QWidget *window);
