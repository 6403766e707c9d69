#include "common/httpserver.h"

#include <QTcpSocket>

TestHttpServer::TestHttpServer()
{
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            s->setParent(this);
            connect(s, &QTcpSocket::readyRead, this, [this, s] { answer(s); });
        }
    });
}

TestHttpServer::~TestHttpServer()
{
    server_.close();
}

QString TestHttpServer::base() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
}

void TestHttpServer::serve(const QString& path, const QByteArray& body, const QByteArray& type)
{
    Answer a;
    a.body = body;
    a.type = type;
    answers_.insert(path, a);
}

void TestHttpServer::redirect(const QString& path, const QByteArray& location)
{
    Answer a;
    a.status = 302;
    a.location = location;
    answers_.insert(path, a);
}

void TestHttpServer::silence(const QString& path)
{
    Answer a;
    a.silent = true;
    answers_.insert(path, a);
}

void TestHttpServer::answer(QTcpSocket* socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n")) return;
    const QList<QByteArray> first = request.left(request.indexOf("\r\n")).split(' ');
    QString path = QString::fromLatin1(first.value(1));
    const int q = path.indexOf(QLatin1Char('?'));
    if (q >= 0) path.truncate(q);
    requested.append(path);
    const auto it = answers_.constFind(path);
    if (it != answers_.cend() && it->silent) return;
    const Answer a =
        it != answers_.cend() ? *it : Answer{404, "text/plain", "not found", {}, false};
    QByteArray reply = "HTTP/1.0 " + QByteArray::number(a.status) + " X\r\n";
    reply += "Content-Type: " + a.type + "\r\n";
    reply += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n";
    if (!a.location.isEmpty()) reply += "Location: " + a.location + "\r\n";
    reply += "Connection: close\r\n\r\n" + a.body;
    socket->write(reply);
    socket->disconnectFromHost();
}
