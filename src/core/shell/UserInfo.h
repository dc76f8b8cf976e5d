#pragma once
#include <QList>
#include <QString>
#include <utility>

class QObject;

// The number of positions of a rights string.
inline constexpr int kRightsLength = 180;
// The built-in administrator: cannot be deleted, holds every right.
inline const QString kAdministratorName = QStringLiteral("管理员");

// The current operator, filled at each login.
class TUserInfo {
public:
    QString userName;
    QString passwordHash;
    bool isSuper = false;
    QString rights;        // "1"/"0" per position, position 1 first
    QString userType;
    QString depCode;
    QString classCode;
    QString whCode;

    // Checks the password and, when it matches, fills the fields from the operator's row of
    // the open account set. Returns false (after the message) when it does not.
    bool Login(const QString &name, const QString &password);
    // False, after an acknowledgement message, when the operator does not exist or the
    // password (compared without regard to letter case) does not match.
    bool CheckPassword(const QString &name, const QString &password) const;

    // True when the rights string holds "1" at the position (counted from 1).
    bool HasRight(int position) const;
    // As HasRight; a missing right is first reported to the user.
    bool CheckRight(int position) const;
};

// Enables the objects (actions) by their "Tag" property: a Tag of 1..length of the rights
// enables exactly when the rights hold "1" there; any other Tag enables. With empty rights
// nothing is touched.
void ApplyRights(const QList<QObject *> &actions, const QString &rights);

// The rights string with the given positions set to granted or not; other positions are kept,
// and the string grows with "0" to reach every position named (at least kRightsLength).
QString WithRights(const QString &rights, const QList<std::pair<int, bool>> &grants);
