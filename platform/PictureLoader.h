// SPDX-License-Identifier: GPL-3.0-or-later
// Picture loading by file extension, the one place every command that reads
// a picture file goes through.
//
// Formats: JPEG (.jpg .jpeg .jpe .jfif, decoded with libjpeg), bitmaps
// (.bmp), icons (.ico), .png and .gif through Qt, drawings (.svg) through Qt
// Svg, and the platform's metafiles (.wmf, .emf) where a converter was
// built in (MetafileSupport tells).  Every failure is an Exception with one
// Portuguese sentence for the user.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>

class QSvgRenderer;

struct LoadedPicture {
  QImage raster;                        // set for raster formats
  std::shared_ptr<QSvgRenderer> vector; // set for vector drawings
  QSize size;                           // natural size in pixels
  QString format;                       // lower-case extension, no dot
};

// Largest picture accepted, in pixels (width x height); a larger one is
// refused before anything is allocated for it.
constexpr long long MaxPicturePixels = 100LL * 1000 * 1000;
// Largest side accepted.
constexpr int MaxPictureSide = 65500;

// Decodes bytes as the format named by the extension (without the dot,
// any letter case).  sourceName, when given, names the file in messages.
// Throws Exception with a message for the user.
LoadedPicture DecodePicture(const QByteArray& bytes, const QString& extension,
                            const QString& sourceName = QString());
// Reads and decodes a file by its extension.  Throws Exception.
LoadedPicture LoadPictureFile(const QString& fileName, QByteArray* bytesOut = nullptr);

// The extensions DecodePicture knows (lower case, no dot), for file dialogs.
QStringList PictureExtensions();

// Which metafile kinds this build can decode.
struct MetafileSupport {
  bool wmf;
  bool emf;
};
MetafileSupport SupportedMetafiles();

// JPEG decoding on its own, for callers that hold JPEG bytes: RGB,
// greyscale, CMYK and YCCK (plain or Adobe-inverted), baseline or
// progressive.  Throws Exception (sourceName names the file in messages).
QImage DecodeJpeg(const QByteArray& bytes, const QString& sourceName = QString());
