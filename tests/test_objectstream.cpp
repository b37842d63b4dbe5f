// SPDX-License-Identifier: GPL-3.0-or-later
// The serialized cover object that Copiar and Colar pass through the
// clipboard: text and picture objects come back with every field of the
// document object, defaults, names and identities stay out, and every
// malformed stream is refused without an object.
#include "document/ObjectStream.h"
#include "platform/PictureLoader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <functional>
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
// A font payload: name, charset, colour, style, size in points.
QByteArray FontPayload(const QByteArray& name, int charset, std::uint32_t colour, int style, std::int32_t size) {
  return Bytes().U16(int(name.size())).Raw(name).U8(charset).U32(colour).U8(style).U32(std::uint32_t(size)).b;
}

QByteArray Stream(const QByteArray& className, const std::vector<QByteArray>& props,
                  int version = 2) {
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

TFonteDoc Font(const char* name, int points, TColor color, TFontStyles style, std::uint8_t charset) {
  TFonteDoc f;
  f.Nome = QString::fromUtf8(name);
  f.Tamanho = points;
  f.Cor = color;
  f.Estilo = style;
  f.Charset = charset;
  return f;
}

// The object that comes back is the one that went, but for its name and
// identity, which never travel.
void ExpectSameObject(const TObjecto& original, const TObjecto& copy) {
  EXPECT_TRUE(copy.Nome.isEmpty());
  EXPECT_EQ(copy.Id, 0u);
  TObjecto named = copy;
  named.Nome = original.Nome;
  EXPECT_TRUE(MesmoConteudo(original, named));
  // Field by field, for a readable failure.
  EXPECT_EQ(copy.Tipo, original.Tipo);
  EXPECT_EQ(copy.Limites(), original.Limites());
  EXPECT_EQ(copy.Texto, original.Texto);
  EXPECT_EQ(copy.Angulo, original.Angulo);
  EXPECT_EQ(copy.Fonte.Nome, original.Fonte.Nome);
  EXPECT_EQ(copy.Fonte.Tamanho, original.Fonte.Tamanho);
  EXPECT_EQ(copy.Fonte.Charset, original.Fonte.Charset);
  EXPECT_EQ(copy.Fonte.Cor, original.Fonte.Cor);
  EXPECT_EQ(copy.Fonte.Estilo, original.Fonte.Estilo);
  EXPECT_EQ(copy.TamanhoAutomatico, original.TamanhoAutomatico);
  EXPECT_EQ(copy.Imagem.Ficheiro, original.Imagem.Ficheiro);
  EXPECT_EQ(copy.Imagem.Imagem.Format(), original.Imagem.Imagem.Format());
  EXPECT_EQ(copy.Imagem.Imagem.Data(), original.Imagem.Imagem.Data());
  EXPECT_EQ(copy.Imagem.Imagem.Width(), original.Imagem.Imagem.Width());
  EXPECT_EQ(copy.Imagem.Imagem.Height(), original.Imagem.Imagem.Height());
}

std::optional<TObjecto> Read(const QByteArray& stream) {
  QString error;
  std::optional<TObjecto> o = ReadObject(stream, &error);
  EXPECT_TRUE(o) << error.toStdString();
  EXPECT_TRUE(o ? error.isEmpty() : true);
  return o;
}

}  // namespace

// ---------------------------------------------------------------------------

TEST(ObjectStream, TextObjectsComeBackWithEveryField) {
  struct Case {
    const char* what;
    std::function<void(TObjecto&)> setUp;
  };
  const std::vector<Case> cases = {
      {"turned, with a font, a caption of several lines and marks",
       [](TObjecto& o) {
         o.Texto = QString::fromUtf8("Lado A — Canção n.º 1\nfaixa & letra");
         o.Fonte = Font("Liberation Serif", 14, 0x3366CC, fsBold | fsItalic | fsUnderline, 238);
         o.Angulo = 90;
         o.TamanhoAutomatico = false;
         o.Left = 37;
         o.Top = 120;
         o.Width = 24;
         o.Height = 180;
       }},
      {"a system colour and every style bit", [](TObjecto& o) {
         o.Texto = QStringLiteral("Relevo");
         o.Fonte = Font("Tahoma", MaxFontSize, clBtnFace, fsBold | fsItalic | fsUnderline | fsStrikeOut, 1);
         o.Left = 5;
         o.Top = 6;
       }},
      {"turned back to 0: no longer sizing itself",
       [](TObjecto& o) {
         o.Texto = QStringLiteral("Lombada");
         o.TamanhoAutomatico = false;
         o.Width = 200;
         o.Height = 30;
       }},
      {"an odd angle at the smallest size",
       [](TObjecto& o) {
         o.Angulo = 359;
         o.Fonte.Tamanho = MinFontSize;
       }},
      {"off the sheet and resized while sizing itself",
       [](TObjecto& o) {
         o.Texto = QStringLiteral("Fora");
         o.Left = -40;
         o.Top = 500;
         o.Width = 300;
         o.Height = 90;
       }},
      {"at the limits",
       [](TObjecto& o) {
         o.Left = -MaxObjectCoordinate;
         o.Top = MaxObjectCoordinate;
         o.Width = MaxObjectExtent;
         o.Height = MaxObjectExtent;
         o.Texto = QString(int(MaxObjectStringBytes), QLatin1Char('a'));
         o.Fonte.Nome = QString(int(MaxObjectFontNameBytes), QLatin1Char('f'));
       }},
      {"a new text", [](TObjecto&) {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TObjecto original = TObjecto::NovoTexto();
    c.setUp(original);
    original.Nome = QStringLiteral("Texto2");
    original.Id = 77;

    const QByteArray stream = WriteObject(original);
    ASSERT_FALSE(stream.isEmpty());
    EXPECT_FALSE(stream.contains("Texto2"));
    const std::optional<TObjecto> copy = Read(stream);
    ASSERT_TRUE(copy);
    ExpectSameObject(original, *copy);
    // Written again, the copy gives the same bytes.
    EXPECT_EQ(WriteObject(*copy), stream);
  }
}

TEST(ObjectStream, PictureObjectsCarryTheirPictureAndFileName) {
  struct Case {
    const char* format;
    QByteArray bytes;
  };
  const std::vector<Case> cases = {
      {"png", PictureBytes(40, 30, "png")},
      {"bmp", PictureBytes(17, 9, "bmp")},
      {"svg",
       "<svg xmlns='http://www.w3.org/2000/svg' width='50' height='20'>"
       "<rect width='50' height='20' fill='#c33'/></svg>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    TObjecto original = TObjecto::NovaImagem();
    original.Imagem.Imagem.LoadFromData(c.bytes, QString::fromLatin1(c.format));
    original.Imagem.Ficheiro = QStringLiteral("/home/ana/Imagens/capa frente.") + QLatin1String(c.format);
    original.Left = 12;
    original.Top = 34;
    original.Width = 200;
    original.Height = 150;
    original.Nome = QStringLiteral("Imagem3");

    const QByteArray stream = WriteObject(original);
    ASSERT_FALSE(stream.isEmpty());
    EXPECT_FALSE(stream.contains("Imagem3"));
    const std::optional<TObjecto> copy = Read(stream);
    ASSERT_TRUE(copy);
    ASSERT_TRUE(copy->EhImagem());
    ExpectSameObject(original, *copy);
    EXPECT_EQ(copy->Imagem.Imagem.Data(), c.bytes);
    EXPECT_EQ(WriteObject(*copy), stream);
  }
}

TEST(ObjectStream, OnlyFieldsThatDifferFromANewObjectAreWritten) {
  const int header = 14, count = 2;
  // A new object: its class name and no property at all.
  TObjecto label = TObjecto::NovoTexto();
  EXPECT_EQ(WriteObject(label).size(), header + 1 + 9 + count);
  TObjecto image = TObjecto::NovaImagem();
  EXPECT_EQ(WriteObject(image).size(), header + 1 + 9 + count);

  // One change, one property, as the layout says.
  label.TamanhoAutomatico = false;
  EXPECT_EQ(WriteObject(label), Stream("TProLabel", {BoolProp("AutoSize", 0)}));
  label.Fonte.Tamanho = 12;
  EXPECT_EQ(WriteObject(label),
            Stream("TProLabel", {Prop("Font", 6, FontPayload("MS Sans Serif", 1, clWindowText, 0, 12)),
                                 BoolProp("AutoSize", 0)}));
  image.Left = 3;
  image.Top = -4;
  EXPECT_EQ(WriteObject(image), Stream("TProImage", {RectProp(3, -4, 0, 0)}));
  // The fields of the other kind are not a picture's.
  image.Texto = QStringLiteral("ignored");
  image.Angulo = 90;
  EXPECT_EQ(WriteObject(image), Stream("TProImage", {RectProp(3, -4, 0, 0)}));

  // Nothing is written that reading would refuse.
  TObjecto tooFar = TObjecto::NovoTexto();
  tooFar.Left = MaxObjectCoordinate + 1;
  EXPECT_TRUE(WriteObject(tooFar).isEmpty());
  TObjecto badSize = TObjecto::NovoTexto();
  badSize.Fonte.Tamanho = 0;
  EXPECT_TRUE(WriteObject(badSize).isEmpty());
  // And the writer says why, for the user.
  QString why = "not set";
  EXPECT_TRUE(WriteObject(tooFar, &why).isEmpty());
  EXPECT_EQ(why, QString::fromUtf8("Não foi possível copiar o objecto para a transferência: posição fora dos limites."));
  EXPECT_FALSE(WriteObject(label, &why).isEmpty());
  EXPECT_TRUE(why.isEmpty());
}

TEST(ObjectStream, TheStreamKnowsEveryFieldOfTheDocumentObject) {
  EXPECT_EQ(ObjectClassProperties("TProLabel"), QStringList({"Bounds", "Caption", "Font", "Angle", "AutoSize"}));
  EXPECT_EQ(ObjectClassProperties("TProImage"), QStringList({"Bounds", "Picture", "Hint"}));
  EXPECT_TRUE(ObjectClassProperties("TShape").isEmpty());
  EXPECT_EQ(ObjectClassName(TTipoObjecto::Texto), "TProLabel");
  EXPECT_EQ(ObjectClassName(TTipoObjecto::Imagem), "TProImage");

  // Every field of each kind set away from a new object's comes back: a
  // field added to the object and forgotten by the stream shows up here.
  TObjecto text = TObjecto::NovoTexto();
  text.Left = 1;
  text.Top = 2;
  text.Width = 3;
  text.Height = 4;
  text.Texto = "t";
  text.Angulo = 180;
  text.Fonte = Font("Arial", 9, 0x010203, fsItalic, 0);
  text.TamanhoAutomatico = false;
  TObjecto picture = TObjecto::NovaImagem();
  picture.Left = 5;
  picture.Top = 6;
  picture.Width = 7;
  picture.Height = 8;
  picture.Imagem.Ficheiro = "p.png";
  picture.Imagem.Imagem.LoadFromData(PictureBytes(3, 3, "png"), "png");
  for (const TObjecto* o : {&text, &picture}) {
    const QByteArray stream = WriteObject(*o);
    const QStringList props = ObjectClassProperties(ObjectClassName(o->Tipo));
    for (const QString& p : props) EXPECT_TRUE(stream.contains(p.toLatin1())) << p.toStdString();
    const std::optional<TObjecto> copy = Read(stream);
    ASSERT_TRUE(copy);
    ExpectSameObject(*o, *copy);
  }
}

// ---------------------------------------------------------------------------
// Untrusted input

namespace {

void ExpectRefused(const QByteArray& bytes, const std::string& what) {
  QString error;
  const std::optional<TObjecto> o = ReadObject(bytes, &error);
  EXPECT_FALSE(o) << what;
  EXPECT_FALSE(error.isEmpty()) << what;
}

QByteArray ValidLabelStream() {
  TObjecto l = TObjecto::NovoTexto();
  l.Texto = QStringLiteral("Título");
  l.Fonte = Font("Arial", 12, clBlue, fsBold, 0);
  l.Angulo = 180;
  l.TamanhoAutomatico = false;
  l.Left = 10;
  l.Top = 20;
  l.Width = 90;
  l.Height = 30;
  return WriteObject(l);
}

QByteArray ValidImageStream() {
  TObjecto img = TObjecto::NovaImagem();
  img.Imagem.Imagem.LoadFromData(PictureBytes(6, 5, "png"), QStringLiteral("png"));
  img.Imagem.Ficheiro = QStringLiteral("/tmp/a.png");
  img.Width = img.Height = 40;
  return WriteObject(img);
}

}  // namespace

TEST(ObjectStream, MalformedStreamsAreRefusedWithoutAnObject) {
  const QByteArray good = Stream("TProLabel", {BoolProp("AutoSize", 0)});
  // The hand-made stream itself is accepted.
  ASSERT_TRUE(ReadObject(good));
  QByteArray badMagic = good;
  badMagic[0] = 'X';
  QByteArray longBody = good;
  longBody[10] = char(good.size());  // claims more than there is
  QByteArray hugeBody = good;
  hugeBody[13] = char(0x7F);
  const QByteArray png = PictureBytes(4, 4, "png");
  QByteArray brokenPng = png;
  brokenPng.truncate(png.size() / 2);
  auto font = [](const QByteArray& payload) { return Stream("TProLabel", {Prop("Font", 6, payload)}); };

  struct Case {
    const char* what;
    QByteArray bytes;
  };
  const std::vector<Case> cases = {
      {"empty", QByteArray()},
      {"header only in part", QByteArray("LurnsObj\x02", 9)},
      {"wrong magic", badMagic},
      {"text, not an object", QByteArray("Texto1 do Lurns, colado de outro programa")},
      {"future version", Stream("TProLabel", {}, 3)},
      {"version zero", Stream("TProLabel", {}, 0)},
      {"version 1, which carried the controls' own properties",
       Stream("TProLabel", {BoolProp("Transparent", 1)}, 1)},
      {"body length past the end", longBody},
      {"huge body length", hugeBody},
      {"trailing bytes", good + QByteArray("\0", 1)},
      {"trailing bytes inside the body", WithBodyLength(good + "zz")},
      {"unknown class", Stream("TShape", {})},
      {"a class that is not a cover object", Stream("QWidget", {})},
      {"class name with a control character", Stream("TPro\nLabel", {})},
      {"empty class name", Stream("", {})},
      {"class name length past the end", WithBodyLength(Bytes().Raw("LurnsObj").U16(2).U32(0).U8(200).Raw("TProLabel").b)},
      {"more properties than the limit", WithBodyLength(Bytes().Raw("LurnsObj").U16(2).U32(0).Short("TProLabel").U16(65535).b)},
      {"unknown property", Stream("TProLabel", {BoolProp("Frobnicate", 1)})},
      {"a picture on a label", Stream("TProLabel", {PictureProp("png", png)})},
      {"a caption on a picture", Stream("TProImage", {Prop("Caption", 4, "x")})},
      {"the name property", Stream("TProLabel", {Prop("Name", 4, "Texto1")})},
      {"the never-stored Layout", Stream("TProLabel", {IntProp("Layout", 1)})},
      {"a control property the document has no field for", Stream("TProLabel", {BoolProp("Transparent", 1)})},
      {"an effect the document has no field for", Stream("TProLabel", {IntProp("ShadowStyle", 2)})},
      {"an offset the document has no field for", Stream("TProLabel", {IntProp("OffsetX", 3)})},
      {"property given twice", Stream("TProLabel", {BoolProp("AutoSize", 1), BoolProp("AutoSize", 0)})},
      {"wrong kind", Stream("TProLabel", {IntProp("AutoSize", 1)})},
      {"the colour kind, which no property has", Stream("TProLabel", {Prop("Caption", 3, Bytes().U32(0).b)})},
      {"unknown kind", Stream("TProLabel", {Prop("AutoSize", 99, "\x01")})},
      {"boolean that is neither 0 nor 1", Stream("TProLabel", {BoolProp("AutoSize", 2)})},
      {"boolean with extra bytes", Stream("TProLabel", {Prop("AutoSize", 1, QByteArray("\x01\x00", 2))})},
      {"integer too short", Stream("TProLabel", {Prop("Angle", 2, "\x5A")})},
      {"angle out of range", Stream("TProLabel", {IntProp("Angle", 360)})},
      {"negative angle", Stream("TProLabel", {IntProp("Angle", -90)})},
      {"bounds far away", Stream("TProLabel", {RectProp(0x7FFFFFF0, 0, 10, 10)})},
      {"bounds just past the limit", Stream("TProImage", {RectProp(0, -MaxObjectCoordinate - 1, 10, 10)})},
      {"negative width", Stream("TProLabel", {RectProp(0, 0, -5, 10)})},
      {"huge height", Stream("TProLabel", {RectProp(0, 0, 10, 1 << 30)})},
      {"string length past the end",
       WithBodyLength(Bytes().Raw("LurnsObj").U16(2).U32(0).Short("TProLabel").U16(1).Short("Caption").U8(4).U32(0xFFFFFFF0u).Raw("abc").b)},
      {"caption over the limit",
       Stream("TProLabel", {Prop("Caption", 4, QByteArray(MaxObjectStringBytes + 1, 'a'))})},
      {"caption that is not UTF-8", Stream("TProLabel", {Prop("Caption", 4, "ab\xff\xfe")})},
      {"file name over the limit", Stream("TProImage", {Prop("Hint", 4, QByteArray(MaxObjectStringBytes + 1, 'a'))})},
      {"font name length past the payload", font(Bytes().U16(300).Raw("Arial").b)},
      {"font name over the limit",
       font(FontPayload(QByteArray(MaxObjectFontNameBytes + 1, 'f'), 0, 0, 0, 10))},
      {"font without its fields", font(Bytes().U16(5).Raw("Arial").b)},
      {"font with unknown style bits", font(FontPayload("Arial", 0, 0, 0x10, 10))},
      {"font with no size", font(FontPayload("Arial", 0, 0, 0, 0))},
      {"font with a negative size", font(FontPayload("Arial", 0, 0, 0, -12))},
      {"font over the largest size", font(FontPayload("Arial", 0, 0, 0, MaxFontSize + 1))},
      {"font size that overflowed on its way to pixels", font(FontPayload("Arial", 0, 0, 0, -1610612736))},
      {"font colour that is neither RGB nor system", font(FontPayload("Arial", 0, 0x12345678, 0, 10))},
      {"font with bytes after its size", font(FontPayload("Arial", 0, 0, 0, 10) + "x")},
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
    QString error;
    const std::optional<TObjecto> o = ReadObject(bytes, &error);
    if (!o) {
      EXPECT_FALSE(error.isEmpty());
      continue;
    }
    ++accepted;
    // What was accepted is within the limits, and writes back to a stream
    // that reads to the same.
    EXPECT_TRUE(VerificarObjecto(*o).isEmpty());
    const QByteArray again = WriteObject(*o);
    ASSERT_FALSE(again.isEmpty());
    const std::optional<TObjecto> o2 = ReadObject(again);
    ASSERT_TRUE(o2);
    EXPECT_EQ(WriteObject(*o2), again);
  }
  EXPECT_GT(accepted, 0);  // the seeds are there
}
