#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// Every message box, question, input box and file dialog of the system goes through this
// service, so that tests can answer them and read what was shown.
class IMessageService {
public:
    enum class Kind { Info, Acknowledge, Confirm, Warning, WarningConfirm, Question, Error };

    virtual ~IMessageService() = default;

    // Shows a message and returns true for OK/Yes, false for Cancel/No. Info, Error and
    // Warning boxes have one OK button and return true.
    virtual bool message(Kind kind, const QString &text, const QString &caption = QString()) = 0;

    virtual std::optional<QString> inputText(const QString &caption, const QString &prompt,
                                             const QString &initial = QString(),
                                             bool password = false) = 0;
    // filter in Qt form, e.g. "数据库文件(*.mdb)"; dir may name a folder or a proposed file.
    virtual std::optional<QString> openFileName(const QString &caption, const QString &dir,
                                                const QString &filter) = 0;
    virtual std::optional<QString> saveFileName(const QString &caption, const QString &dir,
                                                const QString &filter,
                                                const QString &defaultSuffix = QString()) = 0;
    virtual std::optional<QString> existingDirectory(const QString &caption,
                                                     const QString &startDir = QString()) = 0;
};

IMessageService &Messages();
// Installs the service used from now on (not owned); nullptr restores the silent default.
void SetMessageService(IMessageService *service);

// Information box, caption "信息".
void ShowInfo(const QString &text);
// Confirmation with OK and Cancel.
bool ConfirmOkCancel(const QString &text);
// Confirmation icon with a single OK: warnings that need acknowledgement.
bool ConfirmOk(const QString &text);
void ShowWarning(const QString &text);
// Warning icon with OK and Cancel.
bool WarningOkCancel(const QString &text);
bool QuestionYesNo(const QString &text);
void ShowError(const QString &text);
std::optional<QString> InputBox(const QString &caption, const QString &prompt,
                                const QString &initial = QString(), bool password = false);
