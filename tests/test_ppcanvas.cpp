// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas the printer and the preview draw with: faces, shapes with the
// classic pixel rules, text measured and wrapped with the device's
// metrics, turned text, pictures ANDed onto the page and pictures kept at
// their own resolution in a PDF.
#include "platform/Canvas.h"
#include "support/PdfTools.h"
#include "support/QtPrint.h"
#include "support/TestPictures.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPalette>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// A white picture at 96 pixels per inch with a canvas drawing on it.
struct Surface {
  QImage image;
  QPainter painter;
  TCanvas canvas;
  explicit Surface(QSize size = QSize(200, 100), QColor fill = Qt::white)
      : image(size, QImage::Format_RGB32) {
    image.fill(fill);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    painter.begin(&image);
    canvas.Bind(&painter);
  }
  QRgb At(int x, int y) {
    painter.end();
    const QRgb rgb = image.pixel(x, y) & 0xFFFFFF;
    painter.begin(&image);
    return rgb;
  }
};

TFont Font(const QString& name, int points) {
  TFont f;
  f.Name = name;
  f.PixelsPerInch = 96;
  f.SetSize(points);
  f.Color = clBlack;
  return f;
}

// The smallest bitmap-only face: one glyph, 10 pixels high.
QByteArray BitmapFace() {
  QByteArray bdf =
      "STARTFONT 2.1\n"
      "FONT -misc-LurnsBitmap-medium-r-normal--10-100-75-75-c-60-iso10646-1\n"
      "SIZE 10 75 75\n"
      "FONTBOUNDINGBOX 6 10 0 -2\n"
      "STARTPROPERTIES 4\n"
      "FAMILY_NAME \"LurnsBitmap\"\n"
      "FONT_ASCENT 8\n"
      "FONT_DESCENT 2\n"
      "DEFAULT_CHAR 65\n"
      "ENDPROPERTIES\n"
      "CHARS 1\n"
      "STARTCHAR A\n"
      "ENCODING 65\n"
      "SWIDTH 600 0\n"
      "DWIDTH 6 0\n"
      "BBX 6 10 0 -2\n"
      "BITMAP\n";
  for (int i = 0; i < 10; ++i) bdf += "FC\n";
  bdf += "ENDCHAR\nENDFONT\n";
  return bdf;
}

}  // namespace

TEST(Faces, ClassicFacesAreReplacedExactly) {
  const struct {
    const char* face;
    const char* drawn;
  } cases[] = {
      {"Courier", "Courier New"}, {"Fixedsys", "Arial"},      {"Modern", "Arial"},
      {"MS Sans Serif", "Arial"}, {"MS Serif", "Courier New"}, {"Small Fonts", "Arial"},
      {"System", "Arial"},        {"Terminal", "Arial"},      {"ms sans serif", "ms sans serif"},
      {"Times New Roman", "Times New Roman"},
  };
  for (const auto& c : cases) EXPECT_EQ(FaceSubstitute(c.face), QString(c.drawn)) << c.face;
}

TEST(Faces, OnlyOutlineFacesAreDrawnAndNothingIsDropped) {
  // "Arial" is a name the font configuration maps onto an outline face.
  EXPECT_TRUE(IsOutlineFace("Arial"));
  EXPECT_EQ(DrawableFace("Arial"), "Arial");
  // The program's own stand-in for "MS Sans Serif" (Tahoma) is an outline
  // face: it is drawn on paper as it is on the sheet.  A classic face that
  // is not here at all goes to its substitute.
  EXPECT_EQ(DrawableFace("MS Sans Serif"), "MS Sans Serif");
  EXPECT_EQ(DrawableFace("Fixedsys"), "Arial");
  EXPECT_EQ(DrawableFace("DejaVu Sans"), "DejaVu Sans");

  // A face that exists only as a bitmap is drawn in the substitute of
  // "Arial" instead of not at all.
  QTemporaryDir dir;
  QFile f(dir.filePath("bitmap.bdf"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(BitmapFace());
  f.close();
  const int id = QFontDatabase::addApplicationFont(f.fileName());
  ASSERT_GE(id, 0) << "the bitmap test face could not be loaded";
  const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
  ASSERT_FALSE(family.isEmpty());
  EXPECT_FALSE(IsOutlineFace(family));
  EXPECT_EQ(DrawableFace(family), "Arial");
  Surface s;
  s.canvas.SetFont(Font(family, 12));
  s.canvas.TextOut(5, 5, "AAAA");
  s.painter.end();
  bool drawn = false;
  for (int y = 0; y < 40 && !drawn; ++y)
    for (int x = 0; x < 100 && !drawn; ++x) drawn = qGray(s.image.pixel(x, y)) < 128;
  EXPECT_TRUE(drawn);
  QFontDatabase::removeApplicationFont(id);
}

TEST(Faces, SystemColoursComeFromOneFixedPalette) {
  const QPalette before = QApplication::palette();
  QPalette dark = before;
  dark.setColor(QPalette::Text, Qt::white);
  dark.setColor(QPalette::Button, Qt::black);
  QApplication::setPalette(dark);
  EXPECT_EQ(FixedPaletteColor(clWindowText), QColor(0, 0, 0));
  EXPECT_EQ(FixedPaletteColor(clBtnFace), QColor(192, 192, 192));
  EXPECT_EQ(FixedPaletteColor(clWindow), QColor(255, 255, 255));
  EXPECT_EQ(FixedPaletteColor(0x0000FF), QColor(255, 0, 0));
  QApplication::setPalette(before);
}

TEST(CanvasShapes, RectanglesCoverTheirPixelsWithTheOutlineCentredOnThem) {
  Surface s(QSize(40, 40), Qt::red);
  TPen pen;
  pen.Width = 1;
  TBrush brush;  // solid white
  s.canvas.SetPen(pen);
  s.canvas.SetBrush(brush);
  s.canvas.Rectangle(QRect(QPoint(5, 5), QPoint(14, 14)));  // pixels 5..14
  EXPECT_EQ(s.At(5, 5), 0x000000u);
  EXPECT_EQ(s.At(14, 14), 0x000000u);
  EXPECT_EQ(s.At(15, 14), 0xFF0000u);
  EXPECT_EQ(s.At(14, 15), 0xFF0000u);
  EXPECT_EQ(s.At(4, 5), 0xFF0000u);
  EXPECT_EQ(s.At(10, 10), 0xFFFFFFu);

  // A clear brush leaves the inside; a 3-pixel pen straddles the edge.
  brush.Style = bsClear;
  pen.Width = 3;
  s.canvas.SetBrush(brush);
  s.canvas.SetPen(pen);
  s.canvas.Rectangle(QRect(QPoint(20, 20), QPoint(34, 34)));
  EXPECT_EQ(s.At(19, 25), 0x000000u);
  EXPECT_EQ(s.At(21, 25), 0x000000u);
  EXPECT_EQ(s.At(18, 25), 0xFF0000u);
  EXPECT_EQ(s.At(27, 27), 0xFF0000u);

  // Round corners leave the corner pixel; an ellipse stays in its box.
  pen.Width = 1;
  s.canvas.SetPen(pen);
  s.canvas.SetBrush(TBrush());
  Surface e(QSize(40, 40), Qt::red);
  e.canvas.SetPen(pen);
  e.canvas.RoundRect(QRect(0, 0, 20, 20), 10, 10);
  EXPECT_EQ(e.At(0, 0), 0xFF0000u);
  EXPECT_EQ(e.At(10, 0), 0x000000u);
  e.canvas.Ellipse(QRect(20, 20, 20, 20));
  EXPECT_EQ(e.At(20, 20), 0xFF0000u);
  EXPECT_EQ(e.At(30, 30), 0xFFFFFFu);
}

TEST(CanvasText, WrapKeepsLongWordsWholeUnlessCharWrap) {
  Surface s;
  s.canvas.SetFont(Font("DejaVu Sans", 10));
  const int word = s.canvas.TextWidth("abc");
  const struct {
    const char* text;
    int width;
    bool charWrap;
    QStringList lines;
  } cases[] = {
      {"abc abc abc", s.canvas.TextWidth("abc abc"), false, {"abc abc", "abc"}},
      {"abc\r\nabc", 1000, false, {"abc", "abc"}},
      {"abcabcabc x", word * 2, false, {"abcabcabc", "x"}},
      {"abcabcabc", word, true, {"abc", "abc", "abc"}},
      {"a  b", 1000, false, {"a  b"}},
      {"", 100, false, {""}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(s.canvas.WrapText(c.text, c.width, c.charWrap), c.lines) << c.text;
}

TEST(CanvasText, MeasuringCountsLinesAndLeadingWithTheDevicesMetrics) {
  Surface s;
  s.canvas.SetFont(Font("DejaVu Sans", 10));
  const TTextMetric m = s.canvas.TextMetrics();
  ASSERT_GT(m.Height, 0);
  EXPECT_EQ(s.canvas.TextHeight("x"), m.Height);
  QRect r = s.canvas.MeasureText(QRect(3, 4, 0, 0), "ab\ncd", DT_NOPREFIX);
  EXPECT_EQ(r.topLeft(), QPoint(3, 4));
  EXPECT_EQ(r.height(), 2 * m.Height);
  r = s.canvas.MeasureText(QRect(0, 0, 0, 0), "ab\ncd", DT_NOPREFIX | DT_EXTERNALLEADING);
  EXPECT_EQ(r.height(), 2 * (m.Height + m.ExternalLeading));
  EXPECT_EQ(s.canvas.MeasureText(QRect(0, 0, 50, 0), "", DT_WORDBREAK).size(), QSize(0, 0));
  // "&" is literal with DT_NOPREFIX, an accelerator mark otherwise.
  EXPECT_GT(s.canvas.MeasureText(QRect(), "a&b", DT_NOPREFIX).width(),
            s.canvas.MeasureText(QRect(), "a&b", 0).width());

  // The same font on a canvas of 600 pixels per inch measures in those
  // pixels, in proportion (the layout is the same, only scaled).
  TCanvas printer;
  printer.SetResolution(600);
  TFont f = Font("DejaVu Sans", 10);
  f.PixelsPerInch = 600;
  f.SetSize(10);
  printer.SetFont(f);
  // (Widths in whole pixels are rounded up: within a pixel of the
  // screen's.)
  EXPECT_NEAR(printer.TextWidth("Lurns para CD") * 96 / 600.0, s.canvas.TextWidth("Lurns para CD"),
              1.0);
}

TEST(CanvasText, TurnedTextRunsCounterClockwiseFromItsReferencePoint) {
  Surface s(QSize(200, 200));
  s.canvas.SetFont(Font("DejaVu Sans", 20));
  s.canvas.SetBkMode(bkTransparent);
  s.canvas.TurnedTextOut(100, 150, "Lurns", 900);
  s.painter.end();
  int minX = 200, maxX = -1, minY = 200, maxY = -1;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x)
      if (qGray(s.image.pixel(x, y)) < 128) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
  ASSERT_GE(maxX, 0);
  // Turned a quarter left: the text goes up from (100, 150), the top of
  // its characters towards the left, so the reference point is the
  // turned block's bottom left corner.
  EXPECT_LE(maxY, 150);
  EXPECT_LT(minY, 110);
  EXPECT_GE(minX, 99);
  EXPECT_LT(maxX, 100 + s.canvas.TextHeight("Lurns") + 1);
}

TEST(CanvasPictures, AndingLetsWhiteThroughOnEveryDevice) {
  QImage picture(2, 1, QImage::Format_RGB32);
  picture.setPixel(0, 0, qRgb(255, 255, 255));
  picture.setPixel(1, 0, qRgb(0, 0, 0));
  for (const TCopyMode mode : {cmSrcCopy, cmSrcAnd}) {
    Surface s(QSize(20, 10), Qt::red);
    s.canvas.SetCopyMode(mode);
    s.canvas.StretchDraw(QRect(0, 0, 20, 10), picture);
    EXPECT_EQ(s.At(2, 5), mode == cmSrcAnd ? 0xFF0000u : 0xFFFFFFu);
    EXPECT_EQ(s.At(17, 5), 0x000000u);
  }
}

TEST(CanvasPictures, APdfKeepsPicturesAtTheirOwnResolution) {
  JpegSpec jpeg;
  jpeg.width = 300;
  jpeg.height = 200;
  jpeg.pixel = [](int x, int y, unsigned char* px) { px[0] = px[1] = px[2] = (x + y) % 256; };
  TPicture picture;
  picture.LoadFromData(EncodeJpeg(jpeg), "jpg");
  QTemporaryDir dir;
  const QString file = dir.filePath("picture.pdf");
  {
    QPdfWriter writer(file);
    writer.setResolution(1200);
    QPainter painter(&writer);
    TCanvas canvas;
    canvas.Bind(&painter);
    // 100 mm wide at 1200 pixels per inch: 4724 pixels.
    canvas.StretchDraw(QRect(0, 0, 4724, 3150), picture);
  }
  QString why;
  const QList<QSize> images = pdf::Images(file, &why);
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  ASSERT_EQ(images.size(), 1);
  EXPECT_EQ(images[0], QSize(300, 200));
}
