#pragma once
#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>

// Small text, date and file helpers shared by every window.

// --- text ---------------------------------------------------------------------------------------

// The width of a text on a fixed-pitch printer line: a Chinese (any non-ASCII) character takes
// two columns, as it does in the GBK code page the printed layouts were designed for.
int TextColumns(const QString &text);
// Lays texts out across a line of `width` columns: between neighbours the same number of fill
// characters, (width − total width of the texts) / gaps, truncated; none when the texts are
// already wider. Nothing follows the last text.
QString SpreadTexts(int width, const QStringList &texts, QChar fill = QLatin1Char(' '));
// `count` copies of a character; empty for count ≤ 0.
QString RepeatChar(QChar c, int count);
// True when the text is not empty and holds only digits and ".".
bool IsNumeric(const QString &text);
// Appends to `list` every item of `more` that it does not hold yet (compared without case).
void MergeLists(QStringList &list, const QStringList &more);
// Splits a line of a comma-separated file at commas outside double quotes. An empty field
// becomes " " (a single blank); every field then loses one leading and one trailing double
// quote, and doubled quotes inside it become one.
QStringList SplitQuotedCsvLine(const QString &line);

// --- dates -------------------------------------------------------------------------------------

// The program's text forms of dates and times: what it shows, writes into file names and logs.
inline QString ShortDateFormat() { return QStringLiteral("yyyy.MM.dd"); }
inline QString LongTimeFormat() { return QStringLiteral("HH:mm:ss"); }
inline QString DateTimeFormat() { return QStringLiteral("yyyy.MM.dd HH:mm:ss"); }
inline QString MonthFormat() { return QStringLiteral("yyyy.MM"); }
inline QString BillMonthFormat() { return QStringLiteral("yyMM"); }

inline QString ShortDateText(const QDate &date) { return date.toString(ShortDateFormat()); }
inline QString MonthText(const QDate &date) { return date.toString(MonthFormat()); }
inline QString BillMonthText(const QDate &date) { return date.toString(BillMonthFormat()); }
// The 1st of a "yyyy.MM" month; invalid when the text is none.
QDate MonthFromText(const QString &month);

QDate FirstDayOfMonth(const QDate &date);

// --- files ---------------------------------------------------------------------------------------

// Appends a separator to a path that does not end with one ("/" or a hand-written "\");
// a blank path gives "".
QString WithTrailingSeparator(const QString &path);
// Throws AppError "目录不存在!目录名:" + path when the folder is missing (it is not created).
void EnsureFolderExists(const QString &path);
// Copies a file into a folder (created when missing) under its own name. Returns false when
// the target exists and overwrite is off; throws AppError when the copy fails. An overwritten
// target is replaced whole, never left half-copied.
bool CopyFileTo(const QString &source, const QString &targetFolder, bool overwrite);
// Copies every file of a folder whose name matches the mask ("*.frf"; "*.*" means all files;
// case ignored) into a folder. Returns how many were copied.
int CopyFilesByMask(const QString &sourceFolder, const QString &mask, const QString &targetFolder,
                    bool overwrite);

// --- shortcuts -------------------------------------------------------------------------------------

enum class ShortcutTarget { Desktop = 0, SendTo = 1, QuickLaunch = 2, Startup = 3, StartMenu = 4 };

// The folder a shortcut of that kind goes to, with a trailing separator; "" when the desktop
// has no such folder (there is no "Send To" or quick-launch folder on a free desktop, and a
// desktop folder that does not exist is not made up).
QString ShortcutFolder(ShortcutTarget target);
// Writes a desktop entry that starts the program with the arguments in its own folder, named
// after the program ("<name>.desktop"). Returns the file written, "" when the kind has no
// folder. Throws AppError when the file cannot be written.
QString CreateShortcut(const QString &programPath, const QString &description, const QString &arguments,
                       ShortcutTarget target);
