// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ModalDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <gtest/gtest.h>

ExpectDialog::ExpectDialog(QString what, std::function<bool(QWidget*)> match,
                           std::function<void(QWidget*)> answer, int timeoutMs)
    : what_(std::move(what)), match_(std::move(match)), answer_(std::move(answer)), timeoutMs_(timeoutMs) {
  since_.start();
  poll_.setInterval(20);
  QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
  poll_.start();
}

ExpectDialog::~ExpectDialog() {
  poll_.stop();
  if (!answered_ && !timedOut_)
    ADD_FAILURE() << "the expected dialog (" << what_.toStdString() << ") never appeared";
}

void ExpectDialog::Poll() {
  if (answered_ || timedOut_) return;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || !match_(w)) continue;
    answered_ = true;
    dialog_ = w;
    poll_.stop();
    answer_(w);
    return;
  }
  if (since_.elapsed() < timeoutMs_) return;
  timedOut_ = true;
  poll_.stop();
  ADD_FAILURE() << "no dialog (" << what_.toStdString() << ") appeared within " << timeoutMs_
                << " ms; open windows: " << OpenWindows().toStdString()
                << "; closed " << CloseModalDialogs() << " modal dialog(s)";
}

bool ExpectDialog::Wait() {
  while (!answered_ && !timedOut_) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return answered_;
}

std::function<bool(QWidget*)> TitleIs(const QString& title) {
  return [title](QWidget* w) { return w->windowTitle() == title; };
}

std::function<bool(QWidget*)> ObjectNameIs(const QString& name) {
  return [name](QWidget* w) { return w->objectName() == name; };
}

std::function<void(QWidget*)> ClickButton(const QString& nameOrText) {
  return [nameOrText](QWidget* w) {
    QAbstractButton* b = w->findChild<QAbstractButton*>(nameOrText);
    if (!b)
      for (QAbstractButton* c : w->findChildren<QAbstractButton*>())
        if (c->text() == nameOrText && c->isVisible()) b = c;
    if (!b) {
      ADD_FAILURE() << "no button " << nameOrText.toStdString() << " on "
                    << w->windowTitle().toStdString() << "; closing it";
      w->close();
      return;
    }
    b->click();
  };
}

QString OpenWindows() {
  QStringList out;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible())
      out << QStringLiteral("%1 \"%2\"%3")
                 .arg(QString::fromLatin1(w->metaObject()->className()), w->windowTitle(),
                      w->isModal() ? QStringLiteral(" (modal)") : QString());
  return out.isEmpty() ? QStringLiteral("none") : out.join(QStringLiteral(", "));
}

int CloseModalDialogs() {
  int n = 0;
  // Each close ends one modal loop; a window that will not close is not
  // asked twice.
  QList<QWidget*> tried;
  while (QWidget* m = QApplication::activeModalWidget()) {
    if (tried.contains(m)) break;
    tried << m;
    if (auto* d = qobject_cast<QDialog*>(m))
      d->reject();
    else
      m->close();
    ++n;
  }
  return n;
}

namespace {
int& LimitMs() {
  static int ms = kUnansweredDialogMs;
  return ms;
}

class UnansweredDialogWatchdog : public QObject {
 public:
  UnansweredDialogWatchdog() : QObject(qApp) {
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_.start();
  }

 private:
  void Tick() {
    QWidget* m = QApplication::activeModalWidget();
    if (m != current_) {
      current_ = m;
      since_.start();
      return;
    }
    if (!m || since_.elapsed() < LimitMs()) return;
    ADD_FAILURE() << "a modal dialog stayed open " << since_.elapsed()
                  << " ms with nobody answering it: " << m->metaObject()->className() << " \""
                  << m->windowTitle().toStdString() << "\"; it is closed now";
    current_ = nullptr;
    CloseModalDialogs();
  }

  QTimer timer_;
  QPointer<QWidget> current_;
  QElapsedTimer since_;
};
}  // namespace

void InstallUnansweredDialogWatchdog() {
  static UnansweredDialogWatchdog* watchdog = nullptr;
  if (!watchdog) watchdog = new UnansweredDialogWatchdog;
}

int UnansweredDialogLimitMs() { return LimitMs(); }
void SetUnansweredDialogLimitMs(int ms) { LimitMs() = ms; }
