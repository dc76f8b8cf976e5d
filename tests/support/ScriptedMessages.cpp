#include "ScriptedMessages.h"

bool ScriptedMessages::message(Kind kind, const QString &text, const QString &caption)
{
    shown.append({kind, text, caption});
    if (kind == Kind::Info || kind == Kind::Error || kind == Kind::Warning)
        return true;
    return answers.isEmpty() ? true : answers.dequeue();
}

std::optional<QString> ScriptedMessages::inputText(const QString &caption, const QString &prompt,
                                                   const QString &, bool)
{
    dialogCaptions << caption + QLatin1Char('|') + prompt;
    return inputs.isEmpty() ? std::nullopt : inputs.dequeue();
}

std::optional<QString> ScriptedMessages::openFileName(const QString &caption, const QString &, const QString &)
{
    dialogCaptions << caption;
    return files.isEmpty() ? std::nullopt : files.dequeue();
}

std::optional<QString> ScriptedMessages::saveFileName(const QString &caption, const QString &dir, const QString &,
                                                      const QString &)
{
    dialogCaptions << caption;
    saveStarts << dir;
    return files.isEmpty() ? std::nullopt : files.dequeue();
}

std::optional<QString> ScriptedMessages::existingDirectory(const QString &caption, const QString &)
{
    dialogCaptions << caption;
    return files.isEmpty() ? std::nullopt : files.dequeue();
}

QStringList ScriptedMessages::texts() const
{
    QStringList list;
    for (const Shown &s : shown)
        list << s.text;
    return list;
}
