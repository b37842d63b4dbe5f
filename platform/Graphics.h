// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts, pens, brushes and pictures as plain values.  A font is a face
// name, a size in points, a character set, a colour and a style bit set
// (the fields a cover file stores); a pen and a brush are what shapes are
// outlined and filled with; a picture is what was loaded from a picture
// file, kept with its original bytes so that it can be copied.
#pragma once

#include "platform/Types.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

class QPainter;
class QSvgRenderer;

enum TFontStyle : std::uint8_t {
  fsBold = 1 << 0,
  fsItalic = 1 << 1,
  fsUnderline = 1 << 2,
  fsStrikeOut = 1 << 3,
};
using TFontStyles = std::uint8_t;

constexpr std::uint8_t ANSI_CHARSET = 0;
constexpr std::uint8_t DEFAULT_CHARSET = 1;
constexpr std::uint8_t SYMBOL_CHARSET = 2;

class TFont {
 public:
  QString Name = QStringLiteral("MS Sans Serif");
  std::uint8_t Charset = DEFAULT_CHARSET;
  TColor Color = clWindowText;
  TFontStyles Style = 0;

  // The size is kept as a character height in pixels at PixelsPerInch, the
  // way the platform keeps it; Size() and SetSize() convert through points.
  int Height = -11;  // 8 points at 96 pixels per inch
  int PixelsPerInch = 96;

  int Size() const { return -MulDiv(Height, 72, PixelsPerInch); }
  void SetSize(int points) { Height = -MulDiv(points, PixelsPerInch, 72); }
  // The size in points the font stands for, which text is laid out at: the
  // whole points its height is the rounding of (a font set in points keeps
  // its true size, whatever pixels per inch it was set at), or else its
  // height's exact share of an inch.
  double PointSize() const;

  // A Qt font for drawing at the given resolution (screen or printer).
  QFont ToQFont(int ppi) const;
  QFont ToQFont() const { return ToQFont(PixelsPerInch); }
  // Takes face, size and style from a Qt font (colour and set unchanged).
  void FromQFont(const QFont& f);

  bool operator==(const TFont& o) const {
    return Name == o.Name && Charset == o.Charset && Color == o.Color && Style == o.Style &&
           Size() == o.Size();
  }
  bool operator!=(const TFont& o) const { return !(*this == o); }
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TBrushStyle { bsSolid, bsClear };

// Width in pixels of the device drawn on (0 draws as thin as the device can).
struct TPen {
  TColor Color = clBlack;
  TPenStyle Style = psSolid;
  int Width = 1;
  bool operator==(const TPen&) const = default;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  bool operator==(const TBrush&) const = default;
};

// A loaded picture: a raster image, or a vector drawing that scales without
// loss.  Copies share the data; assigning copies the value.
class TPicture {
 public:
  TPicture();
  ~TPicture();
  TPicture(const TPicture&);
  TPicture& operator=(const TPicture&);

  bool Empty() const;
  int Width() const;
  int Height() const;
  // The file extension the picture was decoded by ("jpg", "bmp", ...).
  QString Format() const;
  // The bytes the picture was decoded from.
  QByteArray Data() const;

  // Throws Exception with a user-readable message; on failure the picture
  // keeps its former content.
  void LoadFromFile(const QString& fileName);
  void LoadFromData(const QByteArray& bytes, const QString& extension);
  void Clear();

  // Draws the picture scaled into dest.
  void Draw(QPainter& p, const QRectF& dest) const;
  // The picture as pixels at its own size (vector drawings rendered).
  QImage ToImage() const;
  // The picture as pixels at the given size.
  QImage ToImage(const QSize& size) const;

  bool operator==(const TPicture& o) const { return d_ == o.d_; }

  struct Data_;

 private:
  std::shared_ptr<const Data_> d_;
};
