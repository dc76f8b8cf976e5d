#pragma once
#include <QString>

// Lets the user pick a folder through the message service. The current value is shown first
// when it names an existing folder. Returns true and stores the choice in `folder` on OK;
// on cancel `folder` stays as it was.
bool SelectFolder(const QString &title, QString &folder);
// The same with the title "请选择文件夹", starting nowhere in particular.
bool SelectFolder(QString &folder);
