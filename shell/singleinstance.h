#pragma once
// At most one running copy per executable: a lock file named after the
// executable's path, and a local socket through which a second copy asks the
// first one to come to the front.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <memory>

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString& executablePath, QObject* parent = nullptr);

    // True when this copy is the first; it then listens for later copies.
    bool acquire();
    // From a second copy: asks the running one to come to the front.
    void activateRunning();

    QString key() const { return key_; }

signals:
    void activationRequested();

private:
    QString key_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};
