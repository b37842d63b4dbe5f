// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// The requests a second copy sends, one line each: to come to the front,
// and to open a file, whose name goes in base64 so that any byte of it
// travels (a line end included).
constexpr char kActivate[] = "activate\n";
constexpr char kOpen[] = "open ";
// The longest line taken: an "open" with a file name of the longest the
// system allows (4096 bytes) in base64.
constexpr qint64 kLongestLine = 8192;

QString ErrnoText(const char* what, int e) {
  return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(e)));
}

// A folder only this user can reach: ours, a real folder (not a link), with
// no access for group or others.
bool PrivateFolder(const QByteArray& path) {
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}
}  // namespace

QString InstanceDirectory() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty()) {
    struct stat st {};
    if (::stat(runtime.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
        ::access(runtime.constData(), W_OK | X_OK) == 0)
      return QDir(QString::fromLocal8Bit(runtime)).absolutePath();
  }
  // No session runtime folder (a plain console login, a container): a
  // private folder of our own in the temporary folder.  Its name carries
  // the user number so that every user has a separate one.
  const QString dir = QDir::tempPath() + QStringLiteral("/lurns-") + QString::number(::getuid());
  const QByteArray native = QFile::encodeName(dir);
  if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return QString();
  return PrivateFolder(native) ? dir : QString();
}

QString SafeObjectName(const QString& name) {
  const QByteArray utf8 = name.toUtf8();
  QString out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == ' ' ||
                       u == '.' || u == '_' || u == '-';
    if (plain)
      out += QLatin1Char(c);
    else
      out += QStringLiteral("%%1").arg(u, 2, 16, QLatin1Char('0')).toUpper();
  }
  // A name the file system takes whatever the title, and short enough to
  // leave room for the folder in a socket address (about 100 bytes).
  constexpr int kLongest = 64;
  if (out.size() > kLongest) {
    const QByteArray hash = QCryptographicHash::hash(utf8, QCryptographicHash::Sha1).toHex().left(16);
    out = out.left(kLongest - 17) + QLatin1Char('~') + QString::fromLatin1(hash);
  }
  return out;
}

QString InstanceObjectPath(const QString& name) {
  const QString dir = InstanceDirectory();
  return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + SafeObjectName(name);
}

// --- TNamedLock -------------------------------------------------------------

TNamedLock::TNamedLock(QString path) : path_(std::move(path)) {}

TNamedLock::~TNamedLock() { Unlock(); }

void TNamedLock::SetPath(const QString& path) {
  if (path == path_) return;
  Unlock();
  path_ = path;
}

TNamedLock::Result TNamedLock::TryLock() {
  if (fd_ >= 0) return Acquired;
  error_.clear();
  if (path_.isEmpty()) {
    error_ = QStringLiteral("no folder for the lock file");
    return Failed;
  }
  const QByteArray native = QFile::encodeName(path_);
  // Close-on-exec: a program started from here must not keep the lock
  // alive after we are gone.
  const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    error_ = ErrnoText("open", errno);
    return Failed;
  }
  int rc;
  do rc = ::flock(fd, LOCK_EX | LOCK_NB);
  while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const int e = errno;
    ::close(fd);
    if (e == EWOULDBLOCK) return Busy;
    error_ = ErrnoText("flock", e);
    return Failed;
  }
  // Ours now.  A number left in the file means its last holder died with it.
  char old[32];
  const ssize_t n = ::pread(fd, old, sizeof old, 0);
  const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
  if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.constData(), size_t(pid.size()), 0) != pid.size()) {
    // The lock holds without the number; only the abandoned report is lost.
  }
  fd_ = fd;
  return n > 0 ? Abandoned : Acquired;
}

void TNamedLock::Unlock() {
  if (fd_ < 0) return;
  if (::ftruncate(fd_, 0) != 0) {
    // Nothing to do: the next holder reports the lock as abandoned.
  }
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

void TNamedLock::Abandon() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

// --- raising a window -------------------------------------------------------

void BringWindowToFront(QWidget* w) {
  if (!w) return;
  w = w->window();
  // A window not shown yet is left alone: the copy is still starting and
  // will show it itself.
  if (!w->isVisible()) return;
  if (w->isMinimized()) w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  w->raise();
  w->activateWindow();
}

// --- TInstanceChannel -------------------------------------------------------

TInstanceChannel::TInstanceChannel(QObject* parent) : QObject(parent) {}

TInstanceChannel::~TInstanceChannel() { Close(); }

bool TInstanceChannel::Listen(const QString& path) {
  Close();
  if (path.isEmpty() || QFile::encodeName(path).size() >= qsizetype(sizeof(sockaddr_un::sun_path))) return false;
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(path);
  if (!server_->listen(path)) {
    delete server_;
    server_ = nullptr;
    return false;
  }
  connect(server_, &QLocalServer::newConnection, this, &TInstanceChannel::Accept);
  return true;
}

bool TInstanceChannel::Listening() const { return server_ && server_->isListening(); }

void TInstanceChannel::Close() {
  if (!server_) return;
  server_->close();  // also removes the socket file
  delete server_;
  server_ = nullptr;
}

void TInstanceChannel::Accept() {
  while (server_ && server_->hasPendingConnections()) {
    QLocalSocket* s = server_->nextPendingConnection();
    connect(s, &QLocalSocket::readyRead, this, [this, s] { Read(s); });
    connect(s, &QLocalSocket::disconnected, this, [this, s] {
      Read(s);
      s->deleteLater();
    });
    Read(s);
  }
}

void TInstanceChannel::Read(QLocalSocket* s) {
  while (s->canReadLine()) {
    const QByteArray line = s->readLine(kLongestLine + 1);
    if (line == kActivate) {
      emit ActivateRequested();
    } else if (line.startsWith(kOpen) && line.endsWith('\n')) {
      const auto name = QByteArray::fromBase64Encoding(line.mid(int(sizeof kOpen) - 1).chopped(1),
                                                       QByteArray::AbortOnBase64DecodingErrors);
      if (name && !name.decoded.isEmpty()) emit OpenRequested(QString::fromUtf8(name.decoded));
    }
  }
  // Anything else that long without a line end is not ours.
  if (s->bytesAvailable() > kLongestLine) s->abort();
}

bool TInstanceChannel::RequestActivate(const QString& path, int waitMs) {
  return Request(path, true, QString(), waitMs);
}

bool TInstanceChannel::Request(const QString& path, bool activate, const QString& file, int waitMs) {
  if (path.isEmpty() || (!activate && file.isEmpty())) return false;
  QByteArray out;
  if (activate) out += kActivate;
  if (!file.isEmpty()) {
    const QByteArray open = kOpen + file.toUtf8().toBase64() + '\n';
    // No longer than the running copy takes as one line.
    if (open.size() > kLongestLine - 1) return false;
    out += open;
  }
  QLocalSocket s;
  s.connectToServer(path);
  if (!s.waitForConnected(waitMs)) return false;
  // No answer is awaited: the running copy may be busy (printing runs
  // inside its command) and will come to the front, and open the file,
  // when it is free.
  s.write(out);
  const bool written = s.waitForBytesWritten(waitMs) || s.bytesToWrite() == 0;
  s.disconnectFromServer();
  if (s.state() != QLocalSocket::UnconnectedState) s.waitForDisconnected(waitMs);
  return written;
}
