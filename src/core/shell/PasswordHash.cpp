#include "PasswordHash.h"

#include <QCryptographicHash>
#include <QStringEncoder>

namespace {
const QString kSalt = QStringLiteral("Qelvo.Cloths");
}

QString PasswordHash(const QString &userName, const QString &password)
{
    // Qt reaches GBK through ICU: the encoder works although encodingForName does not know it.
    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk.encode(userName.toUpper() + password.toUpper() + kSalt);
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}
