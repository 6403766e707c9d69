#include "shell/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

SingleInstance::SingleInstance(const QString& executablePath, QObject* parent) : QObject(parent)
{
    const QByteArray path = QFileInfo(executablePath).absoluteFilePath().toUtf8();
    key_ = QStringLiteral("orvaldis-") +
           QString::fromLatin1(
               QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16));
}

bool SingleInstance::acquire()
{
    lock_ = std::make_unique<QLockFile>(QDir::tempPath() + QLatin1Char('/') + key_ +
                                        QStringLiteral(".lock"));
    lock_->setStaleLockTime(0); // a copy that crashed leaves a lock whose process is gone
    if (!lock_->tryLock(100)) return false;
    QLocalServer::removeServer(key_);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_.nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            emit activationRequested();
        }
    });
    server_.listen(key_);
    return true;
}

void SingleInstance::activateRunning()
{
    QLocalSocket s;
    s.connectToServer(key_);
    if (s.waitForConnected(1000)) {
        s.write("raise");
        s.waitForBytesWritten(500);
        s.disconnectFromServer();
    }
}
