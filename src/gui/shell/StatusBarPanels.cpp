#include "StatusBarPanels.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

namespace {
const char kPanelProperty[] = "qelvoStatusPanel";
}

QLabel *AddStatusPanel(QStatusBar *bar, int minimumWidth, const QString &text)
{
    int index = 0;
    while (StatusPanel(bar, index))
        ++index;
    auto *panel = new QLabel(text, bar);
    panel->setProperty(kPanelProperty, index);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setMinimumWidth(minimumWidth);
    panel->setContentsMargins(4, 0, 4, 0);
    bar->addPermanentWidget(panel);
    return panel;
}

QLabel *StatusPanel(const QStatusBar *bar, int index)
{
    const QList<QLabel *> labels = bar->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    for (QLabel *label : labels) {
        const QVariant value = label->property(kPanelProperty);
        if (value.isValid() && value.toInt() == index)
            return label;
    }
    return nullptr;
}

void PlaceProgressBar(QProgressBar *progress, QStatusBar *bar)
{
    const QLabel *first = StatusPanel(bar, 0);
    const QLabel *second = StatusPanel(bar, 1);
    const int left = first ? first->geometry().x() + first->geometry().width() + 2 : 2;
    const int width = second ? second->width() - 2 : 150;
    progress->setParent(bar);
    progress->setGeometry(left, 2, std::max(width, 0), 17);
    progress->raise();
    progress->show();
}
