// SPDX-License-Identifier: GPL-3.0-or-later
// A figure (line, rectangle, square, ellipse or circle) whose inside is a
// solid colour, a two-colour gradient or a picture (tiled, centred or
// stretched), clipped to the figure.  The disc of the CD sheet is one: a
// circle filled with a colour or with the user's picture.
#pragma once

#include "document/Preenchimento.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

enum TDSShapeType : std::uint8_t {
  tstHLine = 0,
  tstVLine = 1,
  tstHorizontalLine1 = 2,
  tstHorizontalLine2 = 3,
  tstSquare = 4,
  tstEllipse = 5,
  tstCircle = 6,
  tstRectangle = 7,
};

// A rectangle as left, top, right, bottom with right and bottom exclusive.
struct TDSRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TDSRect&) const = default;
};

// The rectangle a figure is drawn in, so that an outline of the given
// width stays inside a control of the given size.
TDSRect DSShapeDrawRect(int width, int height, int lineWidth);
// The largest square centred in d (for squares and circles).
TDSRect DSShapeCentredSquare(const TDSRect& d);

// One stripe of a gradient fill: the rectangle it fills and its colour.
struct TDSStripe {
  TDSRect Rect;
  QColor Color;
};
// The stripes of a horizontal (stripes across the width) or vertical
// gradient from `from` to `to` over a control of the given size.  The
// colours are taken as plain 0x00BBGGRR values.
std::vector<TDSStripe> DSShapeGradient(TColor from, TColor to, int width, int height,
                                       bool horizontal);

class TDSShape : public QWidget {
  Q_OBJECT
 public:
  explicit TDSShape(QWidget* parent = nullptr);
  ~TDSShape() override;

  int LineWidth() const { return lineWidth_; }
  void SetLineWidth(int v);
  TColor LineColor() const { return lineColor_; }
  void SetLineColor(TColor v);
  TDSShapeType ShapeType() const { return shapeType_; }
  void SetShapeType(TDSShapeType v);
  TDSShapeFill FillStyle() const { return fillStyle_; }
  void SetFillStyle(TDSShapeFill v);
  TColor FillColor() const { return fillColor_; }
  void SetFillColor(TColor v);
  TColor FillColor2() const { return fillColor2_; }
  void SetFillColor2(TColor v);

  const TPicture& Image() const { return image_; }
  // The picture itself: changing it does not repaint the shape, its owner
  // does that (for instance by setting FillStyle).
  TPicture& ImageRef() { return image_; }
  // Copies p (nullptr empties the picture) and repaints.
  void SetImage(const TPicture* p);

  // A free text the owner keeps with the shape; the disc keeps the name of
  // its picture file here.
  QString Hint() const { return hint_; }
  void SetHint(const QString& h) { hint_ = h; }
  // Text shown inside the figure while it is to show a picture it does not
  // hold (the editor gives the name of a picture file that was not found).
  QString Placeholder() const { return placeholder_; }
  void SetPlaceholder(const QString& v);

  // Whether the fill is drawn through the figure's mask.
  bool ClippedFill() const { return fillStyle_ != tfsNone && fillStyle_ != tfsSolid; }
  // The drawing rectangle for the current size and line width.
  TDSRect DrawRect() const { return DSShapeDrawRect(width(), height(), lineWidth_); }

  // The shape as painted, on a transparent background.
  QImage Render() const;

  TNotifyEvent OnClick, OnDblClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void Paint(QPainter& p) const;
  void DrawFigure(QPainter& p, const TDSRect& d) const;
  void FillContent(QImage& img, const TDSRect& d) const;
  void SetDirectPenAndBrush(QPainter& p) const;

  bool constructed_ = false;
  int lineWidth_ = 0;
  TColor lineColor_ = clWhite;
  TDSShapeType shapeType_ = tstRectangle;
  TDSShapeFill fillStyle_ = tfsSolid;
  TColor fillColor_ = clWhite;
  TColor fillColor2_ = clWhite;
  mutable TDSRect drawRect_;
  // Made at the first clipped fill and kept: the figure's coverage.
  mutable std::unique_ptr<QImage> mask_;
  TPicture image_;
  QString hint_;
  QString placeholder_;
  bool pressed_ = false;
};
