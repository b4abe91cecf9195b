#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStringDecoder>
#include <QTimer>
#include <QtEndian>
#include <cerrno>
#include <memory>

#include "app/main_window.h"

namespace mozu {

namespace {

// A folder only this user can enter: the runtime folder when it is one, else "mozu-UID" in
// the temporary folder, made 0700 (and put right if it is ours with other modes). Empty when
// neither can be had (another user owns the folder of that name): there is no hand-off then.
QString PrivateFolder() {
    const uid_t uid = ::getuid();
    const auto usable = [uid](const QByteArray& path, bool repair) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid)
            return false;
        if ((st.st_mode & 077) == 0) return true;
        return repair && ::chmod(path.constData(), 0700) == 0;
    };
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && usable(runtime, false)) return QString::fromLocal8Bit(runtime);
    const QString folder = QDir::tempPath() + QString("/mozu-%1").arg(static_cast<qulonglong>(uid));
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return QString();
    return usable(path, true) ? folder : QString();
}

// The file a socket name stands for: names without a slash live in the temporary folder.
QByteArray SocketFile(const QString& name) {
    return QFile::encodeName(name.startsWith('/') ? name : QDir::tempPath() + '/' + name);
}

// The user at the other end of a connected local socket; -1 when it cannot be told.
long long PeerUser(qintptr descriptor) {
    ucred cred{};
    socklen_t size = sizeof cred;
    if (descriptor < 0 ||
        ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0)
        return -1;
    return cred.uid;
}

// A hand-off message is a path: valid UTF-8 without a zero byte, absolute, or empty.
bool IsPathMessage(const QByteArray& bytes, QString& path) {
    if (bytes.contains('\0')) return false;
    QStringDecoder decode(QStringDecoder::Utf8);
    path = decode(bytes);
    if (decode.hasError()) return false;
    return path.isEmpty() || path.startsWith('/');
}

}  // namespace

QString SingleInstance::DefaultName() {
    const QString folder = PrivateFolder();
    return folder.isEmpty() ? QString() : folder + '/' + kCaption;
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] { Accept(); });
}

bool SingleInstance::HandOff(const QString& path, int timeoutMs) const {
    if (name_.isEmpty()) return false;
    const QByteArray bytes = path.toUtf8();
    if (bytes.size() > kMaxPathBytes) return false;  // never a cut path
    // Only a socket of this user's is spoken to: one somebody else made under the name gets
    // neither a connection nor the path.
    struct stat st {};
    const QByteArray file = SocketFile(name_);
    if (::lstat(file.constData(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::getuid())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    if (PeerUser(socket.socketDescriptor()) != static_cast<long long>(::getuid())) {
        socket.abort();
        return false;
    }
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
    if (name_.isEmpty()) return false;
    if (server_.listen(name_)) return true;
    if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;
    // A socket of ours that nobody answers on was left by an instance that died; one that is
    // not ours is never connected to, only removed where we may.
    struct stat st {};
    const QByteArray file = SocketFile(name_);
    if (::lstat(file.constData(), &st) == 0 && st.st_uid == ::getuid()) {
        QLocalSocket probe;
        probe.connectToServer(name_);
        if (probe.waitForConnected(500)) return false;  // a live instance: do not steal its name
    }
    QLocalServer::removeServer(name_);
    return server_.listen(name_);
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        // Only this user's programs may hand a file over.
        if (PeerUser(socket->socketDescriptor()) != static_cast<long long>(::getuid())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // Reads the count, then the path, never more than kMaxPathBytes; a sender that stalls,
        // lies about the count or sends what is no path is dropped without effect.
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
            QString path;
            const bool isPath = IsPathMessage(buffer->mid(4, count), path);
            finish();
            if (isPath) Q_EMIT pathReceived(path);
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
