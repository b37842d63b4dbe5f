// SPDX-License-Identifier: GPL-3.0-or-later
// A context menu with a vertical bar down its left side: a colour gradient
// from top to bottom, a caption written upwards and optionally a picture.
// The entries are ordinary QActions drawn by the style, moved right to
// leave room for the bar; the bar is painted by the menu itself, band by
// band as the entries are drawn, into an off-screen copy that later
// redraws of single entries (a moving highlight) restore their band from.
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QImage>
#include <QMenu>
#include <cstdint>
#include <memory>

enum TBitmapVertAlignment : std::uint8_t { bvaTop = 0, bvaBottom = 1, bvaMiddle = 2 };
enum TBitmapHorzAlignment : std::uint8_t { bhaLeft = 0, bhaRight = 1, bhaCenter = 2 };

class TBarPopupMenu : public QMenu {
  Q_OBJECT
 public:
  explicit TBarPopupMenu(QWidget* parent = nullptr);
  ~TBarPopupMenu() override;

  // The picture drawn on the bar; reading it creates an empty one (with
  // Transparent on) when there is none yet.
  QImage& Bitmap();
  void SetBitmap(const QImage& b);
  bool HasBitmap() const { return bool(bitmap_); }
  // Whether the picture's background colour (its bottom-left pixel) is left
  // out when it is drawn.  False, and not writable, while there is no picture.
  bool Transparent() const { return bitmap_ && bitmapTransparent_; }
  void SetTransparent(bool v);

  int BitmapOffsetX() const { return bitmapOffsetX_; }
  void SetBitmapOffsetX(int v) { bitmapOffsetX_ = v; }
  int BitmapOffsetY() const { return bitmapOffsetY_; }
  void SetBitmapOffsetY(int v) { bitmapOffsetY_ = v; }
  TBitmapVertAlignment BitmapVertAlignment() const { return vertAlignment_; }
  void SetBitmapVertAlignment(TBitmapVertAlignment v) { vertAlignment_ = v; }
  TBitmapHorzAlignment BitmapHorzAlignment() const { return horzAlignment_; }
  void SetBitmapHorzAlignment(TBitmapHorzAlignment v) { horzAlignment_ = v; }

  TColor GradientStart() const { return gradientStart_; }
  void SetGradientStart(TColor c) { gradientStart_ = c; }
  TColor GradientEnd() const { return gradientEnd_; }
  void SetGradientEnd(TColor c) { gradientEnd_ = c; }

  QString VerticalText() const { return verticalText_; }
  void SetVerticalText(const QString& s) { verticalText_ = s; }
  const TFont& VerticalFont() const { return verticalFont_; }
  void SetVerticalFont(const TFont& f) { verticalFont_ = f; }
  int VerticalTextOffsetY() const { return verticalTextOffsetY_; }
  void SetVerticalTextOffsetY(int v) { verticalTextOffsetY_ = v; }

  // Width reserved for the bar at the left of every entry.
  int BarWidth() const { return barWidth_; }
  void SetBarWidth(int v);
  bool BarVisible() const { return barVisible_; }
  void SetBarVisible(bool v);

  // Shows the menu with its top-left corner at the screen point (x, y).
  void Popup(int x, int y);

  // --- the pieces the menu paints with, open so they can be checked ---

  // Starts a new popup: nothing measured, no bar painted yet.  The menu
  // calls it itself whenever it is about to show.
  void BeginPopup();
  // Called once per entry while the menu is laid out, with the size the
  // style measured for it: widens it by the bar and counts its height.
  void MeasureItem(const QAction* item, int& width, int& height);
  // The bar's part of drawing one entry whose rectangle on the menu canvas
  // is (left, top)-(right, bottom), right and bottom exclusive, with the
  // canvas's x = 0 at the bar's left edge and y = 0 at the first entry.
  void DrawItemBar(QPainter& canvas, const QAction* item, int left, int top, int right, int bottom);

  // Sum of the heights of the counted entries of the current popup.
  int TotalHeight() const { return totalHeight_; }
  // The whole bar of the current popup has been painted.
  bool BarDrawn() const { return barDrawn_; }
  // The off-screen copy of the bar (nullptr while the bar is switched off).
  const QImage* BarBitmap() const { return barBitmap_.get(); }
  // Where the entries' canvas starts on the menu widget.
  QPoint CanvasOrigin() const;

  // Colour of bar row y for a gradient over `total` rows.
  static QColor GradientColor(const QColor& start, const QColor& end, int y, int total);
  // x of the turned caption in a bar `barWidth` wide for a text `textHeight` high.
  static int CaptionX(int barWidth, int textHeight);
  // Top-left of a picture of the given size on a bar of the given width and height.
  static QPoint BitmapPosition(TBitmapHorzAlignment h, TBitmapVertAlignment v, int barWidth,
                               int totalHeight, int offsetX, int offsetY, const QSize& picture);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  void ApplyMargins();
  void Measure();

  std::unique_ptr<QImage> bitmap_;
  bool bitmapTransparent_ = true;
  int bitmapOffsetX_ = 0;
  int bitmapOffsetY_ = 0;
  TBitmapVertAlignment vertAlignment_ = bvaBottom;
  TBitmapHorzAlignment horzAlignment_ = bhaLeft;
  TColor gradientStart_ = clBlue;
  TColor gradientEnd_ = clBlack;
  QString verticalText_;
  TFont verticalFont_;
  int verticalTextOffsetY_ = -6;
  int barWidth_ = 31;
  bool barVisible_ = true;
  int totalHeight_ = 0;
  bool barDrawn_ = false;
  bool measured_ = false;
  std::unique_ptr<QImage> barBitmap_;
};
