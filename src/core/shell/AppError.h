#pragma once
#include <QString>
#include <exception>
#include <functional>

// An error meant for the user: its text is shown as it stands by the error box.
class AppError : public std::exception {
public:
    explicit AppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Silent abandonment of an operation (after its own message was shown, or by the user's choice).
class AbortError : public std::exception {
public:
    const char *what() const noexcept override { return "aborted"; }
};

[[noreturn]] inline void Abort() { throw AbortError(); }

// Runs an action handler: an AppError reaches the user through the error box, an AbortError is
// silent, anything else is shown with its text. Returns true when the action finished normally.
bool RunGuarded(const std::function<void()> &action);
