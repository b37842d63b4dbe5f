// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-ins for the cross-process objects that keep the program to one
// copy per user: named locks (advisory file locks in the user's runtime
// folder, which the kernel drops when their process ends, however it ends)
// and a local socket through which a second copy asks the running one to
// bring its window to the front.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QWidget;

// The per-user folder the lock files and the socket live in: the session's
// runtime folder ($XDG_RUNTIME_DIR) when there is one, otherwise a private
// folder "lurns-<uid>" in the temporary folder, created readable by its
// owner only.  Empty when neither can be used.
QString InstanceDirectory();

// A name made safe as one file name: letters, digits, space, '.', '_' and
// '-' stay as they are, every other byte of its UTF-8 form becomes %XX (so
// different names stay different); a name too long for the file system is
// cut and given a hash of the whole name.
QString SafeObjectName(const QString& name);

// The full path of the object called `name` in InstanceDirectory(); empty
// when there is no usable folder.
QString InstanceObjectPath(const QString& name);

// A named lock shared by every process of the user.  Taking it never
// waits.  Whoever holds it writes its process number into the file and
// empties the file when it lets go, so a lock found with a number still in
// it was left by a holder that died without releasing it ("abandoned"):
// it is taken all the same.
class TNamedLock {
 public:
  enum Result {
    Acquired,   // taken; it was free
    Abandoned,  // taken; its previous holder ended without releasing it
    Busy,       // another holder has it
    Failed      // the lock file could not be opened
  };

  explicit TNamedLock(QString path = QString());
  TNamedLock(const TNamedLock&) = delete;
  TNamedLock& operator=(const TNamedLock&) = delete;
  ~TNamedLock();  // releases

  const QString& Path() const { return path_; }
  void SetPath(const QString& path);
  Result TryLock();
  bool Locked() const { return fd_ >= 0; }
  // Empties the file and lets go.
  void Unlock();
  // Lets go the way a crash would: the holder's number stays in the file.
  void Abandon();
  // Why the last TryLock failed.
  const QString& ErrorString() const { return error_; }

 private:
  QString path_;
  QString error_;
  int fd_ = -1;
};

// Brings a top-level window to the front: a minimised window is restored,
// any other is raised and activated.
void BringWindowToFront(QWidget* w);

// The running copy's end of the channel: listens on a socket at `path` and
// says so when another copy asks it to come to the front, or to open a
// file (the cover a second copy was started with).
class TInstanceChannel : public QObject {
  Q_OBJECT
 public:
  explicit TInstanceChannel(QObject* parent = nullptr);
  ~TInstanceChannel() override;

  // Starts listening, first removing a socket a dead copy left behind (only
  // the holder of the instance lock calls this, so nobody else owns it).
  bool Listen(const QString& path);
  bool Listening() const;
  void Close();

  // The second copy's end: asks the copy listening at `path` to come to
  // the front.  Waits at most `waitMs` for the connection and for the
  // request to be written; false when nobody listens there.
  static bool RequestActivate(const QString& path, int waitMs = 2000);
  // The same with the requests in one go: to come to the front (activate)
  // and to open `file` (none when empty).  False when nobody listens there
  // or nothing could be sent.
  static bool Request(const QString& path, bool activate, const QString& file, int waitMs = 2000);

 signals:
  void ActivateRequested();
  void OpenRequested(const QString& file);

 private:
  void Accept();
  void Read(QLocalSocket* s);
  QLocalServer* server_ = nullptr;
};
