#include "Config.h"
#include "AppError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringConverter>
#include <QStringList>

namespace {

QString g_appPathOverride;
QString g_userDataOverride;

const char kConfigFileName[] = "EFCONFIG.TXT";
const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);

QString WithSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// The file as text. Hand-edited files may come from an editor that saves UTF-8; GBK byte
// sequences are almost never valid UTF-8, so strict UTF-8 is tried first.
struct ConfigText {
    QStringList lines;
    bool crlf = false;
    bool exists = false;
};

QString DecodeConfigBytes(const QByteArray &bytes)
{
    if (bytes.startsWith(kUtf8Bom))
        return QString::fromUtf8(bytes.mid(kUtf8Bom.size()));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gbk("GBK");
    return gbk.decode(bytes);
}

// GBK as every other copy of the program expects; a text GBK cannot hold (a rare character in
// a name) is written as UTF-8 with a byte-order mark instead of being turned into "?".
QByteArray EncodeConfigText(const QString &text)
{
    QStringEncoder gbk("GBK");
    QByteArray bytes = gbk.encode(text);
    if (!gbk.hasError())
        return bytes;
    return kUtf8Bom + text.toUtf8();
}

ConfigText ReadConfigText(const QString &path)
{
    ConfigText result;
    if (path.isEmpty())
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    result.exists = true;
    const QString text = DecodeConfigBytes(file.readAll());
    result.crlf = text.contains(QLatin1String("\r\n"));
    result.lines = text.split(QLatin1Char('\n'));
    for (QString &line : result.lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    // A final line break leaves an empty last element; it is no line of its own.
    if (!result.lines.isEmpty() && result.lines.last().isEmpty())
        result.lines.removeLast();
    return result;
}

// The index of the first line whose name (the text before the first "=") is the key.
int FindKeyLine(const QStringList &lines, const QString &key)
{
    for (int i = 0; i < lines.size(); ++i) {
        const int eq = lines.at(i).indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (QStringView(lines.at(i)).left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString ValueIn(const QString &path, const QString &key)
{
    const ConfigText text = ReadConfigText(path);
    const int i = FindKeyLine(text.lines, key);
    if (i < 0)
        return QString();
    const QString &line = text.lines.at(i);
    return line.mid(line.indexOf(QLatin1Char('=')) + 1);
}

bool HasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

QString AppPath()
{
    if (!g_appPathOverride.isEmpty())
        return g_appPathOverride;
    return WithSlash(QCoreApplication::applicationDirPath());
}

void SetAppPathOverride(const QString &folder)
{
    g_appPathOverride = folder.isEmpty() ? QString() : WithSlash(QDir::fromNativeSeparators(folder));
}

QString UserDataPath()
{
    if (!g_userDataOverride.isEmpty())
        return g_userDataOverride;
    return WithSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        + QStringLiteral("qelvo/");
}

void SetUserDataPathOverride(const QString &folder)
{
    g_userDataOverride = folder.isEmpty() ? QString() : WithSlash(QDir::fromNativeSeparators(folder));
}

bool AppPathWritable()
{
    const QFileInfo folder(AppPath());
    return folder.isDir() && folder.isWritable();
}

QString AppDataPath()
{
    return AppPathWritable() ? AppPath() : UserDataPath();
}

QString ConfigFilePath()
{
    return AppDataPath() + QLatin1String(kConfigFileName);
}

QString InstalledConfigFilePath()
{
    return AppPathWritable() ? QString() : AppPath() + QLatin1String(kConfigFileName);
}

QString ReadConfig(const QString &key)
{
    if (key.trimmed().isEmpty())
        return QString();
    const QString value = ValueIn(ConfigFilePath(), key);
    if (!value.isEmpty())
        return value;
    return ValueIn(InstalledConfigFilePath(), key);
}

void WriteConfig(const QString &key, const QString &value)
{
    const QString name = key.trimmed();
    if (name.isEmpty() || name.contains(QLatin1Char('=')) || HasLineBreak(name))
        throw AppError(QStringLiteral("配置项名称无效：") + key);
    if (HasLineBreak(value))
        throw AppError(QStringLiteral("配置项的值不能包含换行：") + key);

    const QString path = ConfigFilePath();
    ConfigText text = ReadConfigText(path);
    const int i = FindKeyLine(text.lines, name);
    if (value.isEmpty()) {
        if (i < 0)
            return;
        text.lines.removeAt(i);
    } else if (i >= 0) {
        const QString &line = text.lines.at(i);
        const QString newLine = line.left(line.indexOf(QLatin1Char('=')) + 1) + value;
        if (newLine == line)
            return;
        text.lines[i] = newLine;
    } else {
        text.lines.append(name + QLatin1Char('=') + value);
    }

    const QString eol = text.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString content;
    for (const QString &line : std::as_const(text.lines))
        content += line + eol;

    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(EncodeConfigText(content)) < 0 || !file.commit())
        throw AppError(QStringLiteral("无法写入配置文件：") + QDir::toNativeSeparators(path) + QLatin1Char('\r')
                       + file.errorString());
}

QString ConfiguredDataNetPath()
{
    const QString configured = ReadConfig(QStringLiteral("DataNetPath"));
    if (!configured.isEmpty())
        return configured;
    return AppDataPath() + QStringLiteral("data/");
}
