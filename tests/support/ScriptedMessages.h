#pragma once
#include "shell/MessageService.h"
#include <QList>
#include <QQueue>
#include <QString>
#include <optional>

// A message service for tests: answers from scripted queues (OK/Yes when nothing is queued,
// "cancel" for input and file dialogs) and records everything it was shown.
class ScriptedMessages : public IMessageService {
public:
    struct Shown {
        Kind kind;
        QString text;
        QString caption;
    };

    ScriptedMessages() { SetMessageService(this); }
    ~ScriptedMessages() override { SetMessageService(nullptr); }

    QQueue<bool> answers;                       // for confirmations and questions
    QQueue<std::optional<QString>> inputs;      // for input boxes
    QQueue<std::optional<QString>> files;       // for open/save/folder dialogs
    QList<Shown> shown;
    QStringList dialogCaptions;                 // captions of input and file dialogs asked
    QStringList saveStarts;                     // where save dialogs were started (folder or file)

    bool message(Kind kind, const QString &text, const QString &caption) override;
    std::optional<QString> inputText(const QString &caption, const QString &prompt, const QString &initial,
                                     bool password) override;
    std::optional<QString> openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    std::optional<QString> saveFileName(const QString &caption, const QString &dir, const QString &filter,
                                        const QString &defaultSuffix) override;
    std::optional<QString> existingDirectory(const QString &caption, const QString &startDir) override;

    QStringList texts() const;
    QString last() const { return shown.isEmpty() ? QString() : shown.last().text; }
    bool saw(const QString &text) const { return texts().contains(text); }
    void clear() { shown.clear(); dialogCaptions.clear(); saveStarts.clear(); }
};
