#pragma once
#include "shell/MessageService.h"
#include <QPointer>
#include <QWidget>

// The program's message service: Qt dialogs with Chinese buttons, owned by the main window
// (or the active window before there is one) and modal, so other windows wait.
class QtMessageService final : public IMessageService {
public:
    explicit QtMessageService(QWidget *mainWindow = nullptr) : m_mainWindow(mainWindow) {}
    void setMainWindow(QWidget *mainWindow) { m_mainWindow = mainWindow; }

    bool message(Kind kind, const QString &text, const QString &caption = QString()) override;
    std::optional<QString> inputText(const QString &caption, const QString &prompt, const QString &initial,
                                     bool password) override;
    std::optional<QString> openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    std::optional<QString> saveFileName(const QString &caption, const QString &dir, const QString &filter,
                                        const QString &defaultSuffix) override;
    std::optional<QString> existingDirectory(const QString &caption, const QString &startDir) override;

private:
    QWidget *owner() const;
    QPointer<QWidget> m_mainWindow;
};
