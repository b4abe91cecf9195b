#pragma once
// One running Mozu per user. The first instance listens on a local socket named after the main
// window's caption; a second instance connects, sends the path of its command-line file (maybe
// empty), and ends. The first opens the file and comes to the front.
//
// The message on the socket: a 32-bit little-endian byte count, then that many bytes of UTF-8.
// The receiver refuses counts above kMaxPathBytes and drops connections that stall.

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace mozu {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxPathBytes = 4096;

    // The socket name for this user: the caption and the user id.
    static QString DefaultName();

    explicit SingleInstance(QString name = DefaultName(), QObject* parent = nullptr);

    // Hands `path` to a running instance; true if one took it (this process should end).
    bool HandOff(const QString& path, int timeoutMs = 2000) const;
    // Starts listening (a socket left by a crashed instance is removed first).
    bool Listen();
    QString name() const { return name_; }

  Q_SIGNALS:
    void pathReceived(const QString& path);

  private:
    void Accept();

    QString name_;
    QLocalServer server_;
};

}  // namespace mozu
