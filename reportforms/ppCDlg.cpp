// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportforms/ppCDlg.h"

#include "report/ppUtils.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextBlockFormat>
#include <QTextCursor>

TppCancelDialog::TppCancelDialog(QWidget* parent) : TppCustomCancelDialog(parent) {
  setObjectName(QStringLiteral("ppCancelDialog"));
  // Dialog border without border icons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setCursor(Qt::WaitCursor);
  QFont bold(QStringLiteral("MS Sans Serif"));
  bold.setPixelSize(11);
  bold.setBold(true);
  setFont(bold);
  QFont regular = bold;
  regular.setBold(false);
  setFixedSize(270, 133);

  btnCancel = new QPushButton(this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setGeometry(98, 98, 75, 23);
  btnCancel->setFont(regular);
  btnCancel->setCursor(Qt::ArrowCursor);
  btnCancel->setAutoDefault(false);
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });

  memMessage = new QTextEdit(this);
  memMessage->setObjectName(QStringLiteral("memMessage"));
  memMessage->setGeometry(42, 14, 187, 75);
  memMessage->setReadOnly(true);
  memMessage->setFrameShape(QFrame::NoFrame);
  memMessage->setFont(regular);
  memMessage->setAcceptRichText(false);
  memMessage->viewport()->setCursor(Qt::WaitCursor);
  memMessage->setFocusPolicy(Qt::NoFocus);
  memMessage->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QPalette pal = memMessage->palette();
  pal.setColor(QPalette::Base, ColorToQColor(clBtnFace));
  memMessage->setPalette(pal);
  memMessage->clear();

  if (QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  LanguageChanged();
}

void TppCancelDialog::LanguageChanged() {
  setWindowTitle(EngineMessage(msgPrinting));
  btnCancel->setText(EngineMessage(msgCancel));
  // The width of the text in the default font, as a new picture measures
  // it, with room around it.
  QImage picture(1, 1, QImage::Format_RGB32);
  const QFontMetrics fm(QFont(QStringLiteral("MS Sans Serif"), 8), &picture);
  const int w = fm.horizontalAdvance(btnCancel->text()) + 30;
  btnCancel->setGeometry((width() - w) / 2, btnCancel->y(), w, btnCancel->height());
}

void TppCancelDialog::StatusTextChanged() {
  memMessage->setPlainText(StatusText());
  // Centred lines.
  QTextCursor all(memMessage->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  all.mergeBlockFormat(centred);
  memMessage->document()->setModified(false);
}

void TppCancelDialog::RunActivateHook() {
  btnCancel->setEnabled(AllowCancel);
  if (working_) return;
  // The dialog may be gone when the work returns.
  const QPointer<TppCancelDialog> self(this);
  working_ = true;
  try {
    TppCustomCancelDialog::RunActivateHook();
  } catch (...) {
    if (self) working_ = false;
    throw;
  }
  if (self) working_ = false;
}

void TppCancelDialog::btnCancelClick() {
  if (!AllowCancel) return;
  DoCancel();
  closing_ = true;
  QDialog::reject();
  closing_ = false;
}

void TppCancelDialog::Close() {
  closing_ = true;
  close();
  closing_ = false;
}

void TppCancelDialog::reject() {
  if (closing_) {
    QDialog::reject();
    return;
  }
  btnCancelClick();
}
