#include "ToolBarFrame.h"

#include <QToolBar>
#include <QVBoxLayout>

TToolBarFrame NewToolBarFrame(QWidget *window)
{
    TToolBarFrame frame;
    frame.layout = new QVBoxLayout(window);
    frame.layout->setContentsMargins(0, 0, 0, 0);
    frame.layout->setSpacing(0);
    frame.bar = new QToolBar(window);
    frame.bar->setObjectName(QStringLiteral("ToolBar1"));
    frame.bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    frame.layout->addWidget(frame.bar);
    return frame;
}
