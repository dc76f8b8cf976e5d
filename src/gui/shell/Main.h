#pragma once
#include <QAction>
#include <QHash>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include "Navigation.h"
#include <functional>

class QMdiSubWindow;
class TMdiBackground;

// The main window: the MDI frame with the menu, the status bar, the tiled background and the
// console. Every action carries its rights position as the dynamic property "Tag" (0 = always
// allowed) and its name as objectName.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // The account-set dialog and the login window belong to the start-up; the main window asks
    // for them again through these (true when a login succeeded).
    struct Hooks {
        std::function<bool(QWidget *owner)> openAccountSet;
        std::function<bool(QWidget *owner)> reLogin;
        // "恢复帐套" restores into the account-set list the dialog keeps.
        std::function<void(QWidget *owner)> restoreAccountSet;
    };

    explicit TfrmMain(Hooks hooks = {}, QWidget *parent = nullptr);
    ~TfrmMain() override;

    TMdiBackground *mdiArea() const { return m_mdi; }
    QAction *action(const QString &name) const { return m_actions.value(name); }
    QList<QAction *> actionList() const;
    // Runs an action's work as its menu item does (the console's system buttons use this).
    void runAction(const QString &name);
    // True while an action's window does not exist in this version (it stays disabled).
    bool isPendingAction(const QString &name) const { return m_pending.contains(name); }

    // The whole text of a status-bar panel (the panel itself may show it shortened).
    QString statusText(int panel) const;

    // Status bar, rights, background, company name and price mode, after every login.
    void RefreshAfterLogin();
    // Asks every other window to close; the console refuses and stays.
    void CloseOtherWindows();
    // Reads the background again (winBgId > 0: that row, else the current one) and repaints.
    void ReloadBackground(int winBgId = 0);

    // The console, opened once and brought to the front on later calls.
    TfrmNavigation *ShowNavigation();
    TfrmNavigation *navigation() const { return m_navigation; }
    // Shows a window as a child of the MDI area (one subwindow per widget).
    QMdiSubWindow *AddChildWindow(QWidget *widget);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct ActionEntry;
    void createActions();
    void createMenus();
    void createStatusBar();
    void setStatusText(int panel, const QString &text);
    void disablePendingActions();
    void fillWindowMenu();
    void tileChildren(Qt::Orientation orientation);
    void placeNewChild(QMdiSubWindow *sub);

    // Handlers of the actions this version provides.
    void openAccountSet();
    void reLogin();
    bool closeOtherWindowsFirst();
    void clearAllData();
    void importBaseData();
    void showHelp();
    void showAbout();
    void setWinBg();

    Hooks m_hooks;
    TMdiBackground *m_mdi = nullptr;
    QPointer<TfrmNavigation> m_navigation;
    QHash<QString, QAction *> m_actions;
    QList<QAction *> m_actionOrder;
    QHash<QString, std::function<void()>> m_handlers;
    QHash<QString, QString> m_pending;   // action -> the window it will open
    QList<QLabel *> m_panels;
    QMenu *m_windowMenu = nullptr;
    bool m_closing = false;
};
