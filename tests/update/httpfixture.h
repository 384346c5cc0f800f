#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 for the update check's tests. Each
// path serves a canned answer in one of a few ways: whole, never, a byte at
// a time, or cut off by a connection reset part-way through the body.
#include <QHash>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <sys/socket.h>

class HttpFixture : public QObject
{
    Q_OBJECT
public:
    enum class Mode { Whole, Never, Trickle, ResetMidBody };
    struct Route {
        Mode mode = Mode::Whole;
        QByteArray response; // status line, headers and body
    };

    HttpFixture()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, &HttpFixture::accept);
    }

    quint16 port() const { return m_server.serverPort(); }
    QUrl url(const QString &path, const QString &scheme = QStringLiteral("http")) const
    {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2%3").arg(scheme).arg(port()).arg(path));
    }

    void setRoute(const QByteArray &path, Mode mode, const QByteArray &response)
    {
        m_routes.insert(path, Route{mode, response});
    }

    // "HTTP/1.1 <status>" with a Content-Length and the body.
    static QByteArray response(int status, const QByteArray &body, const QByteArray &headers = {})
    {
        return "HTTP/1.1 " + QByteArray::number(status) + " Status\r\nContent-Type: text/xml\r\n"
               + "Content-Length: " + QByteArray::number(body.size()) + "\r\n" + headers + "\r\n" + body;
    }
    static QByteArray redirect(const QByteArray &location)
    {
        return response(302, QByteArray(), "Location: " + location + "\r\n");
    }

    // Request lines received ("GET /path HTTP/1.1"), in order.
    QList<QByteArray> requests;
    // Connections the client still holds open.
    int openConnections() const
    {
        int n = 0;
        for (const auto &s : m_sockets)
            n += s && s->state() == QAbstractSocket::ConnectedState;
        return n;
    }
    // Bytes of trickled bodies written so far.
    qint64 trickled = 0;

    // Sends the whole answer on connections that were told never to answer,
    // as a server that wakes up late would.
    void wakeUp()
    {
        for (const auto &s : m_sockets) {
            if (s && s->state() == QAbstractSocket::ConnectedState && s->property("held").toBool()) {
                s->write(s->property("answer").toByteArray());
                s->disconnectFromHost();
            }
        }
    }

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            m_sockets.append(socket);
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        }
    }

    void readRequest(QTcpSocket *socket)
    {
        QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
        if (buffer.isEmpty() || buffer.at(0) < 'A' || buffer.at(0) > 'Z') {
            socket->abort(); // not HTTP (a TLS hello, say)
            return;
        }
        // Requests have no body here, so each one ends at its blank line.
        qsizetype end;
        while (socket->state() == QAbstractSocket::ConnectedState && !socket->property("busy").toBool()
               && (end = buffer.indexOf("\r\n\r\n")) >= 0) {
            const QByteArray line = buffer.left(buffer.indexOf("\r\n"));
            buffer.remove(0, end + 4);
            answer(socket, line);
        }
        socket->setProperty("buffer", buffer);
    }

    void answer(QTcpSocket *socket, const QByteArray &line)
    {
        requests.append(line);
        const QByteArray path = line.split(' ').value(1);
        const Route route = m_routes.value(path, Route{Mode::Whole, response(404, "Not Found")});
        switch (route.mode) {
        case Mode::Whole:
            socket->write(route.response);
            // Answers without a length end with the connection; others keep it.
            if (route.response.contains("\r\nConnection: close\r\n"))
                socket->disconnectFromHost();
            break;
        case Mode::Never:
            socket->setProperty("busy", true);
            socket->setProperty("held", true);
            socket->setProperty("answer", route.response);
            break;
        case Mode::Trickle: {
            socket->setProperty("busy", true);
            socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n<");
            auto *timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [this, socket] {
                if (socket->state() == QAbstractSocket::ConnectedState) {
                    socket->write("x");
                    ++trickled;
                }
            });
            timer->start(20);
            break;
        }
        case Mode::ResetMidBody: {
            socket->setProperty("busy", true);
            socket->write(route.response.left(route.response.size() / 2));
            socket->flush();
            // Linger 0: close() sends a reset instead of an orderly end.
            linger off{1, 0};
            ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &off, sizeof off);
            QTimer::singleShot(50, socket, [socket] { socket->abort(); });
            break;
        }
        }
    }

    QTcpServer m_server;
    QHash<QByteArray, Route> m_routes;
    QList<QPointer<QTcpSocket>> m_sockets;
};
