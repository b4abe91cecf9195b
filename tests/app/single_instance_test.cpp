// The single-instance socket, the program's one door in from outside: where it lives, whom a
// second instance speaks to, whom the first listens to, and what it takes for a path.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>
#include <cstring>
#include <optional>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "app_test_support.h"
#include "tests/support/temp_dir.h"

namespace mozu {
namespace {

using app_test::Settle;
using app_test::WaitUntil;

// Sets an environment variable (or unsets it) for one test.
class EnvSetting {
  public:
    EnvSetting(const char* name, std::optional<QByteArray> value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~EnvSetting() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

QByteArray Local(const std::string& path) {
    return QByteArray::fromStdString(path);
}

// One hand-off message as the wire carries it: the count, then the bytes.
QByteArray Message(const QByteArray& bytes, quint32 count) {
    char header[4];
    qToLittleEndian<quint32>(count, header);
    return QByteArray(header, 4) + bytes;
}
QByteArray Message(const QByteArray& bytes) {
    return Message(bytes, static_cast<quint32>(bytes.size()));
}

// Sends raw bytes to the socket at `path` from this process.
void SendRaw(const QString& path, const QByteArray& bytes) {
    QLocalSocket s;
    s.connectToServer(path);
    ASSERT_TRUE(s.waitForConnected(1000));
    s.write(bytes);
    s.flush();
    s.waitForBytesWritten(1000);
    s.disconnectFromServer();
}

// Counts the connections a socket somebody else made receives.
struct Impostor {
    explicit Impostor(const QString& path) {
        server.setSocketOptions(QLocalServer::WorldAccessOption);
        EXPECT_TRUE(server.listen(path)) << server.errorString().toStdString();
        QObject::connect(&server, &QLocalServer::newConnection, [this] {
            while (QLocalSocket* s = server.nextPendingConnection()) {
                ++connections;
                s->deleteLater();
            }
        });
    }
    QLocalServer server;
    int connections = 0;
};

TEST(SingleInstanceSocket, LivesInTheRuntimeFolderOrAPrivateOne) {
    test::TempDir runtime;
    ::chmod(runtime.path().c_str(), 0700);
    {
        EnvSetting xdg("XDG_RUNTIME_DIR", Local(runtime.path().string()));
        EXPECT_EQ(SingleInstance::DefaultName(), QString::fromStdString(runtime / "") + kCaption);
    }
    test::TempDir shared;
    EnvSetting xdg("XDG_RUNTIME_DIR", std::nullopt);
    EnvSetting tmp("TMPDIR", Local(shared.path().string()));
    const QString name = SingleInstance::DefaultName();
    const std::string folder = shared / ("mozu-" + std::to_string(::getuid()));
    EXPECT_EQ(name, QString::fromStdString(folder + "/") + kCaption);
    struct stat st {};
    ASSERT_EQ(::lstat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // A runtime folder others may enter is not used.
    ::chmod(runtime.path().c_str(), 0755);
    EnvSetting open("XDG_RUNTIME_DIR", Local(runtime.path().string()));
    EXPECT_EQ(SingleInstance::DefaultName(), name);
}

// The name the socket used to have in the shared temporary folder, held by somebody else
// first: neither connected to nor in the way of the start.
TEST(SingleInstanceSocket, AnImpostorInTheSharedFolderIsNeitherReachedNorInTheWay) {
    test::TempDir shared;
    EnvSetting xdg("XDG_RUNTIME_DIR", std::nullopt);
    EnvSetting tmp("TMPDIR", Local(shared.path().string()));
    Impostor impostor(QString::fromStdString(shared / "") + kCaption + "-" +
                      QString::number(::getuid()));
    // A start first offers its file to a running instance (app/main.cpp): none of ours runs, so
    // the offer is not taken and the start goes on.
    {
        const SingleInstance starting;
        EXPECT_FALSE(starting.HandOff("/home/user/secret.jpg", 500));
    }
    SingleInstance first;
    ASSERT_TRUE(first.Listen());
    QStringList received;
    QObject::connect(&first, &SingleInstance::pathReceived,
                     [&received](const QString& p) { received << p; });
    const SingleInstance second;
    ASSERT_TRUE(second.HandOff("/home/user/picture.jpg"));
    ASSERT_TRUE(WaitUntil([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received, QStringList{"/home/user/picture.jpg"});
    Settle();
    EXPECT_EQ(impostor.connections, 0);
}

// A socket under our name that another user made: the second instance does not connect, and
// the first takes the name over.
TEST(SingleInstanceSocket, ASocketOfAnotherUserIsNeverSpokenTo) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a socket to another user";
    test::TempDir dir;
    const QString path = QString::fromStdString(dir / "mozu.socket");
    auto impostor = std::make_unique<Impostor>(path);
    ASSERT_EQ(::chown(path.toLocal8Bit().constData(), 65534, 65534), 0);
    const SingleInstance second(path);
    EXPECT_FALSE(second.HandOff("/home/user/picture.jpg"));
    Settle();
    EXPECT_EQ(impostor->connections, 0);
    SingleInstance first(path);
    EXPECT_TRUE(first.Listen());
    EXPECT_EQ(impostor->connections, 0);
}

// A peer of another user that reaches the socket is refused without effect; the same bytes
// from this user arrive.
TEST(SingleInstanceSocket, AHandOffFromAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can connect as another user";
    test::TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const QString path = QString::fromStdString(dir / "mozu.socket");
    SingleInstance first(path);
    ASSERT_TRUE(first.Listen());
    ::chmod(path.toLocal8Bit().constData(), 0777);  // as if anybody could reach it
    QStringList received;
    QObject::connect(&first, &SingleInstance::pathReceived,
                     [&received](const QString& p) { received << p; });
    const QByteArray message = Message("/home/user/picture.jpg");
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray file = path.toLocal8Bit();
        std::memcpy(address.sun_path, file.constData(), static_cast<std::size_t>(file.size()));
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) ::_exit(3);
        const bool sent = ::write(fd, message.constData(),
                                  static_cast<std::size_t>(message.size())) == message.size();
        ::usleep(300000);
        ::_exit(sent ? 0 : 4);
    }
    // The child's connection is accepted and dropped while this process waits.
    WaitUntil([&] { return !received.isEmpty(); }, 1000);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the other user could not send";
    Settle();
    EXPECT_TRUE(received.isEmpty());
    SendRaw(path, message);
    ASSERT_TRUE(WaitUntil([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received, QStringList{"/home/user/picture.jpg"});
}

TEST(SingleInstanceSocket, WhatIsNoPathIsRefusedWithoutEffect) {
    test::TempDir dir;
    const QString path = QString::fromStdString(dir / "mozu.socket");
    SingleInstance first(path);
    ASSERT_TRUE(first.Listen());
    QStringList received;
    QObject::connect(&first, &SingleInstance::pathReceived,
                     [&received](const QString& p) { received << p; });
    SendRaw(path, Message(QByteArray("/tmp/a\0b.jpg", 12)));  // a zero byte
    SendRaw(path, Message("relative/picture.jpg"));           // not absolute
    SendRaw(path, Message("/tmp/\xff\xfe.jpg"));              // not UTF-8
    SendRaw(path, Message(QByteArray(5000, '/')));            // over the limit
    SendRaw(path, Message("/tmp/x.jpg", SingleInstance::kMaxPathBytes + 1) + QByteArray(4100, 'a'));
    SendRaw(path, Message("/tmp/last.jpg"));
    ASSERT_TRUE(WaitUntil([&] { return !received.isEmpty(); }));
    Settle();
    EXPECT_EQ(received, QStringList{"/tmp/last.jpg"});
    // A second instance never cuts a path that is too long.
    const SingleInstance second(path);
    EXPECT_FALSE(second.HandOff("/" + QString(SingleInstance::kMaxPathBytes, 'p')));
}

}  // namespace
}  // namespace mozu
