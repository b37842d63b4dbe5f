// SPDX-License-Identifier: GPL-3.0-or-later
// Picture loading by extension: JPEG through libjpeg (colour spaces,
// progressive), the Qt formats, drawings and metafiles, and a corpus of
// damaged or hostile files that must end in one clear message, never in a
// crash or a huge allocation.  Every file is made here at test time.
#include "platform/PictureLoader.h"
#include "platform/Graphics.h"
#include "platform/Types.h"
#include "support/TestPictures.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

// Left half one colour, right half another (as RGB samples).
JpegSpec TwoColourRgb(bool progressive) {
  JpegSpec s;
  s.width = 32;
  s.progressive = progressive;
  s.pixel = [](int x, int, unsigned char* p) {
    p[0] = x < 16 ? 255 : 0;
    p[1] = x < 16 ? 0 : 200;
    p[2] = 0;
  };
  return s;
}

bool Near(QColor a, QColor b, int tol = 6) {
  return std::abs(a.red() - b.red()) <= tol && std::abs(a.green() - b.green()) <= tol &&
         std::abs(a.blue() - b.blue()) <= tol;
}

class PictureLoader : public ::testing::Test {
 protected:
  QTemporaryDir dir;

  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }

  // The message of the Exception loading the file throws ("" if none).
  static QString LoadError(const QString& path) {
    try {
      LoadPictureFile(path);
    } catch (const Exception& e) {
      return e.Message;
    }
    return QString();
  }
};

QByteArray QtEncoded(const QImage& img, const char* format) {
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  QImageWriter w(&buf, format);
  EXPECT_TRUE(w.write(img)) << format;
  return bytes;
}

// A hand-made Windows metafile: a red rectangle over 1 x 0.5 inch.
QByteArray MakeWmf() {
  QByteArray b;
  auto u16 = [&](unsigned v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF); u16(v >> 16); };
  // Placeable header, with its checksum over the first ten words.
  u32(0x9AC6CDD7u); u16(0); u16(0); u16(0); u16(1000); u16(500); u16(1000); u32(0);
  unsigned sum = 0;
  for (int i = 0; i < 20; i += 2) sum ^= unsigned(uchar(b[i])) | unsigned(uchar(b[i + 1])) << 8;
  u16(sum);
  const int recordsWords = 5 + 5 + 7 + 4 + 7 + 3;
  u16(1); u16(9); u16(0x0300); u32(9 + recordsWords); u16(1); u32(7); u16(0);
  u32(5); u16(0x020B); u16(0); u16(0);          // window origin
  u32(5); u16(0x020C); u16(500); u16(1000);     // window extent
  u32(7); u16(0x02FC); u16(0); u32(0x0000FF); u16(0);  // red solid brush
  u32(4); u16(0x012D); u16(0);                  // select it
  u32(7); u16(0x041B); u16(500); u16(1000); u16(0); u16(0);  // rectangle
  u32(3); u16(0);                               // end
  return b;
}

// A hand-made enhanced metafile: a red rectangle 100 x 50 device pixels.
QByteArray MakeEmf() {
  QByteArray b;
  auto u32 = [&](quint32 v) {
    for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
  };
  const quint32 total = 88 + 24 + 12 + 24 + 20;
  u32(1); u32(88);                      // EMR_HEADER
  u32(0); u32(0); u32(99); u32(49);     // bounds
  u32(0); u32(0); u32(2646); u32(1323); // frame, 0.01 mm
  u32(0x464D4520); u32(0x10000); u32(total); u32(5);
  u32(2);                               // handles (u16) + reserved (u16)
  u32(0); u32(0); u32(0);               // description, palette
  u32(1024); u32(768); u32(271); u32(203);  // device in pixels and millimetres
  u32(39); u32(24); u32(1); u32(0); u32(0x0000FF); u32(0);  // red brush
  u32(37); u32(12); u32(1);                                  // select it
  u32(43); u32(24); u32(0); u32(0); u32(99); u32(49);        // rectangle
  u32(14); u32(20); u32(0); u32(16); u32(20);                // end
  return b;
}

}  // namespace

TEST_F(PictureLoader, JpegColourSpacesAndProgressive) {
  struct Case {
    const char* name;
    JpegSpec pedido;
    QImage::Format format;
    QColor left, right;
  };
  JpegSpec grey;
  grey.space = JCS_GRAYSCALE;
  grey.width = 32;
  grey.pixel = [](int x, int, unsigned char* p) { p[0] = x < 16 ? 40 : 220; };
  // Plain CMYK stores ink amounts; Adobe's files store them inverted.
  JpegSpec cmyk;
  cmyk.space = JCS_CMYK;
  cmyk.width = 32;
  cmyk.adobeMarker = false;
  cmyk.pixel = [](int x, int, unsigned char* p) {
    const bool red = x < 16;  // red: magenta + yellow; blue: cyan + magenta
    p[0] = red ? 0 : 255;
    p[1] = 255;
    p[2] = red ? 255 : 0;
    p[3] = 0;
  };
  JpegSpec adobe = cmyk;
  adobe.adobeMarker = true;
  adobe.pixel = [](int x, int, unsigned char* p) {
    const bool red = x < 16;
    p[0] = red ? 255 : 0;
    p[1] = 0;
    p[2] = red ? 0 : 255;
    p[3] = 255;
  };
  const Case cases[] = {
      {"rgb", TwoColourRgb(false), QImage::Format_RGB888, QColor(255, 0, 0), QColor(0, 200, 0)},
      {"progressive", TwoColourRgb(true), QImage::Format_RGB888, QColor(255, 0, 0),
       QColor(0, 200, 0)},
      {"grey", grey, QImage::Format_Grayscale8, QColor(40, 40, 40), QColor(220, 220, 220)},
      {"cmyk", cmyk, QImage::Format_RGB32, QColor(255, 0, 0), QColor(0, 0, 255)},
      {"adobe-cmyk", adobe, QImage::Format_RGB32, QColor(255, 0, 0), QColor(0, 0, 255)},
  };
  for (const Case& c : cases) {
    const QString path = Write(QString("%1.JPG").arg(c.name), EncodeJpeg(c.pedido));
    const LoadedPicture p = LoadPictureFile(path);
    EXPECT_EQ(p.format, "jpg") << c.name;
    EXPECT_EQ(p.size, QSize(32, 16)) << c.name;
    EXPECT_EQ(p.raster.format(), c.format) << c.name;
    EXPECT_TRUE(Near(p.raster.pixelColor(4, 8), c.left)) << c.name << " "
                                                          << p.raster.pixelColor(4, 8).name().toStdString();
    EXPECT_TRUE(Near(p.raster.pixelColor(27, 8), c.right)) << c.name << " "
                                                           << p.raster.pixelColor(27, 8).name().toStdString();
  }
}

TEST_F(PictureLoader, QtFormatsAndDrawings) {
  QImage img(20, 10, QImage::Format_RGB32);
  img.fill(QColor(0, 0, 255));
  img.setPixelColor(0, 0, QColor(255, 0, 0));
  for (const char* fmt : {"bmp", "png", "ico"}) {
    const QString path = Write(QString("pic.%1").arg(fmt), QtEncoded(img, fmt));
    const LoadedPicture p = LoadPictureFile(path);
    EXPECT_EQ(p.size, QSize(20, 10)) << fmt;
    EXPECT_EQ(p.raster.pixelColor(0, 0).rgb(), QColor(255, 0, 0).rgb()) << fmt;
    EXPECT_EQ(p.raster.pixelColor(10, 5).rgb(), QColor(0, 0, 255).rgb()) << fmt;
  }
  // Qt writes no GIF: a one-pixel red GIF, byte by byte (LZW code size 2).
  const QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                       ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                       35);
  const LoadedPicture g = LoadPictureFile(Write("pic.gif", gif));
  EXPECT_EQ(g.size, QSize(1, 1));
  EXPECT_EQ(g.raster.pixelColor(0, 0).rgb(), QColor(255, 0, 0).rgb());

  const QByteArray svg =
      "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='30'>"
      "<rect width='40' height='30' fill='#00ff00'/></svg>";
  const LoadedPicture s = LoadPictureFile(Write("desenho.svg", svg));
  ASSERT_TRUE(s.vector);
  EXPECT_EQ(s.size, QSize(40, 30));

  // Through TPicture, as the controls use it.
  TPicture pic;
  pic.LoadFromFile(Write("x.png", QtEncoded(img, "png")));
  EXPECT_EQ(pic.Width(), 20);
  EXPECT_EQ(pic.Format(), "png");
}

TEST_F(PictureLoader, Metafiles) {
  const MetafileSupport m = SupportedMetafiles();
  const std::pair<const char*, QByteArray> files[] = {{"wmf", MakeWmf()}, {"emf", MakeEmf()}};
  for (const auto& [ext, bytes] : files) {
    const QString path = Write(QString("meta.%1").arg(ext), bytes);
    const bool supported = QString(ext) == "wmf" ? m.wmf : m.emf;
    if (!supported) {
      EXPECT_EQ(LoadError(path), QString("Este programa não lê imagens no formato .%1.").arg(ext));
      continue;
    }
    const LoadedPicture p = LoadPictureFile(path);
    ASSERT_TRUE(p.vector) << ext;
    EXPECT_NEAR(p.size.width(), 100, 6) << ext;
    EXPECT_NEAR(p.size.height(), 50, 6) << ext;
    QImage out(p.size, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    p.vector->render(&painter);
    painter.end();
    EXPECT_TRUE(Near(out.pixelColor(p.size.width() / 2, p.size.height() / 2), Qt::red))
        << ext << " " << out.pixelColor(p.size.width() / 2, p.size.height() / 2).name().toStdString();

    // Damaged metafiles end in the same clear message.
    const QString cut = Write(QString("cut.%1").arg(ext), bytes.left(bytes.size() / 3));
    EXPECT_TRUE(LoadError(cut).startsWith("Não foi possível ler a imagem")) << ext;
  }
}

TEST_F(PictureLoader, BadInputsEndInOneClearMessage) {
  const QByteArray jpeg = EncodeJpeg(TwoColourRgb(false));

  // A header that claims 60000 x 60000 pixels: refused before allocating.
  QByteArray huge = jpeg;
  const int sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
  ASSERT_GT(sof, 0);
  qToBigEndian<quint16>(60000, huge.data() + sof + 5);
  qToBigEndian<quint16>(60000, huge.data() + sof + 7);

  // The same for a PNG, with the header's checksum made right.
  QImage small(4, 4, QImage::Format_RGB32);
  small.fill(Qt::black);
  QByteArray png = QtEncoded(small, "png");
  qToBigEndian<quint32>(60000, png.data() + 16);
  qToBigEndian<quint32>(60000, png.data() + 20);
  {
    quint32 crc = 0xFFFFFFFFu;
    for (int i = 12; i < 29; ++i) {
      crc ^= uchar(png[i]);
      for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    qToBigEndian<quint32>(~crc, png.data() + 29);
  }

  struct Case {
    const char* name;
    QByteArray bytes;
    const char* expectedStart;
  };
  const Case cases[] = {
      {"cortada.jpg", jpeg.left(jpeg.size() / 2), "Não foi possível ler a imagem \""},
      {"so-cabecalho.jpg", jpeg.left(20), "Não foi possível ler a imagem \""},
      {"enorme.jpg", huge, "A imagem \""},
      {"enorme.png", png, "A imagem \""},
      {"lixo.bmp", QByteArray(300, 'x'), "Não foi possível ler a imagem \""},
      {"png-disfarcado.bmp", QtEncoded(small, "png"), "Não foi possível ler a imagem \""},
      {"vazia.jpg", QByteArray(), "Não foi possível ler a imagem \""},
      {"vazia.png", QByteArray(), "Não foi possível ler a imagem \""},
      {"vazia.svg", QByteArray(), "Não foi possível ler a imagem \""},
      {"lixo.gif", QByteArray("GIF89a\x01"), "Não foi possível ler a imagem \""},
      {"imagem.xyz", jpeg, "Formato de imagem desconhecido (.xyz)."},
      {"semextensao", jpeg, "Formato de imagem desconhecido"},
  };
  for (const Case& c : cases) {
    const QString path = Write(c.name, c.bytes);
    const QString msg = LoadError(path);
    EXPECT_TRUE(msg.startsWith(QString::fromUtf8(c.expectedStart)))
        << c.name << ": " << msg.toStdString();
    if (QString(c.expectedStart).endsWith('"')) {
      EXPECT_TRUE(msg.contains(path)) << c.name;
    }
  }
  EXPECT_EQ(LoadError(dir.filePath("enorme.jpg")),
            QString("A imagem \"%1\" é demasiado grande (60000 × 60000 pontos).")
                .arg(dir.filePath("enorme.jpg")));
  EXPECT_EQ(LoadError(dir.filePath("nao-existe.png")),
            QString("Não foi possível abrir o ficheiro de imagem \"%1\".")
                .arg(dir.filePath("nao-existe.png")));

  // A failed load leaves a picture as it was.
  TPicture pic;
  pic.LoadFromFile(Write("boa.jpg", jpeg));
  EXPECT_THROW(pic.LoadFromFile(dir.filePath("cortada.jpg")), Exception);
  EXPECT_EQ(pic.Width(), 32);
}

// Damaged copies of good files (bytes overwritten, files cut short) either
// decode or end in the loader's Exception; nothing else may happen.
TEST_F(PictureLoader, DamagedFilesNeverEscapeTheLoader) {
  const std::pair<const char*, QByteArray> files[] = {
      {"jpg", EncodeJpeg(TwoColourRgb(true))}, {"wmf", MakeWmf()}, {"emf", MakeEmf()}};
  unsigned seed = 12345;  // fixed: the same damage on every run
  auto rnd = [&] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  for (const auto& [ext, bytes] : files) {
    for (int i = 0; i < 300; ++i) {
      QByteArray b = bytes;
      for (int k = 1 + int(rnd() % 6); k > 0; --k) {
        const int pos = int(rnd() % unsigned(b.size()));
        const unsigned kind = rnd() % 3;
        b[pos] = kind == 0 ? char(rnd()) : kind == 1 ? char(0xFF) : char(0);
      }
      if (rnd() % 5 == 0) b.truncate(int(rnd() % unsigned(b.size())));
      try {
        DecodePicture(b, ext);
      } catch (const Exception& e) {
        EXPECT_FALSE(e.Message.isEmpty());
      }
    }
  }
}
