#pragma once
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <type_traits>
#include <utility>

// Windows kept to one instance each (summaries, trees, most lists) are opened through here.
// The caller keeps a slot per kind; QPointer empties it by itself when the window is destroyed,
// so the next call builds a new one.
//
// The factory builds the window (`[&]{ return new TfrmBrandList; }`); ShowChildForm gives it
// its owner at once. If the factory throws, the slot stays empty and the error goes on to the
// caller.

namespace detail {

inline void BringToFront(QWidget *window)
{
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

} // namespace detail

// As a child of the main window's MDI area: closing it frees it.
template <class W, class Factory>
W *ShowChildForm(QPointer<W> &slot, Factory &&create, QMdiArea *area)
{
    static_assert(std::is_base_of_v<QWidget, W>);
    if (slot) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(slot->parentWidget())) {
            detail::BringToFront(sub);
            area->setActiveSubWindow(sub);
        } else {
            detail::BringToFront(slot->window());
        }
        return slot.data();
    }
    slot.clear();
    W *window = std::forward<Factory>(create)();
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    slot = window;
    sub->show();
    area->setActiveSubWindow(sub);
    return window;
}

// As a window of its own owned by `owner` (the main window; null only when the factory gave the
// window an owner): closing it only hides it, and the next call shows the same window again.
template <class W, class Factory>
W *ShowChildForm(QPointer<W> &slot, Factory &&create, QWidget *owner)
{
    static_assert(std::is_base_of_v<QWidget, W>);
    if (slot) {
        detail::BringToFront(slot.data());
        return slot.data();
    }
    slot.clear();
    W *window = std::forward<Factory>(create)();
    if (owner && window->parentWidget() != owner)
        window->setParent(owner, window->windowFlags() | Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    slot = window;
    detail::BringToFront(window);
    return window;
}
