// SPDX-License-Identifier: GPL-3.0-or-later
// A picture that opens a web address (or a document) when clicked, as the
// about box shows one; and the hand cursors of the component library.
#pragma once

#include "components/ProCtrls.h"
#include "platform/Cursors.h"

// Numbers under which the library's own cursors are installed.
constexpr TCursor crProHandPoint = 15000;
constexpr TCursor crProSmallHandPoint = 15001;
constexpr TCursor crProGrabHand = 15002;
constexpr TCursor crProGrabHandArrow = 15003;
constexpr TCursor crProDragHand = 15004;

// Draws the five hand cursors and installs them under their numbers.  Runs
// at start-up before any window is made; running it again does no harm.
void RegisterProCursors();

class TProUrlImage : public TProImage {
  Q_OBJECT
  Q_PROPERTY(QString URL READ URL WRITE SetURL)
  Q_PROPERTY(int Cursor READ Cursor WRITE SetCursor)

 public:
  explicit TProUrlImage(QWidget* parent = nullptr);

  // Address or document opened on a click; nothing is opened while empty.
  QString URL() const { return url_; }
  void SetURL(const QString& v) { url_ = v; }

  // The cursor number shown over the control (the pointing hand by default).
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);

 protected:
  void Click() override;

 private:
  QString url_;
  TCursor cursor_ = crDefault;
};
