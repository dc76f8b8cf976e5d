#pragma once
#include <QString>

// The stored form of an operator's password: 32 lowercase hex digits of MD5 over the GBK bytes
// of the upper-cased user name, the upper-cased password and a fixed salt. Upper-casing makes
// passwords compare without regard to letter case; GBK keeps the hashes of existing sets valid.
QString PasswordHash(const QString &userName, const QString &password);
