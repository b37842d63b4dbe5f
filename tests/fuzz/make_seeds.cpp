// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpora of the picture fuzz targets: for each format a
// few small valid files of its common kinds, and damaged copies of them
// (cut short, bytes overwritten, a header claiming an enormous picture).
// The committed files in tests/fuzz/corpus_picture_<format>/ are what this
// wrote; run it again only to change the seeds:
//
//   cmake --build build --target fuzz_make_seeds
//   build/tests/fuzz/fuzz_make_seeds tests/fuzz
//
// Inputs that once broke the loader are added to the same folders by hand
// (named crash-<what>) and are never written here.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace {

QString root;

void Write(const char* format, const QString& name, const QByteArray& bytes) {
  const QString dir = root + QStringLiteral("/corpus_picture_") + QLatin1String(format);
  QDir().mkpath(dir);
  QFile f(dir + QLatin1Char('/') + name);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
    std::exit(1);
  }
}

// A small picture with a few colours, so that every encoder has something
// to do.
QImage Sample(int w, int h, QImage::Format format = QImage::Format_RGB32) {
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(QColor(30, 60, 200));
  QPainter p(&img);
  p.fillRect(0, 0, w / 2, h / 2, QColor(250, 20, 20));
  p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, QColor(20, 220, 40, 128));
  p.end();
  return img.convertToFormat(format);
}

QByteArray QtEncoded(const QImage& img, const char* format,
                     const std::function<void(QImageWriter&)>& options = {}) {
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  QImageWriter w(&buf, format);
  if (options) options(w);
  if (!w.write(img)) {
    std::fprintf(stderr, "Qt cannot write %s: %s\n", format, qPrintable(w.errorString()));
    std::exit(1);
  }
  return bytes;
}

// A JPEG through libjpeg: RGB, grey or CMYK (with or without the Adobe
// marker), baseline or progressive.
QByteArray Jpeg(int w, int h, J_COLOR_SPACE space, bool progressive, bool adobe = true) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  const int comps = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = comps;
  c.in_color_space = space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 75, TRUE);
  if (space == JCS_CMYK) {
    jpeg_set_colorspace(&c, JCS_CMYK);
    c.write_Adobe_marker = adobe ? TRUE : FALSE;
  }
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(size_t(w * comps));
  while (c.next_scanline < c.image_height) {
    for (int x = 0; x < w; ++x)
      for (int k = 0; k < comps; ++k) row[size_t(x * comps + k)] = (unsigned char)((x * 37 + int(c.next_scanline) * 11 + k * 80) & 0xFF);
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
  std::free(out);
  return bytes;
}

// A Windows metafile with a placeable header: a red rectangle over
// 1 x 0.5 inch, and optionally an ellipse and a line of text.
QByteArray Wmf(bool more) {
  QByteArray b;
  auto u16 = [&](unsigned v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF); u16(v >> 16); };
  u32(0x9AC6CDD7u); u16(0); u16(0); u16(0); u16(1000); u16(500); u16(1000); u32(0);
  unsigned sum = 0;
  for (int i = 0; i < 20; i += 2) sum ^= unsigned(uchar(b[i])) | unsigned(uchar(b[i + 1])) << 8;
  u16(sum);
  const int headerAt = b.size();
  u16(1); u16(9); u16(0x0300); u32(0); u16(1); u32(7); u16(0);
  u32(5); u16(0x020B); u16(0); u16(0);                       // window origin
  u32(5); u16(0x020C); u16(500); u16(1000);                  // window extent
  u32(7); u16(0x02FC); u16(0); u32(0x0000FF); u16(0);        // red solid brush
  u32(4); u16(0x012D); u16(0);                               // select it
  u32(7); u16(0x041B); u16(500); u16(1000); u16(0); u16(0);  // rectangle
  if (more) {
    u32(7); u16(0x0418); u16(400); u16(900); u16(100); u16(100);  // ellipse
    u32(8); u16(0x0521); u16(4); b.append("Capa"); u16(250); u16(100);  // text out
  }
  u32(3); u16(0);  // end
  // The header's size of the whole file, in words.
  const unsigned words = unsigned(b.size() - headerAt) / 2;
  qToLittleEndian<quint32>(words, b.data() + headerAt + 6);
  return b;
}

QByteArray Gif1x1() {
  return QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                    ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                    35);
}

// Two frames of 2 x 2 with a graphic control block each, the second with a
// local colour table and interlaced.
QByteArray Gif2Frames() {
  QByteArray b("GIF89a", 6);
  b.append("\x02\x00\x02\x00\x80\x00\x00", 7);                 // screen, global table of 2
  b.append("\x00\x00\x00\xff\xff\xff", 6);
  b.append("\x21\xf9\x04\x04\x0a\x00\x00\x00", 8);             // delay, no transparency
  b.append(",\x00\x00\x00\x00\x02\x00\x02\x00\x00", 10);
  b.append("\x02\x03\x44\x34\x05\x00", 6);                     // pixels
  b.append("\x21\xf9\x04\x05\x0a\x00\x01\x00", 8);             // transparent index 1
  b.append(",\x00\x00\x00\x00\x02\x00\x02\x00\xc0", 10);       // local table, interlaced
  b.append("\xff\x00\x00\x00\x00\xff", 6);
  b.append("\x02\x03\x44\x34\x05\x00", 6);
  b.append(";", 1);
  return b;
}

QByteArray Cut(const QByteArray& b, int num, int den) { return b.left(b.size() * num / den); }

// Overwrites a few bytes at fixed places (no randomness: the same seeds on
// every run).
QByteArray Scribbled(QByteArray b) {
  for (int i = 1; i <= 5; ++i) {
    const int at = int(qint64(b.size()) * i * 7 / 41);
    if (at < b.size()) b[at] = char(uchar(b[at]) ^ 0x5A);
  }
  return b;
}

// A PNG whose header claims w x h, with the header's checksum made right.
QByteArray PngClaiming(QByteArray png, quint32 w, quint32 h) {
  qToBigEndian<quint32>(w, png.data() + 16);
  qToBigEndian<quint32>(h, png.data() + 20);
  quint32 crc = 0xFFFFFFFFu;
  for (int i = 12; i < 29; ++i) {
    crc ^= uchar(png[i]);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  qToBigEndian<quint32>(~crc, png.data() + 29);
  return png;
}

QByteArray JpegClaiming(QByteArray jpeg, quint16 w, quint16 h) {
  for (const char* sof : {"\xFF\xC0", "\xFF\xC2"}) {
    const int at = int(jpeg.indexOf(QByteArray(sof, 2)));
    if (at > 0) {
      qToBigEndian<quint16>(h, jpeg.data() + at + 5);
      qToBigEndian<quint16>(w, jpeg.data() + at + 7);
    }
  }
  return jpeg;
}

void Jpegs() {
  const QByteArray rgb = Jpeg(16, 8, JCS_RGB, false);
  const QByteArray progressive = Jpeg(16, 8, JCS_RGB, true);
  Write("jpg", "rgb.jpg", rgb);
  Write("jpg", "progressive.jpg", progressive);
  Write("jpg", "grey.jpg", Jpeg(8, 8, JCS_GRAYSCALE, false));
  Write("jpg", "cmyk-adobe.jpg", Jpeg(8, 8, JCS_CMYK, false, true));
  Write("jpg", "cmyk-plain.jpg", Jpeg(8, 8, JCS_CMYK, true, false));
  Write("jpg", "damaged-cut-half.jpg", Cut(rgb, 1, 2));
  Write("jpg", "damaged-cut-progressive.jpg", Cut(progressive, 2, 3));
  Write("jpg", "damaged-scribbled.jpg", Scribbled(rgb));
  Write("jpg", "damaged-huge.jpg", JpegClaiming(rgb, 60000, 60000));
  Write("jpg", "damaged-zero-width.jpg", JpegClaiming(rgb, 0, 8));
}

void Pngs() {
  const QByteArray rgb = QtEncoded(Sample(8, 6), "png");
  Write("png", "rgb.png", rgb);
  Write("png", "alpha.png", QtEncoded(Sample(8, 6, QImage::Format_ARGB32), "png"));
  Write("png", "palette.png", QtEncoded(Sample(8, 6).convertToFormat(QImage::Format_Indexed8), "png"));
  Write("png", "grey.png", QtEncoded(Sample(8, 6, QImage::Format_Grayscale8), "png"));
  Write("png", "mono.png", QtEncoded(Sample(9, 3, QImage::Format_Mono), "png"));
  Write("png", "damaged-cut-half.png", Cut(rgb, 1, 2));
  Write("png", "damaged-scribbled.png", Scribbled(rgb));
  Write("png", "damaged-huge.png", PngClaiming(rgb, 60000, 60000));
  Write("png", "damaged-wide.png", PngClaiming(rgb, 0x7FFFFFFF, 1));
}

void Bmps() {
  const QByteArray rgb = QtEncoded(Sample(7, 5, QImage::Format_RGB888), "bmp");
  Write("bmp", "rgb24.bmp", rgb);
  Write("bmp", "argb32.bmp", QtEncoded(Sample(4, 4, QImage::Format_ARGB32), "bmp"));
  Write("bmp", "palette8.bmp", QtEncoded(Sample(5, 3).convertToFormat(QImage::Format_Indexed8), "bmp"));
  Write("bmp", "mono.bmp", QtEncoded(Sample(9, 2, QImage::Format_Mono), "bmp"));
  Write("bmp", "damaged-cut-half.bmp", Cut(rgb, 1, 2));
  Write("bmp", "damaged-scribbled.bmp", Scribbled(rgb));
  QByteArray huge = rgb;  // BITMAPINFOHEADER width and height
  qToLittleEndian<qint32>(60000, huge.data() + 18);
  qToLittleEndian<qint32>(-60000, huge.data() + 22);
  Write("bmp", "damaged-huge.bmp", huge);
  QByteArray depth = rgb;  // a bit count no bitmap has
  qToLittleEndian<quint16>(3, depth.data() + 28);
  Write("bmp", "damaged-depth.bmp", depth);
}

void Icos() {
  const QByteArray ico = QtEncoded(Sample(16, 16, QImage::Format_ARGB32), "ico");
  Write("ico", "argb16.ico", ico);
  Write("ico", "rgb32x32.ico", QtEncoded(Sample(32, 32), "ico"));
  Write("ico", "damaged-cut-half.ico", Cut(ico, 1, 2));
  Write("ico", "damaged-scribbled.ico", Scribbled(ico));
  QByteArray many = ico;  // claims 60000 pictures
  qToLittleEndian<quint16>(60000, many.data() + 4);
  Write("ico", "damaged-count.ico", many);
  QByteArray far = ico;  // the picture's data lies past the end
  qToLittleEndian<quint32>(0x7FFFFFF0u, far.data() + 18);
  Write("ico", "damaged-offset.ico", far);
}

void Gifs() {
  const QByteArray two = Gif2Frames();
  Write("gif", "one-pixel.gif", Gif1x1());
  Write("gif", "two-frames.gif", two);
  Write("gif", "damaged-cut-half.gif", Cut(two, 1, 2));
  Write("gif", "damaged-scribbled.gif", Scribbled(two));
  QByteArray huge = Gif1x1();  // screen and image of 65535 x 65535
  qToLittleEndian<quint16>(0xFFFF, huge.data() + 6);
  qToLittleEndian<quint16>(0xFFFF, huge.data() + 8);
  qToLittleEndian<quint16>(0xFFFF, huge.data() + 24);
  qToLittleEndian<quint16>(0xFFFF, huge.data() + 26);
  Write("gif", "damaged-huge.gif", huge);
  QByteArray code = Gif1x1();  // an LZW code size beyond 12 bits
  code[29] = char(15);
  Write("gif", "damaged-code-size.gif", code);
}

void Wmfs() {
  const QByteArray plain = Wmf(false), more = Wmf(true);
  Write("wmf", "rectangle.wmf", plain);
  Write("wmf", "shapes-and-text.wmf", more);
  Write("wmf", "damaged-cut-third.wmf", Cut(more, 1, 3));
  Write("wmf", "damaged-scribbled.wmf", Scribbled(more));
  QByteArray huge = plain;  // a bounding box of 32767 inches, checksum made right
  qToLittleEndian<quint16>(0x7FFF, huge.data() + 10);
  qToLittleEndian<quint16>(0x7FFF, huge.data() + 12);
  qToLittleEndian<quint16>(1, huge.data() + 14);
  unsigned sum = 0;
  for (int i = 0; i < 20; i += 2) sum ^= unsigned(uchar(huge[i])) | unsigned(uchar(huge[i + 1])) << 8;
  qToLittleEndian<quint16>(quint16(sum), huge.data() + 20);
  Write("wmf", "damaged-huge.wmf", huge);
  QByteArray record = plain;  // the first record claims 2^31 words
  qToLittleEndian<quint32>(0x80000000u, record.data() + 22 + 18);
  Write("wmf", "damaged-record-size.wmf", record);
}

void Svgs() {
  const QByteArray simple =
      "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='30'>"
      "<rect width='40' height='30' fill='#00ff00'/></svg>";
  const QByteArray rich =
      "<?xml version='1.0'?>\n"
      "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
      "width='64' height='48' viewBox='0 0 64 48'>"
      "<defs><linearGradient id='g'><stop offset='0' stop-color='red'/>"
      "<stop offset='1' stop-color='blue'/></linearGradient>"
      "<circle id='c' r='6'/></defs>"
      "<rect width='64' height='48' fill='url(#g)'/>"
      "<use xlink:href='#c' x='10' y='10'/>"
      "<path d='M0 0 L64 48 Q32 0 0 48 Z' stroke='black' fill='none'/>"
      "<text x='4' y='40' font-size='10'>Capa</text>"
      "<g transform='rotate(30)'><ellipse cx='30' cy='20' rx='8' ry='4'/></g></svg>";
  Write("svg", "simple.svg", simple);
  Write("svg", "gradient-use-path-text.svg", rich);
  Write("svg", "damaged-unclosed.svg", Cut(rich, 2, 3));
  Write("svg", "damaged-huge.svg",
        "<svg xmlns='http://www.w3.org/2000/svg' width='9000000' height='9000000'>"
        "<rect width='10' height='10'/></svg>");
  Write("svg", "damaged-self-use.svg",
        "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
        "width='10' height='10'><g id='a'><use xlink:href='#a'/></g></svg>");
  Write("svg", "damaged-entities.svg",
        "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY a 'aaaaaaaaaa'>"
        "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'><!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'>]>"
        "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'><text>&c;</text></svg>");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s tests/fuzz\n", argv[0]);
    return 2;
  }
  root = QString::fromLocal8Bit(argv[1]);
  Jpegs();
  Pngs();
  Bmps();
  Icos();
  Gifs();
  Wmfs();
  Svgs();
  return 0;
}
