#pragma once

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

// An HTTP proxy on the loopback address that answers every request itself:
// the web engine, pointed at it, fetches made-up addresses (picture.test)
// and no request leaves the machine. It records each requested address.
class LoopbackProxy : public QTcpServer
{
public:
    LoopbackProxy()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
    }

    // The flag that points the engine at the proxy.
    QByteArray chromiumFlag() const { return "--proxy-server=http://127.0.0.1:" + QByteArray::number(serverPort()); }

    // Answers `address` with `body` of `type`; anything else gets 404.
    void serve(const QString &address, const QByteArray &type, const QByteArray &body)
    {
        m_answers.insert(address, {type, body});
    }

    QStringList requested;

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        // "GET http://host/path HTTP/1.1": a proxy is sent the whole address.
        const QList<QByteArray> words = buffer.left(buffer.indexOf("\r\n")).split(' ');
        m_buffers.remove(socket);
        const QString address = words.size() > 1 ? QString::fromLatin1(words.at(1)) : QString();
        requested.append(address);
        const auto found = m_answers.constFind(address);
        QByteArray reply;
        if (found == m_answers.cend()) {
            reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        } else {
            reply = "HTTP/1.1 200 OK\r\nContent-Type: " + found->first + "\r\nContent-Length: "
                + QByteArray::number(found->second.size()) + "\r\nConnection: close\r\n\r\n" + found->second;
        }
        socket->write(reply);
        socket->disconnectFromHost();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QHash<QString, std::pair<QByteArray, QByteArray>> m_answers;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
