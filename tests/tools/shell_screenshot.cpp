// Walks the start of the program on a fresh demo account set and grabs each window into a PNG,
// for looking at them:
//   xvfb-run -a -s "-screen 0 1440x900x24" ./build/tests/shell_screenshot <out-dir> [page]
#include "data/DataModule.h"
#include "shell/About.h"
#include "shell/Account.h"
#include "shell/AppContext.h"
#include "shell/AppFormats.h"
#include "shell/DemoData.h"
#include "shell/Login.h"
#include "shell/Main.h"
#include "shell/Navigation.h"
#include "shell/NavigationLink.h"
#include <QEnterEvent>
#include "shell/UserInfo.h"
#include "shell/WinBg.h"
#include "masterdata/CodeTreeWindow.h"
#include "masterdata/MasterDataEditDialog.h"
#include "masterdata/MasterDataListWindow.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QPushButton>

static void Settle()
{
    for (int i = 0; i < 30; ++i)
        QApplication::processEvents();
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ApplyAppFormats();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const QString page = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("销售管理");
    QDir().mkpath(out);

    QTemporaryDir data;
    const QString dataNetPath = data.path() + QLatin1Char('/');
    CreateDemoAccountSet(dataNetPath, TDemoOptions());
    TDM dm;
    App().dm = &dm;
    App().dataNetPath = dataNetPath;

    bool loggedIn = false;
    {
        TfrmAccount account(dataNetPath);
        account.show();
        Settle();
        account.grab().save(out + QStringLiteral("/account.png"));
        account.setLoginRunner([&](TfrmLogin &login) {
            login.show();
            Settle();
            login.grab().save(out + QStringLiteral("/login.png"));
            login.btnOk()->click();   // 管理员, empty password
            return login.result();
        });
        account.btnOkClick();
        loggedIn = account.result() == QDialog::Accepted;
        if (!loggedIn)
            return 1;

        TfrmMain main;
        main.resize(1366, 800);
        main.show();
        main.ShowNavigation()->showPage(page);
        Settle();
        main.grab().save(out + QStringLiteral("/main.png"));
        // A link under the mouse.
        if (auto *link = main.navigation()->findChild<TNavigationLink *>(QStringLiteral("销售汇总表"))) {
            QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
            QApplication::sendEvent(link, &enter);
            Settle();
            link->parentWidget()->grab().save(out + QStringLiteral("/link-hover.png"));
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(link, &leave);
        }

        for (const QString &p : TfrmNavigation::PageNames()) {
            main.navigation()->showPage(p);
            Settle();
            main.grab().save(out + QStringLiteral("/page-%1.png").arg(TfrmNavigation::PageNames().indexOf(p)));
        }

        main.navigation()->showPage(QStringLiteral("基础资料"));
        main.navigation()->runEntry(QStringLiteral("部门资料"));
        main.navigation()->runEntry(QStringLiteral("地区资料"));
        Settle();
        main.grab().save(out + QStringLiteral("/children.png"));

        TfrmAbout about(&main);
        about.show();
        Settle();
        about.grab().save(out + QStringLiteral("/about.png"));
        about.hide();

        // Every reference list with its edit dialog on the current row, and both trees.
        for (MasterDataKind kind : AllMasterDataKinds()) {
            TMasterDataListWindow list(kind);
            list.resize(list.sizeHint());
            list.show();
            Settle();
            const QString name = MasterDataMember(kind).listClass;
            list.grab().save(out + QStringLiteral("/list-%1.png").arg(name));
            list.editDialog()->show();
            Settle();
            list.editDialog()->grab().save(out + QStringLiteral("/edit-%1.png").arg(name));
            list.editDialog()->hide();
        }
        for (CodeTreeKind kind : {CodeTreeKind::Area, CodeTreeKind::InventoryC}) {
            TCodeTreeWindow tree(kind);
            tree.resize(tree.sizeHint());
            tree.show();
            Settle();
            tree.grab().save(out + QStringLiteral("/tree-%1.png").arg(CodeTreeNames(kind).windowClass));
        }

        TfrmWinBg winbg(&main);
        winbg.show();
        Settle();
        winbg.grab().save(out + QStringLiteral("/winbg.png"));
        winbg.hide();
        main.navigation()->allowClose();
    }
    App().resetAccountSet();
    App().dm = nullptr;
    return 0;
}
