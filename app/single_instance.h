#pragma once
// One running Mozu per user. The first instance listens on a local socket named after the main
// window's caption; a second instance connects, sends the path of its command-line file (maybe
// empty), and ends. The first opens the file and comes to the front.
//
// The socket is the program's only door in from outside, so it lives where only its user can
// reach: the runtime folder ($XDG_RUNTIME_DIR), or a 0700 folder "mozu-UID" in the temporary
// folder when there is none. A second instance speaks only to a socket its own user owns and
// serves; the first accepts a hand-off only from a peer of its own user (SO_PEERCRED).
//
// The message on the socket: a 32-bit little-endian byte count, then that many bytes of UTF-8.
// The receiver refuses counts above kMaxPathBytes, anything that is not an absolute path (or
// empty), and drops connections that stall.

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace mozu {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxPathBytes = 4096;

    // The socket's full path for this user: the caption in the user's private folder; empty
    // (no hand-off, every instance runs alone) when no such folder can be had.
    static QString DefaultName();

    explicit SingleInstance(QString name = DefaultName(), QObject* parent = nullptr);

    // Hands `path` to a running instance; true if one took it (this process should end). A
    // path longer than kMaxPathBytes is not handed over (false).
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
