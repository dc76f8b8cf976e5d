#include "FolderPicker.h"
#include "MessageService.h"

#include <QFileInfo>

bool SelectFolder(const QString &title, QString &folder)
{
    const QString start = (!folder.isEmpty() && QFileInfo(folder).isDir()) ? folder : QString();
    const std::optional<QString> chosen = Messages().existingDirectory(title, start);
    if (!chosen || chosen->isEmpty())
        return false;
    folder = *chosen;
    return true;
}

bool SelectFolder(QString &folder)
{
    const std::optional<QString> chosen = Messages().existingDirectory(QStringLiteral("请选择文件夹"), QString());
    if (!chosen || chosen->isEmpty())
        return false;
    folder = *chosen;
    return true;
}
