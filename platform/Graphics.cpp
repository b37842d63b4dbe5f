// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Graphics.h"

#include "platform/PictureLoader.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

QFont TFont::ToQFont(int ppi) const {
  QFont f(Name);
  // A negative height is the character height without internal leading,
  // which is what a pixel size means to Qt.
  const int px = Height < 0 ? -MulDiv(Height, ppi, PixelsPerInch)
                            : std::max(1, MulDiv(Height, ppi, PixelsPerInch) * 4 / 5);
  f.setPixelSize(std::max(1, px));
  f.setBold(Style & fsBold);
  f.setItalic(Style & fsItalic);
  f.setUnderline(Style & fsUnderline);
  f.setStrikeOut(Style & fsStrikeOut);
  return f;
}

double TFont::PointSize() const {
  const int ppi = std::max(1, PixelsPerInch);
  if (Height < 0) {
    const int points = -MulDiv(Height, 72, ppi);
    if (-MulDiv(points, ppi, 72) == Height) return points;
    return -Height * 72.0 / ppi;
  }
  // A positive height is the cell's, internal leading included (about a
  // fifth of it, as ToQFont takes it).
  return Height * 0.8 * 72.0 / ppi;
}

void TFont::FromQFont(const QFont& f) {
  Name = f.family();
  if (f.pixelSize() > 0)
    Height = -MulDiv(f.pixelSize(), PixelsPerInch, ScreenPixelsPerInch());
  else
    SetSize(int(f.pointSizeF() + 0.5));
  Style = 0;
  if (f.bold()) Style |= fsBold;
  if (f.italic()) Style |= fsItalic;
  if (f.underline()) Style |= fsUnderline;
  if (f.strikeOut()) Style |= fsStrikeOut;
}

struct TPicture::Data_ {
  LoadedPicture pic;
  QByteArray bytes;
};

TPicture::TPicture() = default;
TPicture::~TPicture() = default;
TPicture::TPicture(const TPicture&) = default;
TPicture& TPicture::operator=(const TPicture&) = default;

bool TPicture::Empty() const { return !d_; }
int TPicture::Width() const { return d_ ? d_->pic.size.width() : 0; }
int TPicture::Height() const { return d_ ? d_->pic.size.height() : 0; }
QString TPicture::Format() const { return d_ ? d_->pic.format : QString(); }
QByteArray TPicture::Data() const { return d_ ? d_->bytes : QByteArray(); }

void TPicture::LoadFromFile(const QString& fileName) {
  auto d = std::make_shared<Data_>();
  d->pic = LoadPictureFile(fileName, &d->bytes);
  d_ = std::move(d);
}

void TPicture::LoadFromData(const QByteArray& bytes, const QString& extension) {
  auto d = std::make_shared<Data_>();
  d->pic = DecodePicture(bytes, extension);
  d->bytes = bytes;
  d_ = std::move(d);
}

void TPicture::Clear() { d_.reset(); }

void TPicture::Draw(QPainter& p, const QRectF& dest) const {
  if (!d_) return;
  if (d_->pic.vector) {
    d_->pic.vector->render(&p, dest);
  } else {
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(dest, d_->pic.raster);
    p.restore();
  }
}

QImage TPicture::ToImage() const { return d_ ? ToImage(d_->pic.size) : QImage(); }

QImage TPicture::ToImage(const QSize& size) const {
  if (!d_ || size.isEmpty()) return QImage();
  if (!d_->pic.vector && size == d_->pic.raster.size()) return d_->pic.raster;
  QImage img(size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  Draw(p, QRectF(QPointF(0, 0), QSizeF(size)));
  return img;
}
