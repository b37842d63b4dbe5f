// SPDX-License-Identifier: GPL-3.0-or-later
// The picture control of the cover sheets and the clickable address
// picture: placement (stretch, centre, tiles), picture changes, the
// opaque/transparent decision, mouse events and opening the address.
#include "components/ProCtrls.h"
#include "components/ProUrl.h"

#include <QApplication>
#include <QBuffer>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// A picture of the given size, filled with fill and with a red pixel at its
// top-left corner, as a bitmap.
TPicture MakePicture(int w, int h, QColor fill = Qt::blue, const char* format = "bmp") {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  img.setPixelColor(0, 0, Qt::red);
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, format);
  TPicture p;
  p.LoadFromData(bytes, QString::fromLatin1(format));
  return p;
}

QImage Render(const TProImage& w, QColor background = Qt::white) {
  QImage img(w.size(), QImage::Format_RGB32);
  img.fill(background);
  QPainter p(&img);
  w.PaintTo(p);
  return img;
}

void SendMouse(QWidget* w, QEvent::Type t, QPoint pos, Qt::MouseButton b, Qt::MouseButtons held) {
  QMouseEvent e(t, QPointF(pos), w->mapToGlobal(QPointF(pos)), b, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

void Click(QWidget* w, QPoint pos) {
  SendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
  SendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

}  // namespace

// Receives the addresses the desktop would open.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  std::vector<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};

TEST(ProImage, Defaults) {
  TProImage img;
  EXPECT_EQ(img.size(), QSize(105, 105));
  EXPECT_TRUE(img.Picture().Empty());
  EXPECT_FALSE(img.AutoSize());
  EXPECT_FALSE(img.Stretch());
  EXPECT_FALSE(img.Center());
  EXPECT_FALSE(img.Tiled());
  EXPECT_FALSE(img.Transparent());
  EXPECT_FALSE(img.IncrementalDisplay());
  EXPECT_FALSE(img.Opaque());
}

TEST(ProImage, DestinationRectangle) {
  struct Case {
    bool stretch, center;
    QRect expected;
  };
  const Case cases[] = {
      {true, true, QRect(0, 0, 105, 105)},     // Stretch wins over Center
      {true, false, QRect(0, 0, 105, 105)},
      {false, true, QRect(-47, 2, 200, 100)},  // larger than the control: negative, truncated
      {false, false, QRect(0, 0, 200, 100)},
  };
  for (const Case& c : cases) {
    TProImage img;
    img.SetPicture(MakePicture(200, 100));
    img.SetStretch(c.stretch);
    img.SetCenter(c.center);
    EXPECT_EQ(img.DestRect(), c.expected) << c.stretch << c.center;
  }

  // Centred and drawn at its natural size, clipped by the control.
  TProImage img;
  img.SetPicture(MakePicture(200, 100));
  img.SetCenter(true);
  const QImage out = Render(img);
  EXPECT_EQ(out.pixelColor(0, 2), QColor(Qt::blue));
  EXPECT_EQ(out.pixelColor(0, 1), QColor(Qt::white));   // above the picture
  EXPECT_EQ(out.pixelColor(0, 102), QColor(Qt::white));  // below it
}

TEST(ProImage, TilesColumnsThenRowsOverTheWholeControl) {
  TProImage img;
  img.resize(100, 70);
  img.SetPicture(MakePicture(40, 30));
  img.SetStretch(true);  // ignored while tiled
  img.SetCenter(true);
  img.SetTiled(true);
  const QImage out = Render(img);
  std::vector<QPoint> reds;
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x)
      if (out.pixelColor(x, y) == QColor(Qt::red)) reds.push_back({x, y});
  const std::vector<QPoint> expected = {{0, 0},  {40, 0},  {80, 0},  {0, 30}, {40, 30},
                                        {80, 30}, {0, 60}, {40, 60}, {80, 60}};
  std::sort(reds.begin(), reds.end(), [](QPoint a, QPoint b) {
    return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x());
  });
  EXPECT_EQ(reds, expected);
  EXPECT_EQ(out.pixelColor(99, 69), QColor(Qt::blue));  // last row and column clipped

  TProImage empty;
  empty.SetTiled(true);
  EXPECT_EQ(Render(empty, Qt::green), [] {
    QImage i(105, 105, QImage::Format_RGB32);
    i.fill(Qt::green);
    return i;
  }());
}

TEST(ProImage, EmptyControlDrawsNothingButTakesClicksEverywhere) {
  QWidget parent;
  parent.resize(200, 200);
  auto* img = new TProImage(&parent);
  img->move(10, 10);
  int clicks = 0;
  img->OnClick = [&](QObject* s) {
    EXPECT_EQ(s, img);
    ++clicks;
  };
  const QImage out = Render(*img, Qt::green);
  for (QPoint p : {QPoint(0, 0), QPoint(52, 52), QPoint(104, 104)})
    EXPECT_EQ(out.pixelColor(p), QColor(Qt::green));
  EXPECT_FALSE(img->testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_EQ(parent.childAt(110, 110), img);
  Click(img, {104, 104});
  Click(img, {0, 0});
  EXPECT_EQ(clicks, 2);
}

TEST(ProImage, WithoutAPictureAPlaceholderShowsAFrameAndItsText) {
  TProImage img;
  img.resize(120, 60);
  img.SetPlaceholder("capa.svg");
  const QImage out = Render(img, Qt::white);
  // The frame runs round the edge; the text is drawn inside.
  int escuros = 0;
  for (int x = 0; x < 120; ++x) escuros += qGray(out.pixel(x, 0)) < 200;
  EXPECT_GT(escuros, 30);
  int dentro = 0;
  for (int y = 5; y < 55; ++y)
    for (int x = 5; x < 115; ++x) dentro += qGray(out.pixel(x, y)) < 200;
  EXPECT_GT(dentro, 10);
  // A picture takes its place; no placeholder, nothing drawn.
  img.SetPicture(MakePicture(4, 4, Qt::blue));
  img.SetStretch(true);
  EXPECT_EQ(Render(img).pixelColor(60, 30), QColor(Qt::blue));
  img.SetPicture(TPicture());
  img.SetPlaceholder(QString());
  EXPECT_EQ(Render(img, Qt::green).pixelColor(0, 0), QColor(Qt::green));
}

TEST(ProImage, AutoSizeFollowsThePicture) {
  TProImage img;
  img.move(7, 9);
  img.SetAutoSize(true);
  EXPECT_EQ(img.geometry(), QRect(7, 9, 105, 105));  // empty: bounds stay
  img.SetPicture(MakePicture(32, 32));
  EXPECT_EQ(img.geometry(), QRect(7, 9, 32, 32));
}

TEST(ProImage, OpaqueOnlyWhenThePictureCoversTheControl) {
  struct Case {
    QSize picture;
    bool stretch, transparent;
    const char* format;
    bool opaque;
  };
  const Case cases[] = {
      {{40, 40}, true, false, "bmp", true},     // stretched over everything
      {{105, 105}, false, false, "bmp", true},  // as large as the control
      {{200, 200}, false, false, "bmp", true},
      {{40, 40}, false, false, "bmp", false},   // leaves part uncovered
      {{40, 40}, true, true, "bmp", false},     // drawn transparent
      {{40, 40}, true, false, "ico", false},    // icons are transparent
  };
  for (const Case& c : cases) {
    TProImage img;
    img.SetStretch(c.stretch);
    img.SetTransparent(c.transparent);
    img.SetPicture(MakePicture(c.picture.width(), c.picture.height(), Qt::blue, c.format));
    EXPECT_EQ(img.Opaque(), c.opaque) << c.picture.width() << c.stretch << c.transparent << c.format;
    EXPECT_EQ(img.GraphicTransparent(), c.transparent);
  }
  TProImage img;
  img.SetStretch(true);
  img.SetPicture(MakePicture(10, 10));
  ASSERT_TRUE(img.Opaque());
  img.ClearPicture();
  EXPECT_FALSE(img.Opaque());
}

TEST(ProImage, TransparentBitmapLeavesOutItsBottomLeftColour) {
  TProImage img;
  img.resize(40, 40);
  img.SetPicture(MakePicture(40, 40, Qt::blue));  // bottom-left is blue
  EXPECT_EQ(Render(img, Qt::green).pixelColor(20, 20), QColor(Qt::blue));
  img.SetTransparent(true);
  EXPECT_TRUE(img.GraphicTransparent());
  EXPECT_FALSE(img.Opaque());
  const QImage out = Render(img, Qt::green);
  EXPECT_EQ(out.pixelColor(20, 20), QColor(Qt::green));
  EXPECT_EQ(out.pixelColor(0, 0), QColor(Qt::red));
}

TEST(ProImage, LoadPictureKeepsTheOldPictureOnFailure) {
  QTemporaryDir dir;
  const QString good = dir.filePath("boa.png"), bad = dir.filePath("ma.png");
  QImage px(12, 8, QImage::Format_RGB32);
  px.fill(Qt::yellow);
  ASSERT_TRUE(px.save(good));
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a picture");
  f.close();

  TProImage img;
  img.LoadPicture(good);
  EXPECT_EQ(QSize(img.Picture().Width(), img.Picture().Height()), QSize(12, 8));
  EXPECT_THROW(img.LoadPicture(bad), Exception);
  EXPECT_EQ(img.Picture().Width(), 12);
  EXPECT_EQ(Render(img).pixelColor(3, 3), QColor(Qt::yellow));
}

TEST(ProImage, HintIsATooltipOnlyWithShowHint) {
  TProImage img;
  img.SetHint("/tmp/capa.jpg");
  EXPECT_EQ(img.Hint(), "/tmp/capa.jpg");
  EXPECT_TRUE(img.toolTip().isEmpty());
  img.SetShowHint(true);
  EXPECT_EQ(img.toolTip(), "/tmp/capa.jpg");
}

TEST(ProImage, MouseEventsInThePlatformOrder) {
  TProImage img;
  std::vector<std::string> log;
  img.OnMouseEnter = [&](QObject*) { log.push_back("enter"); };
  img.OnMouseLeave = [&](QObject*) { log.push_back("leave"); };
  img.OnMouseDown = [&](QObject*, TMouseButton b, TShiftState s, int x, int y) {
    log.push_back("down " + std::to_string(b) + " " + std::to_string(s) + " " +
                  std::to_string(x) + "," + std::to_string(y));
  };
  img.OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int, int) { log.push_back("up"); };
  img.OnMouseMove = [&](QObject*, TShiftState, int x, int y) {
    log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  };
  img.OnClick = [&](QObject*) { log.push_back("click"); };
  img.OnDblClick = [&](QObject*) { log.push_back("dblclick"); };

  QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
  QCoreApplication::sendEvent(&img, &enter);
  SendMouse(&img, QEvent::MouseMove, {3, 4}, Qt::NoButton, Qt::NoButton);
  Click(&img, {5, 6});
  SendMouse(&img, QEvent::MouseButtonDblClick, {5, 6}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(&img, QEvent::MouseButtonPress, {1, 1}, Qt::RightButton, Qt::RightButton);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&img, &leave);

  const std::vector<std::string> expected = {
      "enter",
      "move 3,4",
      "down 0 " + std::to_string(ssLeft) + " 5,6",
      "click",
      "up",
      "dblclick",
      "down 0 " + std::to_string(ssLeft | ssDouble) + " 5,6",
      "down 1 " + std::to_string(ssRight) + " 1,1",
      "leave",
  };
  EXPECT_EQ(log, expected);
}

TEST(ProUrlImage, PointingHandAndOpeningTheAddress) {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("https", &catcher, "open");

  TProUrlImage url;
  EXPECT_EQ(url.Cursor(), 15000);
  ASSERT_TRUE(IsCursorRegistered(15000));
  EXPECT_FALSE(CursorFor(15000).pixmap().isNull());
  EXPECT_EQ(url.cursor().pixmap().toImage(), CursorFor(15000).pixmap().toImage());
  for (int id = 15000; id <= 15004; ++id) EXPECT_TRUE(IsCursorRegistered(id)) << id;

  int clicks = 0;
  url.OnClick = [&](QObject*) { ++clicks; };
  Click(&url, {4, 4});  // no address: the click is reported, nothing opens
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(catcher.opened.empty());

  url.SetURL("https://example.org/lurns");
  Click(&url, {4, 4});
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(catcher.opened.size(), 1u);
  EXPECT_EQ(catcher.opened[0], QUrl("https://example.org/lurns"));
  QDesktopServices::unsetUrlHandler("https");
}

TEST(Cursors, StandardNumbersMapToQtShapes) {
  const std::pair<TCursor, Qt::CursorShape> cases[] = {
      {crDefault, Qt::ArrowCursor},      {crArrow, Qt::ArrowCursor},
      {crNone, Qt::BlankCursor},         {crCross, Qt::CrossCursor},
      {crIBeam, Qt::IBeamCursor},        {crSizeNESW, Qt::SizeBDiagCursor},
      {crSizeNS, Qt::SizeVerCursor},     {crSizeNWSE, Qt::SizeFDiagCursor},
      {crSizeWE, Qt::SizeHorCursor},     {crUpArrow, Qt::UpArrowCursor},
      {crHourGlass, Qt::WaitCursor},     {crNoDrop, Qt::ForbiddenCursor},
      {crHSplit, Qt::SplitHCursor},      {crVSplit, Qt::SplitVCursor},
      {crNo, Qt::ForbiddenCursor},       {crAppStart, Qt::BusyCursor},
      {crHelp, Qt::WhatsThisCursor},     {crHandPoint, Qt::PointingHandCursor},
      {crSizeAll, Qt::SizeAllCursor},    {12345, Qt::ArrowCursor},
  };
  for (const auto& [id, shape] : cases) EXPECT_EQ(CursorFor(id).shape(), shape) << id;
}

#include "test_proimage.moc"
