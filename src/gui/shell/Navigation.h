#pragma once
#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

class QListWidget;
class QStackedWidget;
class QAbstractButton;
class TfrmMain;

// One entry of the console: a large picture button (bills, system functions) or a link caption
// (reference lists, reports). Entries with a right test it before anything opens; reports have
// none. An entry whose window this version does not have yet says so politely.
struct TNavigationEntry {
    QString page;
    QString caption;
    int right = 0;
    bool button = false;
    QString glyph;      // picture of a button (TileIcon)
    QColor color;
    std::function<void(QWidget *owner)> open;   // empty: the window arrives in a later version
};

// The text shown by entries whose window arrives in a later version.
extern const QString kLaterVersionText;

// "系统控制台": the permanent child window of the main window from which the daily work starts.
// Pages on the left, the chosen page on the right; it cannot be closed by the user.
class TfrmNavigation : public QWidget {
    Q_OBJECT
public:
    explicit TfrmNavigation(TfrmMain *main = nullptr, QWidget *parent = nullptr);

    static QStringList PageNames();
    QString currentPage() const;
    void showPage(const QString &page);

    // Lets the console close (the main window does so when the program ends).
    void allowClose() { m_closeAllowed = true; }

    // Runs the entry as its click does (the console's own widgets call this too).
    void runEntry(const QString &caption);
    const QList<TNavigationEntry> &entries() const { return m_entries; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildEntries(TfrmMain *main);
    QWidget *buildPage(const QString &page, const QString &subtitle);

    QList<TNavigationEntry> m_entries;
    QListWidget *m_pageList = nullptr;
    QStackedWidget *m_pages = nullptr;
    bool m_closeAllowed = false;
};
