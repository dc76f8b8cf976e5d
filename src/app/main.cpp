// The desktop program: one copy per machine, the account-set dialog with its login, then the
// main window until the user leaves; at the end the account set is compacted and copied to the
// rotating backup.
#include "data/DataModule.h"
#include "shell/Account.h"
#include "shell/AccountOpen.h"
#include "shell/AccountSets.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppFormats.h"
#include "shell/Application.h"
#include "shell/Config.h"
#include "shell/DemoData.h"
#include "shell/GuiResources.h"
#include "shell/Login.h"
#include "shell/Main.h"
#include "shell/MessageService.h"
#include "shell/Product.h"
#include "shell/QtMessageService.h"
#include "shell/SingleInstance.h"
#include "shell/Splash.h"
#include "shell/TileIcons.h"
#include "data/DbDataSet.h"

#include <QApplication>
#include <QIcon>

namespace {

bool SplashWanted(const QStringList &arguments)
{
    // Headless runs (tests, screenshots) have nobody to show it to.
    return !arguments.contains(QStringLiteral("--no-splash"))
           && QGuiApplication::platformName() != QLatin1String("offscreen");
}

// A first start finds no account set at all; a ready-made one lets the user look around at once.
void OfferDemoAccountSet(const QString &dataNetPath)
{
    RunGuarded([&] {
        {
            TAccountList list(dataNetPath);
            if (!list.dataSet().isEmpty())
                return;
        }
        if (!QuestionYesNo(QStringLiteral("还没有任何帐套。\n是否创建一个“演示帐套”，里面有示例的仓库、客户、供应商和货品资料，"
                                          "便于您熟悉本系统？\n（以后也可以在“帐套管理”中新建自己的帐套。）")))
            return;
        CreateDemoAccountSet(dataNetPath, TDemoOptions());
    });
}

} // namespace

int main(int argc, char **argv)
{
    EnsureRuntimeDir();
    TApplication app(argc, argv);
    SingleInstance instance(ProductTitle());
    if (!instance.isFirst())
        return 0;
    ApplyAppFormats();
    InitGuiResources();
    QApplication::setWindowIcon(QIcon(TileIcon(QStringLiteral("Q"), QColor(0x2f, 0x80, 0xed), 64)));
    QtMessageService messages;
    SetMessageService(&messages);

    if (SplashWanted(app.arguments()))
        ShowSplash(3000);

    TDM dm;
    App().dm = &dm;
    App().dataNetPath = ConfiguredDataNetPath();
    OfferDemoAccountSet(App().dataNetPath);

    int result = 0;
    {
        TfrmAccount account(App().dataNetPath);
        if (account.exec() != QDialog::Accepted) {
            App().resetAccountSet();
            dm.close();
            App().dm = nullptr;
            SetMessageService(nullptr);
            return 0;
        }

        TfrmMain::Hooks hooks;
        hooks.openAccountSet = [&account](QWidget *) { return account.exec() == QDialog::Accepted; };
        hooks.reLogin = [&account](QWidget *) {
            TfrmLogin *login = account.lastLogin();
            if (!login)
                return false;
            login->loadOperators();
            return login->exec() == QDialog::Accepted;
        };
        hooks.restoreAccountSet = [&account](QWidget *) { account.restoreAccountSet(); };

        {
            TfrmMain main(hooks);
            messages.setMainWindow(&main);
            main.showMaximized();
            // The console also opens on activation, but a window system may never activate us
            // (no window manager, focus kept elsewhere): the console must be there regardless.
            main.ShowNavigation();
            result = app.exec();
            messages.setMainWindow(nullptr);
        }
    }
    // The main window is gone: close the set, compact it and keep today's copy.
    CloseAccountSetAtExit(AppDataPath());
    App().dm = nullptr;
    SetMessageService(nullptr);
    return result;
}
