// Grabs the main window (and the windows it opens) into PNG files, for looking at them:
//   xvfb-run -a -s "-screen 0 1440x900x24" ./build/tests/shell_screenshot <out-dir> [page]
#include "TestAccountSet.h"
#include "shell/AppContext.h"
#include "shell/UserInfo.h"
#include "shell/About.h"
#include "shell/Main.h"
#include "shell/Navigation.h"
#include "shell/WinBg.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTimer>

static void Settle()
{
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const QString page = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("销售管理");
    QDir().mkpath(out);

    TestAccountSet set;
    App().accName = QStringLiteral("演示帐套");
    CurrentUser().userName = QStringLiteral("管理员");
    CurrentUser().rights = QString(180, QLatin1Char('1'));

    TfrmMain main;
    main.resize(1366, 800);
    main.show();
    main.ShowNavigation()->showPage(page);
    Settle();
    main.grab().save(out + QStringLiteral("/main.png"));

    TfrmAbout about(&main);
    about.show();
    Settle();
    about.grab().save(out + QStringLiteral("/about.png"));
    about.hide();
    return 0;
}
