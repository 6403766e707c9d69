#pragma once
// A small HTTP/1.0 server on 127.0.0.1 for tests: each path answers with a
// status, headers and a body given by the test; a path may also never
// answer. It records every path asked for.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class TestHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Answer {
        int status = 200;
        QByteArray type = "text/html; charset=utf-8";
        QByteArray body;
        QByteArray location; // for 3xx
        bool silent = false; // accept the request, never answer
    };

    TestHttpServer();
    ~TestHttpServer() override;

    // http://127.0.0.1:<port>
    QString base() const;
    QString url(const QString& path) const { return base() + path; }
    quint16 port() const { return server_.serverPort(); }

    void serve(const QString& path, const QByteArray& body,
               const QByteArray& type = "text/html; charset=utf-8");
    void redirect(const QString& path, const QByteArray& location);
    void silence(const QString& path);

    QStringList requested; // paths, in the order asked

private:
    void answer(class QTcpSocket* socket);
    QTcpServer server_;
    QHash<QString, Answer> answers_;
};
