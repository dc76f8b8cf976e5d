#include "MessageService.h"
#include "AppError.h"

namespace {

// Used before the program or a test installs a real service: answers every question with
// "cancel" so that nothing destructive happens unattended.
class SilentMessageService final : public IMessageService {
public:
    bool message(Kind kind, const QString &, const QString &) override
    {
        return kind == Kind::Info || kind == Kind::Error || kind == Kind::Warning;
    }
    std::optional<QString> inputText(const QString &, const QString &, const QString &, bool) override
    {
        return std::nullopt;
    }
    std::optional<QString> openFileName(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const QString &, const QString &, const QString &,
                                        const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QString> existingDirectory(const QString &, const QString &) override
    {
        return std::nullopt;
    }
};

SilentMessageService g_silent;
IMessageService *g_service = &g_silent;

} // namespace

IMessageService &Messages() { return *g_service; }

void SetMessageService(IMessageService *service) { g_service = service ? service : &g_silent; }

void ShowInfo(const QString &text) { g_service->message(IMessageService::Kind::Info, text, QStringLiteral("信息")); }
bool ConfirmOkCancel(const QString &text) { return g_service->message(IMessageService::Kind::Confirm, text); }
bool ConfirmOk(const QString &text) { return g_service->message(IMessageService::Kind::Acknowledge, text); }
void ShowWarning(const QString &text) { g_service->message(IMessageService::Kind::Warning, text); }
bool WarningOkCancel(const QString &text) { return g_service->message(IMessageService::Kind::WarningConfirm, text); }
bool QuestionYesNo(const QString &text) { return g_service->message(IMessageService::Kind::Question, text); }
void ShowError(const QString &text) { g_service->message(IMessageService::Kind::Error, text); }

std::optional<QString> InputBox(const QString &caption, const QString &prompt, const QString &initial,
                                bool password)
{
    return g_service->inputText(caption, prompt, initial, password);
}

bool RunGuarded(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const AbortError &) {
        return false;
    } catch (const AppError &e) {
        ShowError(e.message());
        return false;
    } catch (const std::exception &e) {
        ShowError(QString::fromUtf8(e.what()));
        return false;
    }
}
