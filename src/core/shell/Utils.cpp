#include "Utils.h"
#include "AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

int TextColumns(const QString &text)
{
    int columns = 0;
    for (const QChar c : text) {
        if (c.isLowSurrogate())
            continue; // the pair counts once, with its high half
        columns += c.unicode() < 0x80 ? 1 : 2;
    }
    return columns;
}

QString SpreadTexts(int width, const QStringList &texts, QChar fill)
{
    if (texts.isEmpty())
        return QString();
    int total = 0;
    for (const QString &t : texts)
        total += TextColumns(t);
    const int gaps = int(texts.size()) - 1;
    const QString gap = gaps > 0 ? RepeatChar(fill, (width - total) / gaps) : QString();
    return texts.join(gap);
}

QString RepeatChar(QChar c, int count)
{
    return count > 0 ? QString(count, c) : QString();
}

bool IsNumeric(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (!(c == QLatin1Char('.') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))))
            return false;
    return true;
}

void MergeLists(QStringList &list, const QStringList &more)
{
    for (const QString &item : more)
        if (!list.contains(item, Qt::CaseInsensitive))
            list.append(item);
}

QStringList SplitQuotedCsvLine(const QString &line)
{
    QStringList fields;
    QString current;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char(',') && !quoted) {
            fields.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    fields.append(current);

    for (QString &field : fields) {
        if (field.isEmpty()) {
            field = QStringLiteral(" ");
            continue;
        }
        if (field.startsWith(QLatin1Char('"')))
            field.remove(0, 1);
        if (field.endsWith(QLatin1Char('"')))
            field.chop(1);
        field.replace(QLatin1String("\"\""), QLatin1String("\""));
    }
    return fields;
}

QDate MonthFromText(const QString &month)
{
    return QDate::fromString(month.trimmed() + QStringLiteral(".01"), ShortDateFormat());
}

QDate FirstDayOfMonth(const QDate &date)
{
    return date.isValid() ? QDate(date.year(), date.month(), 1) : QDate();
}

QString WithTrailingSeparator(const QString &path)
{
    if (path.trimmed().isEmpty())
        return QString();
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        return path;
    return path + QLatin1Char('/');
}

void EnsureFolderExists(const QString &path)
{
    if (!QFileInfo(path).isDir())
        throw AppError(QStringLiteral("目录不存在!目录名:") + path);
}

bool CopyFileTo(const QString &source, const QString &targetFolder, bool overwrite)
{
    const QFileInfo from(source);
    if (!from.isFile())
        throw AppError(QStringLiteral("文件不存在：") + QDir::toNativeSeparators(source));
    if (!QDir().mkpath(targetFolder))
        throw AppError(QStringLiteral("无法创建目录：") + QDir::toNativeSeparators(targetFolder));
    const QString target = QDir(targetFolder).filePath(from.fileName());
    if (QFileInfo(target).absoluteFilePath() == from.absoluteFilePath())
        return false;
    if (QFileInfo::exists(target) && !overwrite)
        return false;

    // Copy beside the target first, so that a failure midway leaves the old file untouched.
    const QString partial = target + QStringLiteral(".") + QUuid::createUuid().toString(QUuid::Id128)
        + QStringLiteral(".part");
    if (!QFile::copy(source, partial)) {
        QFile::remove(partial);
        throw AppError(QStringLiteral("复制文件失败：") + QDir::toNativeSeparators(source));
    }
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        QFile::remove(partial);
        throw AppError(QStringLiteral("无法覆盖文件：") + QDir::toNativeSeparators(target));
    }
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        throw AppError(QStringLiteral("复制文件失败：") + QDir::toNativeSeparators(target));
    }
    return true;
}

int CopyFilesByMask(const QString &sourceFolder, const QString &mask, const QString &targetFolder,
                    bool overwrite)
{
    EnsureFolderExists(sourceFolder);
    const QString pattern = (mask.isEmpty() || mask == QLatin1String("*.*")) ? QStringLiteral("*") : mask;
    const QDir dir(sourceFolder, pattern, QDir::Name, QDir::Files | QDir::Hidden);
    int copied = 0;
    for (const QFileInfo &file : dir.entryInfoList())
        if (CopyFileTo(file.absoluteFilePath(), targetFolder, overwrite))
            ++copied;
    return copied;
}

namespace {

QString DesktopEntryValue(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

// The program as one quoted argument of an Exec line, then the arguments as given.
QString ExecLine(const QString &programPath, const QString &arguments)
{
    QString program = programPath;
    for (const char c : {'\\', '"', '`', '$'})
        program.replace(QLatin1Char(c), QLatin1Char('\\') + QLatin1Char(c));
    QString line = QLatin1Char('"') + program + QLatin1Char('"');
    if (!arguments.trimmed().isEmpty())
        line += QLatin1Char(' ') + arguments.trimmed();
    line.replace(QLatin1Char('%'), QLatin1String("%%"));
    return DesktopEntryValue(line);
}

} // namespace

QString ShortcutFolder(ShortcutTarget target)
{
    switch (target) {
    case ShortcutTarget::Desktop: {
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        // Without a desktop folder the location falls back to the home folder: no shortcut there.
        if (desktop.isEmpty() || !QFileInfo(desktop).isDir()
            || QDir(desktop) == QDir(QStandardPaths::writableLocation(QStandardPaths::HomeLocation)))
            return QString();
        return WithTrailingSeparator(desktop);
    }
    case ShortcutTarget::Startup: {
        const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        return config.isEmpty() ? QString() : WithTrailingSeparator(config) + QStringLiteral("autostart/");
    }
    case ShortcutTarget::StartMenu: {
        const QString apps = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
        return apps.isEmpty() ? QString() : WithTrailingSeparator(apps);
    }
    case ShortcutTarget::SendTo:
    case ShortcutTarget::QuickLaunch:
        break;
    }
    return QString();
}

QString CreateShortcut(const QString &programPath, const QString &description, const QString &arguments,
                       ShortcutTarget target)
{
    const QString folder = ShortcutFolder(target);
    if (folder.isEmpty())
        return QString();
    const QFileInfo program(programPath);
    const QString name = program.completeBaseName().isEmpty() ? program.fileName() : program.completeBaseName();
    const QString file = folder + name + QStringLiteral(".desktop");

    QString entry = QStringLiteral("[Desktop Entry]\nType=Application\n");
    entry += QStringLiteral("Name=") + DesktopEntryValue(description.isEmpty() ? name : description) + QLatin1Char('\n');
    if (!description.isEmpty())
        entry += QStringLiteral("Comment=") + DesktopEntryValue(description) + QLatin1Char('\n');
    entry += QStringLiteral("Exec=") + ExecLine(program.absoluteFilePath(), arguments) + QLatin1Char('\n');
    entry += QStringLiteral("Path=") + DesktopEntryValue(program.absolutePath()) + QLatin1Char('\n');
    entry += QStringLiteral("Terminal=false\n");

    QDir().mkpath(folder);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(entry.toUtf8()) < 0 || !out.commit())
        throw AppError(QStringLiteral("无法创建快捷方式：") + QDir::toNativeSeparators(file));
    // Desktops start entries on the desktop only when they are marked executable.
    QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return file;
}
