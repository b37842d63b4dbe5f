// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/OneInstance.h"

#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <QWidget>

#include <memory>

namespace {
// The instance lock is the process's, not the guard's: once taken it is
// held until the program ends, whatever happens to the component.
struct ProcessState {
  std::unique_ptr<TNamedLock> instanceLock;
  // The program's end: the lock is let go (and its file emptied).
  ~ProcessState() {
    if (instanceLock) instanceLock->Unlock();
  }
};

ProcessState& Process() {
  static ProcessState state;
  return state;
}
}  // namespace

TOneInstance::TOneInstance(QObject* owner) : QObject(owner) {
  activatePrevInstance_ = true;
  showMessage_ = false;
}

TOneInstance::~TOneInstance() = default;

QWidget* TOneInstance::MainWindow() const {
  if (mainWindow_) return mainWindow_;
  if (auto* w = qobject_cast<QWidget*>(parent())) return w->window();
  return nullptr;
}

QString TOneInstance::ApplicationTitle() { return ::ApplicationTitle(); }

QString TOneInstance::StartupLockName(const QString& title) {
  return title + QStringLiteral(".OneInstance.") + QStringLiteral("CriticalSection");
}

QString TOneInstance::InstanceLockName(const QString& title) {
  return title + QStringLiteral(".OneInstance.") + QStringLiteral("Default");
}

QString TOneInstance::ChannelName(const QString& title) {
  return title + QStringLiteral(".OneInstance.") + QStringLiteral("Window");
}

bool TOneInstance::InstanceOwned() {
  const auto& lock = Process().instanceLock;
  return lock && lock->Locked();
}

void TOneInstance::ReleaseInstance() {
  auto& lock = Process().instanceLock;
  if (lock) lock->Unlock();
  lock.reset();
}

bool TOneInstance::Loaded() {
  if (Check()) Reaction();
  return !terminated_;
}

bool TOneInstance::Check() {
  const QString title = ApplicationTitle();
  // 1. The start-up lock, held for the length of the check: a copy that
  // finds it taken started at the same moment as another and gives way.
  TNamedLock startup(InstanceObjectPath(StartupLockName(title)));
  switch (startup.TryLock()) {
    case TNamedLock::Busy:
      return true;
    case TNamedLock::Failed:
      // No lock can be made at all (no private folder, a full disk): the
      // program runs unguarded rather than never starting.
      QTextStream(stderr) << "Lurns: single-instance lock unavailable (" << startup.ErrorString() << ")\n";
      return false;
    case TNamedLock::Acquired:
    case TNamedLock::Abandoned:
      break;
  }
  // 2. The instance lock, kept for the life of the process.
  auto& lock = Process().instanceLock;
  const QString path = InstanceObjectPath(InstanceLockName(title));
  if (!lock) lock = std::make_unique<TNamedLock>(path);
  lock->SetPath(path);
  // 3. Taken without waiting.  One left behind by a copy that died is ours.
  const TNamedLock::Result r = lock->TryLock();
  tookOverAbandoned_ = r == TNamedLock::Abandoned;
  if (r == TNamedLock::Acquired || r == TNamedLock::Abandoned) {
    // Listen before the start-up lock goes, so that any copy that finds the
    // instance lock taken also finds someone to ask.
    if (!channel_) {
      channel_ = new TInstanceChannel(this);
      connect(channel_, &TInstanceChannel::ActivateRequested, this, &TOneInstance::Activated);
      connect(channel_, &TInstanceChannel::OpenRequested, this, &TOneInstance::OpenRequested);
    }
    channel_->Listen(InstanceObjectPath(ChannelName(title)));
  }
  // 4. The start-up lock goes.
  startup.Unlock();
  // 5. Another copy runs exactly when it holds the instance lock.
  return r == TNamedLock::Busy;
}

void TOneInstance::Reaction() {
  bool terminate = true;
  const QString title = ApplicationTitle();
  if (showMessage_) {
    if (OnShowMessage)
      OnShowMessage(this, terminate);
    else
      Dialogs().TitledWarning(
          title, message_.isEmpty() ? QStringLiteral("Application \"%1\" is already running.").arg(title)
                                    : message_);
  }
  // Nobody listening (the other copy is still starting) means nothing to
  // bring to the front.
  // The file this copy was to open goes to the running copy, which opens it.
  if (activatePrevInstance_ || !fileToOpen_.isEmpty())
    TInstanceChannel::Request(InstanceObjectPath(ChannelName(title)), activatePrevInstance_, fileToOpen_);
  if (terminate) {
    terminated_ = true;
    if (TerminateApplication)
      TerminateApplication();
    else if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
  }
}

void TOneInstance::Activated() {
  BringWindowToFront(MainWindow());
  emit ActivateRequested();
}
