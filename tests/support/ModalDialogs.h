// SPDX-License-Identifier: GPL-3.0-or-later
// Answering the modal dialogs a test opens, with time limits: a test whose
// dialog never comes, or that opens one nobody answers, fails with a
// message and goes on instead of waiting for ever.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

// How long ExpectDialog waits for its dialog by default.
constexpr int kDialogWaitMs = 10000;
// How long any modal dialog may stay open with nobody answering it before
// the test fails and the dialog is closed (the watchdog of testmain).
constexpr int kUnansweredDialogMs = 30000;

// Expects a visible top-level window for which `match` holds to appear
// within `timeoutMs`, and runs `answer` on it once (which should close
// it).  Arm it before the command that opens the dialog; it watches while
// the dialog's own event loop runs:
//
//   ExpectDialog about("the about box", TitleIs("Sobre"), ClickButton("OKButton"));
//   w->menuAjudaSobreClick();
//   EXPECT_TRUE(about.Answered());
//
// When no such window appears in time the test fails, naming what was
// expected and what was open, and every open modal dialog is closed, so
// that the command returns.  When the object goes out of scope before its
// dialog came (the command showed none), the test fails as well.
class ExpectDialog {
 public:
  ExpectDialog(QString what, std::function<bool(QWidget*)> match,
               std::function<void(QWidget*)> answer, int timeoutMs = kDialogWaitMs);
  ~ExpectDialog();
  ExpectDialog(const ExpectDialog&) = delete;
  ExpectDialog& operator=(const ExpectDialog&) = delete;

  bool Answered() const { return answered_; }
  bool TimedOut() const { return timedOut_; }
  // The window that was answered (null if none, or once it is gone).
  QWidget* Dialog() const { return dialog_; }
  // Processes events until the dialog was answered or the time is up;
  // answers Answered().  For dialogs opened without a modal loop of their
  // own.
  bool Wait();

 private:
  void Poll();

  QString what_;
  std::function<bool(QWidget*)> match_;
  std::function<void(QWidget*)> answer_;
  int timeoutMs_;
  QElapsedTimer since_;
  QTimer poll_;
  QPointer<QWidget> dialog_;
  bool answered_ = false;
  bool timedOut_ = false;
};

// Common matchers and answers.
std::function<bool(QWidget*)> TitleIs(const QString& title);
std::function<bool(QWidget*)> ObjectNameIs(const QString& name);
// Clicks the push button with that object name, or else with that text.
std::function<void(QWidget*)> ClickButton(const QString& nameOrText);

// What is open: the visible top-level windows, their classes and captions,
// for failure messages.
QString OpenWindows();
// Closes every open modal dialog (rejecting it); answers how many.
int CloseModalDialogs();

// The watchdog that testmain installs: any modal dialog that stays open
// longer than the limit with nobody answering it fails the running test
// and is closed.  Tests of the watchdog shorten the limit for a while.
void InstallUnansweredDialogWatchdog();
int UnansweredDialogLimitMs();
void SetUnansweredDialogLimitMs(int ms);
