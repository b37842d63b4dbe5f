// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the program to one running copy per user.  When a second copy
// starts, its guard finds the running one, asks it to come to the front
// (restored if it was minimised) and makes the second copy quit.  A second
// copy started to open a file (the file manager opening a cover) hands
// that file to the running copy, which is told so (OpenRequested).
//
// The main window owns one guard and calls Loaded() while it is being
// built, before its own creation handler runs; start-up then leaves at once
// when Terminated() says this copy is the second one.
#pragma once

#include "platform/InstanceLock.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

// May clear Terminate to let the second copy run.
using TOneInstanceShowMessage = std::function<void(QObject* Sender, bool& Terminate)>;

class TOneInstance : public QObject {
  Q_OBJECT
 public:
  // The window a later copy brings to the front is the owner's window when
  // the owner is a widget (see SetMainWindow).
  explicit TOneInstance(QObject* owner = nullptr);
  ~TOneInstance() override;

  // --- properties ---

  // Information shown at design time; nothing is kept.
  QString About() const { return QString(); }
  void SetAbout(const QString&) {}
  // Bring the running copy to the front when another copy starts.
  bool ActivatePrevInstance() const { return activatePrevInstance_; }
  void SetActivatePrevInstance(bool v) { activatePrevInstance_ = v; }
  // The second copy's warning; empty means the built-in text.
  QString Message() const { return message_; }
  void SetMessage(const QString& v) { message_ = v; }
  // Whether a second copy shows the warning.
  bool ShowMessage() const { return showMessage_; }
  void SetShowMessage(bool v) { showMessage_ = v; }
  // Replaces the warning.
  TOneInstanceShowMessage OnShowMessage;
  // The file this copy was started to open (a full name), handed to the
  // running copy when this one turns out to be the second; empty for none.
  QString FileToOpen() const { return fileToOpen_; }
  void SetFileToOpen(const QString& v) { fileToOpen_ = v; }

  // The window that requests from later copies raise; by default the
  // owner's window.
  QWidget* MainWindow() const;
  void SetMainWindow(QWidget* w) { mainWindow_ = w; }

  // How the second copy asks the application to end.  By default a quit
  // queued on the application, so the copy leaves its event loop at the
  // first event it processes, with exit code 0.
  std::function<void()> TerminateApplication;

  // --- the guard's steps ---

  // What runs once the owner has been loaded: the check and, when another
  // copy runs, the reaction.  Returns true when this copy goes on running.
  bool Loaded();
  // Whether another copy is running.  When none is, this process owns the
  // instance lock from now until it ends and listens for requests from
  // later copies.
  bool Check();
  // The second copy's reaction: the optional warning, bringing the running
  // copy to the front, and ending this one unless a handler said otherwise.
  void Reaction();

  // The reaction asked the application to end.
  bool Terminated() const { return terminated_; }
  // This copy took over the instance lock from a copy that ended without
  // releasing it (it crashed or was killed).
  bool TookOverAbandoned() const { return tookOverAbandoned_; }

  // --- names and process-wide state ---

  // The application's title ("Lurns para CD"), from which the names of the
  // shared objects are built.
  static QString ApplicationTitle();
  // The start-up lock: title + ".OneInstance.CriticalSection".
  static QString StartupLockName(const QString& title);
  // The instance lock: title + ".OneInstance.Default".
  static QString InstanceLockName(const QString& title);
  // Where the running copy listens for requests: title + ".OneInstance.Window".
  static QString ChannelName(const QString& title);

  // Whether this process holds the instance lock.
  static bool InstanceOwned();
  // Lets go of the instance lock.  Runs by itself when the program ends;
  // callable earlier (tests use it to stand for a copy that ended).
  static void ReleaseInstance();

 signals:
  // A later copy asked this one to come to the front (after it was raised).
  void ActivateRequested();
  // A later copy handed over the file it was started to open.
  void OpenRequested(const QString& file);

 private:
  void Activated();

  bool activatePrevInstance_ = true;
  bool showMessage_ = false;
  QString message_;
  QString fileToOpen_;
  QPointer<QWidget> mainWindow_;
  bool terminated_ = false;
  bool tookOverAbandoned_ = false;
  TInstanceChannel* channel_ = nullptr;
};
