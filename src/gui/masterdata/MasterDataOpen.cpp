#include "MasterDataOpen.h"
#include "CodeTreeWindow.h"
#include "MasterDataListWindow.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/ShowChildForm.h"
#include "shell/UserInfo.h"

#include <QHash>
#include <QMdiArea>

namespace {

template <class W, class Factory> W *ShowSingle(QPointer<W> &slot, Factory &&create, QWidget *owner, QMdiArea *mdi)
{
    if (mdi)
        return ShowChildForm(slot, std::forward<Factory>(create), mdi);
    return ShowChildForm(slot, std::forward<Factory>(create), owner);
}

bool Allowed(int right) { return right <= 0 || CurrentUser().CheckRight(right); }

} // namespace

QWidget *OpenMasterDataList(MasterDataKind kind, QWidget *owner, QMdiArea *mdi)
{
    const TMasterDataMember &member = MasterDataMember(kind);
    if (!Allowed(member.right))
        return nullptr;
    QWidget *opened = nullptr;
    RunGuarded([&] {
        if (member.openMode == OpenMode::Modal) {
            auto window = std::make_unique<TMasterDataListWindow>(kind, owner);
            window->setWindowFlag(Qt::Window);
            window->setWindowModality(Qt::ApplicationModal);
            window->setAttribute(Qt::WA_DeleteOnClose);
            window->resize(window->sizeHint());
            // Over the window it was opened from, as a dialog would stand, not wherever the
            // window manager puts a new window.
            if (owner) {
                const QRect frame = owner->window()->geometry();
                window->move(frame.center() - QPoint(window->width() / 2, window->height() / 2));
            }
            window->show();
            opened = window.release();
            return;
        }
        static QHash<int, QPointer<TMasterDataListWindow>> openWindows;
        opened = ShowSingle(openWindows[int(kind)], [&] { return new TMasterDataListWindow(kind); }, owner, mdi);
    });
    return opened;
}

QWidget *OpenCodeTree(CodeTreeKind kind, QWidget *owner, QMdiArea *mdi)
{
    if (!Allowed(CodeTreeNames(kind).right))
        return nullptr;
    QWidget *opened = nullptr;
    RunGuarded([&] {
        static QHash<int, QPointer<TCodeTreeWindow>> openWindows;
        opened = ShowSingle(openWindows[int(kind)], [&] { return new TCodeTreeWindow(kind); }, owner, mdi);
    });
    return opened;
}
