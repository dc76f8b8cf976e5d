// Grabs the account-set, operator, log and repair windows into PNGs, for looking at them:
//   xvfb-run -a ./build/tests/account_screenshot <out-dir>
#include "TestAccountSet.h"
#include "data/BugFix.h"
#include "data/DbDataSet.h"
#include "shell/Account.h"
#include "shell/AccountEdit.h"
#include "shell/AccountSets.h"
#include "shell/AppContext.h"
#include "shell/AppFormats.h"
#include "shell/EditPass.h"
#include "shell/FieldPermisson.h"
#include "shell/Login.h"
#include "shell/Purview.h"
#include "shell/SysLog.h"
#include "shell/UserInfo.h"
#include "shell/Users.h"
#include "shell/UsersEdit.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

namespace {

QString g_out;

void Settle()
{
    for (int i = 0; i < 30; ++i)
        QApplication::processEvents();
}

void Grab(QWidget &w, const QString &name)
{
    w.show();
    Settle();
    w.grab().save(g_out + QLatin1Char('/') + name + QStringLiteral(".png"));
    w.hide();
}

// For windows that only come up modally: grabs the modal window once it shows and closes it.
void GrabModal(const QString &name, const std::function<void()> &open)
{
    QTimer::singleShot(200, [name] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            w->grab().save(g_out + QLatin1Char('/') + name + QStringLiteral(".png"));
            w->close();
        }
    });
    open();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ApplyAppFormats();
    g_out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(g_out);

    TestAccountSet set;
    CurrentUser().Login(QStringLiteral("管理员"), QString());
    for (int i = 0; i < 5; ++i)
        OpData().WriteSysLog(CurrentUser().userName, QStringLiteral("销售单"));
    {
        TfrmAccount account(set.dataDir());
        TDbDataSet &list = account.accountList().dataSet();
        for (const auto &[code, name] : {std::pair{"demo", "演示帐套"}, std::pair{"shop2", "第二门店有限公司"}}) {
            list.append();
            list.fieldByName(QStringLiteral("cAccCode")).setAsString(QString::fromUtf8(code));
            list.fieldByName(QStringLiteral("cAccName")).setAsString(QString::fromUtf8(name));
            list.post();
        }
        list.first();
        Grab(account, QStringLiteral("account"));
        GrabModal(QStringLiteral("account-edit"), [&] { account.editor().newAccountSet(); });
        TfrmAccNameEdit rename(account.accountList());
        Grab(rename, QStringLiteral("account-rename"));
        TfrmAccountRestore restore(account.accountList(), set.databaseFile());
        Grab(restore, QStringLiteral("account-restore"));
        restore.reject();
    }
    TfrmLogin login;
    Grab(login, QStringLiteral("login"));
    {
        TfrmUsers users;
        Grab(users, QStringLiteral("users"));
        users.adsMain().append();
        TfrmUsersEdit editor(users.adsMain());
        Grab(editor, QStringLiteral("users-edit"));
        editor.reject();
    }
    TfrmPurview purview(QStringLiteral("张三"), QString(180, QLatin1Char('0')));
    Grab(purview, QStringLiteral("purview"));
    TfrmEditPass editPass;
    Grab(editPass, QStringLiteral("edit-pass"));
    TfrmSysLog log;
    Grab(log, QStringLiteral("syslog"));
    TfrmSysLogClear clear;
    Grab(clear, QStringLiteral("syslog-clear"));
    TfrmFieldPermisson fields;
    Grab(fields, QStringLiteral("field-permisson"));
    TfrmBugFix bugFix;
    Grab(bugFix, QStringLiteral("bugfix"));
    return 0;
}
