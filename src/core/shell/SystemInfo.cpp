#include "SystemInfo.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QSysInfo>

QString ComputerName()
{
    return QSysInfo::machineHostName().left(15);
}

QString LocalIP()
{
    QString loopback;
    for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        if (address.isLoopback()) {
            loopback = address.toString();
            continue;
        }
        return address.toString();
    }
    return loopback.isEmpty() ? QStringLiteral("127.0.0.1") : loopback;
}
