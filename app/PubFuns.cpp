#include "app/PubFuns.h"

#include "app/core/LoginCheck.h"
#include "data/Dmbasic.h"
#include "session/PubVars.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QSysInfo>

bool loginCheck(const QString& number, const QString& password)
{
    return LoginCheck::run(dmbasic->QryPUB, number, password, CurUser);
}

QString computerName()
{
    return QSysInfo::machineHostName();
}

QString firstIPv4Address()
{
    const QString host = QHostInfo::localHostName();
    if (host.isEmpty()) return {};
    const QHostInfo info = QHostInfo::fromName(host);
    if (info.error() != QHostInfo::NoError) return {};
    // The resolver's order is kept, except that a loopback address (which many
    // systems list first for their own name) gives way to a real one.
    QString loopback;
    for (const QHostAddress& a : info.addresses()) {
        if (a.protocol() != QAbstractSocket::IPv4Protocol) continue;
        if (!a.isLoopback()) return a.toString();
        if (loopback.isEmpty()) loopback = a.toString();
    }
    return loopback;
}
