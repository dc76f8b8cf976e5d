#pragma once
#include <QString>

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

    // True when the rights string holds "1" at the position (counted from 1).
    bool HasRight(int position) const;
    // As HasRight; a missing right is first reported to the user.
    bool CheckRight(int position) const;
};
