#include "platform/PictureLoader.h"

#include "platform/Types.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSvgRenderer>

LoadedPicture DecodePicture(const QByteArray& bytes, const QString& extension) {
  const QString ext = extension.toLower();
  LoadedPicture out;
  out.format = ext;
  if (ext == QLatin1String("svg")) {
    auto r = std::make_shared<QSvgRenderer>(bytes);
    if (!r->isValid()) throw Exception(QStringLiteral("Imagem inválida."));
    out.vector = r;
    out.size = r->defaultSize();
    return out;
  }
  static const QStringList raster = {"bmp", "ico", "png", "gif", "jpg", "jpeg"};
  if (!raster.contains(ext))
    throw Exception(QStringLiteral("Extensão de ficheiro de imagem desconhecida (.%1).").arg(ext));
  QBuffer buf;
  buf.setData(bytes);
  buf.open(QIODevice::ReadOnly);
  QImageReader reader(&buf, ext == QLatin1String("jpg") ? QByteArray("jpeg") : ext.toLatin1());
  out.raster = reader.read();
  if (out.raster.isNull()) throw Exception(QStringLiteral("Imagem inválida."));
  out.size = out.raster.size();
  return out;
}

LoadedPicture LoadPictureFile(const QString& fileName, QByteArray* bytesOut) {
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Não foi possível abrir o ficheiro de imagem \"%1\".").arg(fileName));
  const QByteArray bytes = f.readAll();
  LoadedPicture p = DecodePicture(bytes, QFileInfo(fileName).suffix());
  if (bytesOut) *bytesOut = bytes;
  return p;
}
