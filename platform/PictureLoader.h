// Picture loading by file extension, the one place every command that reads
// a picture file goes through.
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

// Decodes bytes as the format named by the extension (without the dot,
// any letter case).  Throws Exception with a message for the user.
LoadedPicture DecodePicture(const QByteArray& bytes, const QString& extension);
// Reads and decodes a file by its extension.  Throws Exception.
LoadedPicture LoadPictureFile(const QString& fileName, QByteArray* bytesOut = nullptr);
