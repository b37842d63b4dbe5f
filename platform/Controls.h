// SPDX-License-Identifier: GPL-3.0-or-later
// Plain controls the windows are built from, with the properties the
// program's windows set on them: a panel with bevels that owns components,
// and a shape (rectangle or circle) with a pen and a brush.
#pragma once

#include "platform/Components.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QWidget>

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TPanel(QWidget* parent = nullptr);

  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TBevelCut BevelInner = bvNone;
  TBevelCut BevelOuter = bvRaised;

  // Components owned by this panel, in creation order.
  TOwnedComponents Owned;

  TNotifyEvent OnClick;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  TColor color_ = clBtnFace;
  bool pressed_ = false;
};


class TShape : public QWidget {
  Q_OBJECT
 public:
  explicit TShape(QWidget* parent = nullptr);

  TShapeType Shape() const { return shape_; }
  void SetShape(TShapeType s);
  TColor BrushColor() const { return brushColor_; }
  void SetBrushColor(TColor c);
  TBrushStyle BrushStyle() const { return brushStyle_; }
  void SetBrushStyle(TBrushStyle s);
  TColor PenColor() const { return penColor_; }
  void SetPenColor(TColor c);
  TPenStyle PenStyle() const { return penStyle_; }
  void SetPenStyle(TPenStyle s);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  TShapeType shape_ = stRectangle;
  TColor brushColor_ = clWhite;
  TBrushStyle brushStyle_ = bsSolid;
  TColor penColor_ = clBlack;
  TPenStyle penStyle_ = psSolid;
};
