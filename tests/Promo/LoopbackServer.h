#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server on 127.0.0.1 (port chosen by the system) for the download tests. Each
// path answers with a status and a body, or never answers at all (a server that hangs).
// Runs on the main thread's event loop; the code under test fetches from a worker thread.
class LoopbackServer final : public QObject {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        bool silent = false;
    };

    LoopbackServer() {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                QObject::connect(socket, &QTcpSocket::readyRead, this,
                                 [this, socket] { onRequest(socket); });
            }
        });
    }

    QString baseAddress() const {
        return QStringLiteral("http://127.0.0.1:%1/promo/sorvanta/site/")
            .arg(m_server.serverPort());
    }
    void setAnswer(const QByteArray& fileName, Answer answer) {
        m_answers.insert("/promo/sorvanta/site/" + fileName, std::move(answer));
    }
    void setAnswerForPath(const QByteArray& path, Answer answer) {
        m_answers.insert(path, std::move(answer));
    }
    int requestCount(const QByteArray& fileName) const {
        return m_requests.value("/promo/sorvanta/site/" + fileName);
    }
    int requestCountForPath(const QByteArray& path) const { return m_requests.value(path); }

private:
    void onRequest(QTcpSocket* socket) {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        const QByteArray path = requestLine.value(1);
        m_buffers.remove(socket);
        ++m_requests[path];
        const Answer answer = m_answers.value(path, Answer{404, "not found", false});
        if (answer.silent)
            return;
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.status) + " X\r\n";
        reply += "Content-Type: text/xml\r\nConnection: close\r\nContent-Length: " +
                 QByteArray::number(answer.body.size()) + "\r\n\r\n" + answer.body;
        socket->write(reply);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QByteArray, Answer> m_answers;
    QHash<QByteArray, int> m_requests;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};
