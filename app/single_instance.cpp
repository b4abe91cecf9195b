#include "app/single_instance.h"

#include <unistd.h>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>
#include <memory>

#include "app/main_window.h"

namespace mozu {

QString SingleInstance::DefaultName() {
    return QString("%1-%2").arg(kCaption).arg(static_cast<qulonglong>(::getuid()));
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] { Accept(); });
}

bool SingleInstance::HandOff(const QString& path, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    const QByteArray bytes = path.toUtf8().left(kMaxPathBytes);
    char header[4];
    qToLittleEndian<quint32>(static_cast<quint32>(bytes.size()), header);
    socket.write(header, 4);
    socket.write(bytes);
    socket.flush();
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(timeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return true;
}

bool SingleInstance::Listen() {
    if (server_.listen(name_)) return true;
    if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;
    // Nobody answers on the name: a stale socket file of an instance that died.
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(500)) return false;  // a live instance: do not steal its name
    QLocalServer::removeServer(name_);
    return server_.listen(name_);
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        // Reads the count, then the path, never more than kMaxPathBytes; a sender that stalls
        // or lies about the count is dropped.
        auto buffer = std::make_shared<QByteArray>();
        auto done = std::make_shared<bool>(false);
        auto finish = [socket, done] {
            *done = true;
            socket->disconnect();
            socket->abort();
            socket->deleteLater();
        };
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer, done, finish] {
            if (*done) return;
            buffer->append(socket->read(4 + kMaxPathBytes - buffer->size()));
            if (buffer->size() < 4) return;
            const quint32 count = qFromLittleEndian<quint32>(buffer->constData());
            if (count > static_cast<quint32>(kMaxPathBytes)) {
                finish();
                return;
            }
            if (buffer->size() < 4 + static_cast<qsizetype>(count)) return;
            const QString path = QString::fromUtf8(buffer->constData() + 4, count);
            finish();
            Q_EMIT pathReceived(path);
        });
        connect(socket, &QLocalSocket::disconnected, this, [finish, done] {
            if (!*done) finish();
        });
        QTimer::singleShot(5000, socket, [finish, done] {
            if (!*done) finish();
        });
    }
}

}  // namespace mozu
