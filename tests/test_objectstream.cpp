// The serialized cover object that Copiar and Colar pass through the
// clipboard: text and picture objects come back with every stored property,
// defaults and names and handlers stay out, and every malformed stream is
// refused without leaving an object behind.
#include "components/ObjectStream.h"
#include "components/ProCtrls.h"
#include "platform/PictureLoader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMetaProperty>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Building streams by hand, independently of the writer.

struct Bytes {
  QByteArray b;
  Bytes& U8(int v) { b.append(char(v & 0xFF)); return *this; }
  Bytes& U16(int v) { return U8(v).U8(v >> 8); }
  Bytes& U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(int(v >> (8 * i)));
    return *this;
  }
  Bytes& Raw(const QByteArray& r) { b.append(r); return *this; }
  Bytes& Short(const QByteArray& r) { return U8(int(r.size())).Raw(r); }
};

QByteArray Prop(const QByteArray& name, int kind, const QByteArray& payload) {
  return Bytes().Short(name).U8(kind).U32(std::uint32_t(payload.size())).Raw(payload).b;
}
QByteArray BoolProp(const QByteArray& name, int v) { return Prop(name, 1, Bytes().U8(v).b); }
QByteArray IntProp(const QByteArray& name, std::int32_t v) {
  return Prop(name, 2, Bytes().U32(std::uint32_t(v)).b);
}
QByteArray RectProp(int x, int y, int w, int h) {
  return Prop("Bounds", 5,
              Bytes().U32(std::uint32_t(x)).U32(std::uint32_t(y)).U32(std::uint32_t(w)).U32(
                  std::uint32_t(h)).b);
}

QByteArray Stream(const QByteArray& className, const std::vector<QByteArray>& props,
                  int version = 1) {
  Bytes body;
  body.Short(className).U16(int(props.size()));
  for (const QByteArray& p : props) body.Raw(p);
  return Bytes()
      .Raw("LurnsObj")
      .U16(version)
      .U32(std::uint32_t(body.b.size()))
      .Raw(body.b)
      .b;
}

// A stream with its header's body length set to what follows it, so that a
// cut reaches the field parser instead of stopping at the header.
QByteArray WithBodyLength(QByteArray s) {
  const std::uint32_t n = std::uint32_t(s.size() - 14);
  for (int i = 0; i < 4; ++i) s[10 + i] = char(n >> (8 * i));
  return s;
}

QByteArray PictureBytes(int w, int h, const char* format) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(QColor(20, 120, 220));
  img.setPixelColor(0, 0, Qt::red);
  img.setPixelColor(w - 1, h - 1, Qt::yellow);
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, format);
  return bytes;
}

QByteArray PictureProp(const QByteArray& format, const QByteArray& data) {
  return Prop("Picture", 7, Bytes().Short(format).U32(std::uint32_t(data.size())).Raw(data).b);
}

// ---------------------------------------------------------------------------
// Comparing every stored property, found through the meta-object rather
// than through the stream's own table, so that a property added to a class
// and forgotten by the stream shows up here.

void ExpectSameStoredProperties(const QWidget* a, const QWidget* b) {
  ASSERT_STREQ(a->metaObject()->className(), b->metaObject()->className());
  const QMetaObject* mo = a->metaObject();
  for (int i = QWidget::staticMetaObject.propertyCount(); i < mo->propertyCount(); ++i) {
    const QMetaProperty p = mo->property(i);
    if (!p.isStored()) continue;
    EXPECT_EQ(p.read(a), p.read(b)) << "property " << p.name();
  }
  EXPECT_EQ(a->geometry(), b->geometry());
  EXPECT_EQ(a->isEnabledTo(a->parentWidget()), b->isEnabledTo(b->parentWidget()));
  EXPECT_EQ(a->isHidden(), b->isHidden());
  if (auto* la = qobject_cast<const TProCustomLabel*>(a)) {
    auto* lb = qobject_cast<const TProCustomLabel*>(b);
    const TFont& fa = la->Font();
    const TFont& fb = lb->Font();
    EXPECT_EQ(fa.Name, fb.Name);
    EXPECT_EQ(fa.Charset, fb.Charset);
    EXPECT_EQ(fa.Color, fb.Color);
    EXPECT_EQ(fa.Style, fb.Style);
    EXPECT_EQ(fa.Height, fb.Height);
    EXPECT_EQ(fa.PixelsPerInch, fb.PixelsPerInch);
  }
  if (auto* ia = qobject_cast<const TProImage*>(a)) {
    auto* ib = qobject_cast<const TProImage*>(b);
    EXPECT_EQ(ia->Picture().Format(), ib->Picture().Format());
    EXPECT_EQ(ia->Picture().Data(), ib->Picture().Data());
    EXPECT_EQ(ia->Picture().Width(), ib->Picture().Width());
    EXPECT_EQ(ia->Picture().Height(), ib->Picture().Height());
  }
}

// Two sheets shown offscreen: objects are copied from one and pasted on
// the other.
struct Sheets {
  QWidget from, to;
  Sheets() {
    from.resize(458, 455);
    to.resize(572, 447);
    from.show();
    to.show();
  }
  int Pasted() const { return int(to.children().size()); }
};

QWidget* Paste(Sheets& s, const QByteArray& stream) {
  QString error;
  QWidget* w = ReadObject(stream, &s.to, &error);
  EXPECT_TRUE(w) << error.toStdString();
  EXPECT_TRUE(error.isEmpty());
  return w;
}

// The editor's handlers, which must not travel.
void GiveHandlers(TControlMouseEvents& ev) {
  ev.OnMouseDown = [](QObject*, TMouseButton, TShiftState, int, int) {};
  ev.OnMouseMove = [](QObject*, TShiftState, int, int) {};
  ev.OnClick = [](QObject*) {};
}

void ExpectNoHandlers(const TControlMouseEvents& ev) {
  EXPECT_FALSE(ev.OnMouseDown);
  EXPECT_FALSE(ev.OnMouseMove);
  EXPECT_FALSE(ev.OnClick);
}

TFont Font(const char* name, int points, TColor color, TFontStyles style, std::uint8_t charset) {
  TFont f;
  f.Name = QString::fromUtf8(name);
  f.PixelsPerInch = 96;
  f.SetSize(points);
  f.Color = color;
  f.Style = style;
  f.Charset = charset;
  return f;
}

}  // namespace

// ---------------------------------------------------------------------------

TEST(ObjectStream, TextObjectsComeBackWithEveryStoredProperty) {
  struct Case {
    const char* what;
    std::function<void(TProLabel&)> setUp;
  };
  const std::vector<Case> cases = {
      {"turned, font, alignment, custom shadow",
       [](TProLabel& l) {
         l.SetCaption(QString::fromUtf8("Lado A — Canção n.º 1\nfaixa & letra"));
         l.SetFont(Font("Liberation Serif", 14, 0x3366CC, fsBold | fsItalic | fsUnderline, 238));
         l.SetAngle(90);
         l.setGeometry(37, 120, 24, 180);
         l.SetAlignment(taCenter);
         l.SetVerticalAlignment(vaBottom);
         l.SetShadowStyle(ssRaisedShadow);
         l.SetShadowColor(clRed);  // leaves the preset: ssCustom
         l.SetHighlightDepth(-2);
         l.SetTransparent(true);
         l.SetColor(0x00FFEE);
         l.SetWordWrap(true);
         l.SetShowAccelChar(false);
         l.SetOffsetX(-3);
         l.SetOffsetY(4);
         l.SetHint(QStringLiteral("dica"));
         l.SetShowHint(true);
       }},
      {"preset shadow with the button-face colour", [](TProLabel& l) {
         l.SetCaption(QStringLiteral("Relevo"));
         l.SetShadowStyle(ssRaisedColor);
         l.move(5, 6);
       }},
      {"preset shadow, then the font colour put back",
       [](TProLabel& l) {
         l.SetShadowStyle(ssRecessedColor);
         TFont f = l.Font();
         f.Color = clWindowText;
         l.SetFont(f);
         l.SetParentFont(true);
       }},
      {"turned, then AutoSize switched on again",
       [](TProLabel& l) {
         l.SetCaption(QStringLiteral("Lombada"));
         l.SetAngle(270);
         l.SetAutoSize(true);
         l.setGeometry(1, 2, 30, 200);
       }},
      {"positive offset, disabled and hidden",
       [](TProLabel& l) {
         l.SetOffsetX(7);
         l.setEnabled(false);
         l.hide();
         l.SetLayout(tlCenter);
       }},
      {"off the sheet and resized while AutoSize is on",
       [](TProLabel& l) {
         l.SetCaption(QStringLiteral("Fora"));
         l.setGeometry(-40, 500, 300, 90);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sheets s;
    auto* original = new TProLabel(&s.from);
    original->show();
    c.setUp(*original);
    original->setObjectName(QStringLiteral("Texto2"));
    GiveHandlers(*original);

    const QByteArray stream = WriteObject(original);
    ASSERT_FALSE(stream.isEmpty());
    QWidget* w = Paste(s, stream);
    ASSERT_TRUE(w);
    auto* copy = qobject_cast<TProLabel*>(w);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->parentWidget(), &s.to);
    ExpectSameStoredProperties(original, copy);
    EXPECT_TRUE(copy->objectName().isEmpty());
    ExpectNoHandlers(*copy);
    EXPECT_EQ(original->objectName(), QStringLiteral("Texto2"));
    // Written again, the copy gives the same bytes.
    EXPECT_EQ(WriteObject(copy), stream);
  }
}

TEST(ObjectStream, PictureObjectsCarryTheirPictureAndFileName) {
  struct Case {
    const char* format;
    QByteArray bytes;
    bool autoSize;
  };
  const std::vector<Case> cases = {
      {"png", PictureBytes(40, 30, "png"), false},
      {"bmp", PictureBytes(17, 9, "bmp"), true},
      {"svg",
       "<svg xmlns='http://www.w3.org/2000/svg' width='50' height='20'>"
       "<rect width='50' height='20' fill='#c33'/></svg>",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    Sheets s;
    auto* original = new TProImage(&s.from);
    original->show();
    TPicture pic;
    pic.LoadFromData(c.bytes, QString::fromLatin1(c.format));
    original->SetPicture(pic);
    original->SetHint(QStringLiteral("/home/ana/Imagens/capa frente.") + QLatin1String(c.format));
    original->SetStretch(true);
    original->SetTransparent(true);
    original->SetAutoSize(c.autoSize);
    original->setGeometry(12, 34, 200, 150);
    original->setObjectName(QStringLiteral("Imagem3"));
    GiveHandlers(*original);

    const QByteArray stream = WriteObject(original);
    ASSERT_FALSE(stream.isEmpty());
    EXPECT_FALSE(stream.contains("Imagem3"));
    QWidget* w = Paste(s, stream);
    ASSERT_TRUE(w);
    auto* copy = qobject_cast<TProImage*>(w);
    ASSERT_TRUE(copy);
    ExpectSameStoredProperties(original, copy);
    EXPECT_EQ(copy->Picture().Data(), c.bytes);
    EXPECT_TRUE(copy->objectName().isEmpty());
    ExpectNoHandlers(*copy);
    EXPECT_EQ(copy->Opaque(), original->Opaque());
    EXPECT_EQ(WriteObject(copy), stream);
  }
}

TEST(ObjectStream, OnlyPropertiesThatDifferFromTheClassDefaultAreWritten) {
  const int header = 14, count = 2;
  // A fresh object: its class name and no property at all.
  TProLabel label;
  EXPECT_EQ(WriteObject(&label).size(), header + 1 + 9 + count);
  TProImage image;
  EXPECT_EQ(WriteObject(&image).size(), header + 1 + 9 + count);

  // One change, one property.
  label.SetTransparent(true);
  EXPECT_EQ(WriteObject(&label), Stream("TProLabel", {BoolProp("Transparent", 1)}));
  image.move(3, -4);
  EXPECT_EQ(WriteObject(&image), Stream("TProImage", {RectProp(3, -4, 105, 105)}));

  // Only registered classes are written.
  QWidget plain;
  EXPECT_TRUE(WriteObject(&plain).isEmpty());
  EXPECT_TRUE(WriteObject(nullptr).isEmpty());
}

TEST(ObjectStream, TheStreamKnowsEveryStoredPropertyOfItsClasses) {
  const std::vector<const QMetaObject*> classes = {&TProLabel::staticMetaObject,
                                                   &TProImage::staticMetaObject};
  for (const QMetaObject* mo : classes) {
    const QString cls = QString::fromLatin1(mo->className());
    ASSERT_TRUE(IsObjectClassRegistered(cls));
    const QStringList known = ObjectClassProperties(cls);
    for (int i = QWidget::staticMetaObject.propertyCount(); i < mo->propertyCount(); ++i) {
      const QMetaProperty p = mo->property(i);
      const QString name = QString::fromLatin1(p.name());
      EXPECT_EQ(known.contains(name), p.isStored()) << cls.toStdString() << "." << p.name();
    }
    for (const char* extra : {"Bounds", "Enabled", "Visible"})
      EXPECT_TRUE(known.contains(QLatin1String(extra))) << extra;
  }
  EXPECT_TRUE(ObjectClassProperties(QStringLiteral("TProLabel")).contains(QLatin1String("Font")));
  EXPECT_TRUE(
      ObjectClassProperties(QStringLiteral("TProImage")).contains(QLatin1String("Picture")));
}

// ---------------------------------------------------------------------------
// Untrusted input

namespace {

void ExpectRefused(const QByteArray& bytes, const std::string& what) {
  QWidget parent;
  QString error;
  QWidget* w = ReadObject(bytes, &parent, &error);
  EXPECT_EQ(w, nullptr) << what;
  EXPECT_FALSE(error.isEmpty()) << what;
  EXPECT_TRUE(parent.children().isEmpty()) << what;
}

QByteArray ValidLabelStream() {
  TProLabel l;
  l.SetCaption(QStringLiteral("Título"));
  l.SetFont(Font("Arial", 12, clBlue, fsBold, 0));
  l.SetAngle(180);
  l.SetShadowStyle(ssShadow);
  l.setGeometry(10, 20, 90, 30);
  l.SetHint(QStringLiteral("x"));
  return WriteObject(&l);
}

QByteArray ValidImageStream() {
  TProImage img;
  TPicture p;
  p.LoadFromData(PictureBytes(6, 5, "png"), QStringLiteral("png"));
  img.SetPicture(p);
  img.SetHint(QStringLiteral("/tmp/a.png"));
  img.SetStretch(true);
  return WriteObject(&img);
}

}  // namespace

TEST(ObjectStream, MalformedStreamsAreRefusedWithoutCreatingAnything) {
  const QByteArray good = Stream("TProLabel", {BoolProp("Transparent", 1)});
  {
    // The hand-made stream itself is accepted.
    QWidget parent;
    std::unique_ptr<QWidget> w(ReadObject(good, &parent));
    ASSERT_TRUE(w);
  }
  QByteArray badMagic = good;
  badMagic[0] = 'X';
  QByteArray longBody = good;
  longBody[10] = char(good.size());  // claims more than there is
  QByteArray hugeBody = good;
  hugeBody[13] = char(0x7F);
  const QByteArray png = PictureBytes(4, 4, "png");
  QByteArray brokenPng = png;
  brokenPng.truncate(png.size() / 2);

  struct Case {
    const char* what;
    QByteArray bytes;
  };
  const std::vector<Case> cases = {
      {"empty", QByteArray()},
      {"header only in part", QByteArray("LurnsObj\x01", 9)},
      {"wrong magic", badMagic},
      {"text, not an object", QByteArray("Texto1 do Lurns, colado de outro programa")},
      {"future version", Stream("TProLabel", {}, 2)},
      {"version zero", Stream("TProLabel", {}, 0)},
      {"body length past the end", longBody},
      {"huge body length", hugeBody},
      {"trailing bytes", good + QByteArray("\0", 1)},
      {"trailing bytes inside the body", WithBodyLength(good + "zz")},
      {"unknown class", Stream("TShape", {})},
      {"a class that is not a cover object", Stream("QWidget", {})},
      {"class name with a control character", Stream("TPro\nLabel", {})},
      {"empty class name", Stream("", {})},
      {"class name length past the end", WithBodyLength(Bytes().Raw("LurnsObj").U16(1).U32(0).U8(200).Raw("TProLabel").b)},
      {"more properties than the limit", WithBodyLength(Bytes().Raw("LurnsObj").U16(1).U32(0).Short("TProLabel").U16(65535).b)},
      {"unknown property", Stream("TProLabel", {BoolProp("Frobnicate", 1)})},
      {"a picture on a label", Stream("TProLabel", {PictureProp("png", png)})},
      {"the name property", Stream("TProLabel", {Prop("Name", 4, "Texto1")})},
      {"the never-stored Layout", Stream("TProLabel", {IntProp("Layout", 1)})},
      {"property given twice",
       Stream("TProLabel", {BoolProp("Transparent", 1), BoolProp("Transparent", 0)})},
      {"wrong kind", Stream("TProLabel", {IntProp("Transparent", 1)})},
      {"unknown kind", Stream("TProLabel", {Prop("Transparent", 99, "\x01")})},
      {"boolean that is neither 0 nor 1", Stream("TProLabel", {BoolProp("Transparent", 2)})},
      {"boolean with extra bytes", Stream("TProLabel", {Prop("Transparent", 1, QByteArray("\x01\x00", 2))})},
      {"integer too short", Stream("TProLabel", {Prop("Angle", 2, "\x5A")})},
      {"angle out of range", Stream("TProLabel", {IntProp("Angle", 360)})},
      {"negative angle", Stream("TProLabel", {IntProp("Angle", -90)})},
      {"alignment out of range", Stream("TProLabel", {IntProp("Alignment", 3)})},
      {"shadow style out of range", Stream("TProLabel", {IntProp("ShadowStyle", 11)})},
      {"shadow size over the limit", Stream("TProLabel", {IntProp("ShadowSize", 1281)})},
      {"direction out of range", Stream("TProLabel", {IntProp("ShadowDirection", -1)})},
      {"huge offset", Stream("TProLabel", {IntProp("OffsetX", 0x7FFFFFFF)})},
      {"colour that is neither RGB nor system",
       Stream("TProLabel", {Prop("ShadowColor", 3, Bytes().U32(0x12345678).b)})},
      {"bounds far away", Stream("TProLabel", {RectProp(0x7FFFFFF0, 0, 10, 10)})},
      {"negative width", Stream("TProLabel", {RectProp(0, 0, -5, 10)})},
      {"huge height", Stream("TProLabel", {RectProp(0, 0, 10, 1 << 30)})},
      {"string length past the end",
       WithBodyLength(Bytes().Raw("LurnsObj").U16(1).U32(0).Short("TProLabel").U16(1).Short("Caption").U8(4).U32(0xFFFFFFF0u).Raw("abc").b)},
      {"caption over the limit",
       Stream("TProLabel", {Prop("Caption", 4, QByteArray(MaxObjectStringBytes + 1, 'a'))})},
      {"caption that is not UTF-8", Stream("TProLabel", {Prop("Caption", 4, "ab\xff\xfe")})},
      {"font name length past the payload",
       Stream("TProLabel", {Prop("Font", 6, Bytes().U16(300).Raw("Arial").b)})},
      {"font without its fields", Stream("TProLabel", {Prop("Font", 6, Bytes().U16(5).Raw("Arial").b)})},
      {"font with unknown style bits",
       Stream("TProLabel", {Prop("Font", 6, Bytes().U16(5).Raw("Arial").U8(0).U32(0).U8(0x10).U32(std::uint32_t(-16)).U32(96).b)})},
      {"font with no size",
       Stream("TProLabel", {Prop("Font", 6, Bytes().U16(5).Raw("Arial").U8(0).U32(0).U8(0).U32(0).U32(96).b)})},
      {"font at zero pixels per inch",
       Stream("TProLabel", {Prop("Font", 6, Bytes().U16(5).Raw("Arial").U8(0).U32(0).U8(0).U32(std::uint32_t(-16)).U32(0).b)})},
      {"picture bytes that are no picture", Stream("TProImage", {PictureProp("png", "not a picture at all")})},
      {"half a picture", Stream("TProImage", {PictureProp("png", brokenPng)})},
      {"empty picture", Stream("TProImage", {PictureProp("png", "")})},
      {"picture in an unknown format", Stream("TProImage", {PictureProp("exe", png)})},
      {"picture format in capitals", Stream("TProImage", {PictureProp("PNG", png)})},
      {"picture length past the end",
       Stream("TProImage", {Prop("Picture", 7, Bytes().Short("png").U32(std::uint32_t(png.size() + 10)).Raw(png).b)})},
      {"picture length over the limit",
       Stream("TProImage", {Prop("Picture", 7, Bytes().Short("png").U32(0xFFFFFFFFu).Raw(png).b)})},
      {"picture data after the picture",
       Stream("TProImage", {Prop("Picture", 7, Bytes().Short("png").U32(std::uint32_t(png.size())).Raw(png).Raw("x").b)})},
      {"good property, then a bad one",
       Stream("TProImage", {RectProp(1, 2, 3, 4), PictureProp("png", "no")})},
  };
  for (const Case& c : cases) ExpectRefused(c.bytes, c.what);
}

TEST(ObjectStream, EveryCutOfAValidStreamIsRefused) {
  for (const QByteArray& full : {ValidLabelStream(), ValidImageStream()}) {
    ASSERT_FALSE(full.isEmpty());
    for (qsizetype n = 0; n < full.size(); ++n) {
      const QByteArray cut = full.left(n);
      ExpectRefused(cut, "cut at " + std::to_string(n));
      // With the header mended, the cut reaches the field reader.
      if (n >= 14) ExpectRefused(WithBodyLength(cut), "mended cut at " + std::to_string(n));
    }
  }
}

TEST(ObjectStream, TheFuzzingCorpusIsReplayed) {
  const QDir dir(QStringLiteral(LURNS_SOURCE_DIR "/tests/fuzz/corpus"));
  const QStringList files = dir.entryList(QDir::Files, QDir::Name);
  ASSERT_FALSE(files.isEmpty());
  int accepted = 0;
  for (const QString& name : files) {
    SCOPED_TRACE(name.toStdString());
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QWidget parent;
    QString error;
    std::unique_ptr<QWidget> w(ReadObject(bytes, &parent, &error));
    if (!w) {
      EXPECT_FALSE(error.isEmpty());
      EXPECT_TRUE(parent.children().isEmpty());
      continue;
    }
    ++accepted;
    // What was accepted writes back to a stream that reads to the same.
    const QByteArray again = WriteObject(w.get());
    ASSERT_FALSE(again.isEmpty());
    std::unique_ptr<QWidget> w2(ReadObject(again, &parent));
    ASSERT_TRUE(w2);
    EXPECT_EQ(WriteObject(w2.get()), again);
  }
  EXPECT_GT(accepted, 0);  // the seeds are there
}
