// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportforms/ppForms.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QShowEvent>

TppForm::TppForm(QWidget* parent) : QDialog(parent) {}

TModalResult TppForm::ShowModal() {
  return exec() == QDialog::Accepted ? TModalResult::OK : TModalResult::Cancel;
}

void TppForm::Show() { show(); }

void TppForm::Close() { close(); }

void TppForm::SetWindowState(TWindowState state) {
  switch (state) {
    case wsNormal: setWindowState(Qt::WindowNoState); break;
    case wsMinimized: setWindowState(Qt::WindowMinimized); break;
    case wsMaximized: setWindowState(Qt::WindowMaximized); break;
  }
}

void TppForm::SetIcon(const TPicture& icon) {
  if (!icon.Empty()) setWindowIcon(QIcon(QPixmap::fromImage(icon.ToImage())));
}

void TppForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The window system showing the window again (after it was minimised)
  // is no new showing.
  if (event->spontaneous()) return;
  const int showing = ++showing_;
  QTimer::singleShot(0, this, [this, showing] {
    if (showing == showing_ && isVisible()) RunActivateHook();
  });
}

void TppForm::RunActivateHook() {
  if (ActivateHook) ActivateHook();
}

// ---------------------------------------------------------------------------
// Cancel dialog

TppCustomCancelDialog::TppCustomCancelDialog(QWidget* parent) : TppForm(parent) {
  closeTimer_.setSingleShot(true);
  closeTimer_.setInterval(10);
  connect(&closeTimer_, &QTimer::timeout, this, [this] { done(QDialog::Accepted); });
}

TppCustomCancelDialog::~TppCustomCancelDialog() { EnableDisabledWindow(); }

void TppCustomCancelDialog::StartCloseTimer() { closeTimer_.start(); }

void TppCustomCancelDialog::showEvent(QShowEvent* event) {
  if (!ShownModally() && !disabled_) {
    // Shown without its own modality, the dialog keeps the user from the
    // window that was in front while the report prints.
    QWidget* active = QApplication::activeWindow();
    if (active && active != this && active->isEnabled()) {
      disabled_ = active;
      active->setEnabled(false);
    }
  }
  TppForm::showEvent(event);
}

void TppCustomCancelDialog::hideEvent(QHideEvent* event) {
  EnableDisabledWindow();
  TppForm::hideEvent(event);
}

void TppCustomCancelDialog::EnableDisabledWindow() {
  if (!disabled_) return;
  QWidget* w = disabled_;
  disabled_ = nullptr;
  w->setEnabled(true);
  if (w->isVisible() && QApplication::activeWindow() == this) w->activateWindow();
}
