#include "components/ObjectStream.h"

#include "components/ProCtrls.h"
#include "platform/PictureLoader.h"

#include <QHash>
#include <QStringDecoder>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <optional>

namespace {

// ---------------------------------------------------------------------------
// The registry

struct ObjectClass {
  TObjectFactory factory;
  std::vector<TObjectProperty> properties;
};

void RegisterBuiltInClasses(std::map<QString, ObjectClass>& registry);

std::map<QString, ObjectClass>& Registry() {
  // Filled on first use rather than by static initialisers, which a static
  // library may never run.
  static std::map<QString, ObjectClass> registry = [] {
    std::map<QString, ObjectClass> r;
    RegisterBuiltInClasses(r);
    return r;
  }();
  return registry;
}

const ObjectClass* FindClass(const QString& name) {
  auto& r = Registry();
  auto it = r.find(name);
  return it == r.end() ? nullptr : &it->second;
}

// ---------------------------------------------------------------------------
// Values

bool SameFont(const TFont& a, const TFont& b) {
  return a.Name == b.Name && a.Charset == b.Charset && a.Color == b.Color && a.Style == b.Style &&
         a.Height == b.Height && a.PixelsPerInch == b.PixelsPerInch;
}

bool SamePicture(const TPicture& a, const TPicture& b) {
  if (a.Empty() || b.Empty()) return a.Empty() == b.Empty();
  return a == b || (a.Format() == b.Format() && a.Data() == b.Data());
}

bool SameValue(const TStreamValue& a, const TStreamValue& b) {
  if (a.index() != b.index()) return false;
  if (auto* f = std::get_if<TFont>(&a)) return SameFont(*f, std::get<TFont>(b));
  if (auto* p = std::get_if<TPicture>(&a)) return SamePicture(*p, std::get<TPicture>(b));
  return a == b;
}

// The variant alternative each kind travels in.
bool KindHolds(TStreamKind kind, const TStreamValue& v) {
  switch (kind) {
    case TStreamKind::Bool: return std::holds_alternative<bool>(v);
    case TStreamKind::Int: return std::holds_alternative<std::int32_t>(v);
    case TStreamKind::Colour: return std::holds_alternative<std::uint32_t>(v);
    case TStreamKind::String: return std::holds_alternative<QString>(v);
    case TStreamKind::Rect: return std::holds_alternative<QRect>(v);
    case TStreamKind::Font: return std::holds_alternative<TFont>(v);
    case TStreamKind::Picture: return std::holds_alternative<TPicture>(v);
  }
  return false;
}

QString Tr(const char* text) { return QString::fromUtf8(text); }

// ---------------------------------------------------------------------------
// Checks shared by the property tables

QString CheckColour(std::uint32_t c) {
  // 0x00BBGGRR, or a system colour: 0x80000000 plus an index.
  if ((c & 0xFF000000u) != 0 && (c & 0xFFFFFF00u) != clSystemColor)
    return Tr("cor inválida");
  return {};
}

QString CheckRange(std::int32_t v, std::int32_t lo, std::int32_t hi) {
  if (v < lo || v > hi)
    return Tr("valor %1 fora do intervalo %2..%3").arg(v).arg(lo).arg(hi);
  return {};
}

QString CheckFont(const TFont& f) {
  if (f.Name.toUtf8().size() > MaxObjectFontNameBytes) return Tr("nome de letra demasiado longo");
  if (f.Style & ~TFontStyles(fsBold | fsItalic | fsUnderline | fsStrikeOut))
    return Tr("estilo de letra inválido");
  if (QString e = CheckColour(f.Color); !e.isEmpty()) return e;
  // The height in pixels at PixelsPerInch; 0 would mean no size at all.
  if (f.Height == 0 || f.Height < -4096 || f.Height > 4096) return Tr("tamanho de letra inválido");
  if (f.PixelsPerInch < 24 || f.PixelsPerInch > 4800) return Tr("resolução de letra inválida");
  return {};
}

QString CheckBounds(const QRect& r) {
  if (r.x() < -MaxObjectCoordinate || r.x() > MaxObjectCoordinate ||
      r.y() < -MaxObjectCoordinate || r.y() > MaxObjectCoordinate)
    return Tr("posição fora dos limites");
  if (r.width() < 0 || r.width() > MaxObjectExtent || r.height() < 0 ||
      r.height() > MaxObjectExtent)
    return Tr("tamanho fora dos limites");
  return {};
}

QString CheckPicture(const TPicture& p) {
  // An empty picture is the default and never travels.
  if (p.Empty()) return Tr("imagem vazia");
  if (!PictureExtensions().contains(p.Format())) return Tr("formato de imagem desconhecido");
  if (p.Data().size() > MaxObjectPictureBytes) return Tr("imagem demasiado grande");
  return {};
}

QString CheckString(const QString& s) {
  if (s.toUtf8().size() > MaxObjectStringBytes) return Tr("texto demasiado longo");
  return {};
}

// ---------------------------------------------------------------------------
// Property tables

// A property read and written through the class's meta-object.
TObjectProperty MetaProperty(const char* name, TStreamKind kind,
                             std::function<QString(const TStreamValue&)> check = {}) {
  TObjectProperty p;
  p.name = QString::fromLatin1(name);
  p.kind = kind;
  const QByteArray key(name);
  p.get = [key, kind](const QWidget* w) -> TStreamValue {
    const QVariant v = w->property(key.constData());
    switch (kind) {
      case TStreamKind::Bool: return v.toBool();
      case TStreamKind::Int: return std::int32_t(v.toInt());
      case TStreamKind::Colour: return std::uint32_t(v.toUInt());
      default: return v.toString();
    }
  };
  p.set = [key](QWidget* w, const TStreamValue& v) {
    QVariant qv;
    if (auto* b = std::get_if<bool>(&v))
      qv = *b;
    else if (auto* i = std::get_if<std::int32_t>(&v))
      qv = int(*i);
    else if (auto* u = std::get_if<std::uint32_t>(&v))
      qv = uint(*u);
    else if (auto* s = std::get_if<QString>(&v))
      qv = *s;
    w->setProperty(key.constData(), qv);
  };
  if (check)
    p.check = std::move(check);
  else if (kind == TStreamKind::Colour)
    p.check = [](const TStreamValue& v) { return CheckColour(std::get<std::uint32_t>(v)); };
  else if (kind == TStreamKind::String)
    p.check = [](const TStreamValue& v) { return CheckString(std::get<QString>(v)); };
  return p;
}

TObjectProperty IntProperty(const char* name, std::int32_t lo, std::int32_t hi) {
  return MetaProperty(name, TStreamKind::Int, [lo, hi](const TStreamValue& v) {
    return CheckRange(std::get<std::int32_t>(v), lo, hi);
  });
}

// Left, Top, Width and Height.  Set first as well as last: the picture's
// opacity is judged against the control's size, and sizing properties
// (AutoSize, a caption while AutoSize is on) move the bounds on their way.
TObjectProperty BoundsProperty() {
  TObjectProperty p;
  p.name = QStringLiteral("Bounds");
  p.kind = TStreamKind::Rect;
  p.get = [](const QWidget* w) -> TStreamValue { return w->geometry(); };
  p.set = [](QWidget* w, const TStreamValue& v) { w->setGeometry(std::get<QRect>(v)); };
  p.check = [](const TStreamValue& v) { return CheckBounds(std::get<QRect>(v)); };
  p.early = true;
  return p;
}

// Visible and Enabled are what the object was told, not what follows from
// its parent: a label on a sheet that is not shown is still Visible.
TObjectProperty EnabledProperty() {
  TObjectProperty p;
  p.name = QStringLiteral("Enabled");
  p.kind = TStreamKind::Bool;
  p.get = [](const QWidget* w) -> TStreamValue { return !w->testAttribute(Qt::WA_ForceDisabled); };
  p.set = [](QWidget* w, const TStreamValue& v) { w->setEnabled(std::get<bool>(v)); };
  return p;
}

TObjectProperty VisibleProperty() {
  TObjectProperty p;
  p.name = QStringLiteral("Visible");
  p.kind = TStreamKind::Bool;
  p.get = [](const QWidget* w) -> TStreamValue {
    return !(w->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
             w->testAttribute(Qt::WA_WState_Hidden));
  };
  p.set = [](QWidget* w, const TStreamValue& v) {
    if (!std::get<bool>(v))
      w->hide();
    else if (w->parentWidget())
      w->show();  // a top-level object would open a window of its own
  };
  return p;
}

TObjectProperty FontProperty() {
  TObjectProperty p;
  p.name = QStringLiteral("Font");
  p.kind = TStreamKind::Font;
  p.get = [](const QWidget* w) -> TStreamValue {
    return static_cast<const TProCustomLabel*>(w)->Font();
  };
  p.set = [](QWidget* w, const TStreamValue& v) {
    static_cast<TProCustomLabel*>(w)->SetFont(std::get<TFont>(v));
  };
  p.check = [](const TStreamValue& v) { return CheckFont(std::get<TFont>(v)); };
  return p;
}

TObjectProperty PictureProperty() {
  TObjectProperty p;
  p.name = QStringLiteral("Picture");
  p.kind = TStreamKind::Picture;
  p.get = [](const QWidget* w) -> TStreamValue {
    return static_cast<const TProImage*>(w)->Picture();
  };
  p.set = [](QWidget* w, const TStreamValue& v) {
    static_cast<TProImage*>(w)->SetPicture(std::get<TPicture>(v));
  };
  p.check = [](const TStreamValue& v) { return CheckPicture(std::get<TPicture>(v)); };
  // An empty picture is not stored: it is the default, and setting it on a
  // fresh object would only repeat what is there.
  p.stored = [](const QWidget* w) { return !static_cast<const TProImage*>(w)->Picture().Empty(); };
  return p;
}

void RegisterBuiltInClasses(std::map<QString, ObjectClass>& r) {
  constexpr int maxOffset = MaxObjectCoordinate;
  constexpr int maxDepth = MaxShadowValue;
  const auto B = TStreamKind::Bool;
  const auto C = TStreamKind::Colour;
  const auto S = TStreamKind::String;

  // The order is the order of setting.  The shadow style comes first, as
  // its preset writes the effect values and may change the font colour;
  // Font before ParentFont and Color before ParentColor, since setting the
  // font or the colour switches the parent flag off; Angle and the offsets
  // before AutoSize, which they switch off; the bounds last.
  TObjectProperty color = MetaProperty("Color", C);
  color.stored = [](const QWidget* w) {
    return !static_cast<const TProCustomLabel*>(w)->ParentColor();
  };
  r[QStringLiteral("TProLabel")] = ObjectClass{
      [](QWidget* parent) -> QWidget* { return new TProLabel(parent); },
      {
          BoundsProperty(),
          IntProperty("ShadowStyle", ssNone, ssThickShadow),
          IntProperty("HighlightDirection", drNone, drDownRight),
          IntProperty("HighlightDepth", -maxDepth, maxDepth),
          MetaProperty("HighlightColor", C),
          IntProperty("ShadowDirection", drNone, drDownRight),
          IntProperty("ShadowDepth", 0, MaxShadowValue),
          IntProperty("ShadowSize", 0, MaxShadowValue),
          MetaProperty("ShadowColor", C),
          MetaProperty("Caption", S),
          FontProperty(),
          MetaProperty("ParentFont", B),
          color,
          MetaProperty("ParentColor", B),
          IntProperty("Alignment", taLeftJustify, taCenter),
          IntProperty("VerticalAlignment", vaTop, vaBottom),
          MetaProperty("WordWrap", B),
          MetaProperty("ShowAccelChar", B),
          MetaProperty("Transparent", B),
          MetaProperty("Hint", S),
          MetaProperty("ShowHint", B),
          IntProperty("Angle", 0, 359),
          IntProperty("OffsetX", -maxOffset, maxOffset),
          IntProperty("OffsetY", -maxOffset, maxOffset),
          MetaProperty("AutoSize", B),
          EnabledProperty(),
          VisibleProperty(),
      }};

  // The picture before the display flags, which judge it; AutoSize after
  // the picture, as it sizes the control to it.
  r[QStringLiteral("TProImage")] = ObjectClass{
      [](QWidget* parent) -> QWidget* { return new TProImage(parent); },
      {
          BoundsProperty(),
          PictureProperty(),
          MetaProperty("Stretch", B),
          MetaProperty("Center", B),
          MetaProperty("Tiled", B),
          MetaProperty("Transparent", B),
          MetaProperty("IncrementalDisplay", B),
          MetaProperty("Hint", S),
          MetaProperty("ShowHint", B),
          MetaProperty("AutoSize", B),
          EnabledProperty(),
          VisibleProperty(),
      }};
}

bool ValidName(const QByteArray& n) {
  if (n.isEmpty() || n.size() > MaxObjectNameBytes) return false;
  return std::all_of(n.begin(), n.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  });
}

// ---------------------------------------------------------------------------
// Writing

class Writer {
 public:
  void U8(std::uint8_t v) { out_.append(char(v)); }
  void U16(std::uint16_t v) {
    U8(std::uint8_t(v));
    U8(std::uint8_t(v >> 8));
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(std::uint8_t(v >> (8 * i)));
  }
  void I32(std::int32_t v) { U32(std::uint32_t(v)); }
  void Bytes(const QByteArray& b) { out_.append(b); }
  void ShortBytes(const QByteArray& b) {  // callers keep b under 256 bytes
    U8(std::uint8_t(b.size()));
    Bytes(b);
  }
  QByteArray& Out() { return out_; }

 private:
  QByteArray out_;
};

QByteArray Payload(const TStreamValue& v) {
  Writer w;
  if (auto* b = std::get_if<bool>(&v)) {
    w.U8(*b ? 1 : 0);
  } else if (auto* i = std::get_if<std::int32_t>(&v)) {
    w.I32(*i);
  } else if (auto* u = std::get_if<std::uint32_t>(&v)) {
    w.U32(*u);
  } else if (auto* s = std::get_if<QString>(&v)) {
    w.Bytes(s->toUtf8());
  } else if (auto* r = std::get_if<QRect>(&v)) {
    w.I32(r->x());
    w.I32(r->y());
    w.I32(r->width());
    w.I32(r->height());
  } else if (auto* f = std::get_if<TFont>(&v)) {
    const QByteArray name = f->Name.toUtf8();
    w.U16(std::uint16_t(name.size()));
    w.Bytes(name);
    w.U8(f->Charset);
    w.U32(f->Color);
    w.U8(f->Style);
    w.I32(f->Height);
    w.I32(f->PixelsPerInch);
  } else if (auto* p = std::get_if<TPicture>(&v)) {
    w.ShortBytes(p->Format().toLatin1());
    const QByteArray data = p->Data();
    w.U32(std::uint32_t(data.size()));
    w.Bytes(data);
  }
  return w.Out();
}

// ---------------------------------------------------------------------------
// Reading

struct StreamError {
  QString message;
};

[[noreturn]] void Fail(const QString& message) { throw StreamError{message}; }

class Reader {
 public:
  Reader(const QByteArray& bytes, qsizetype begin, qsizetype end)
      : data_(bytes.constData()), pos_(begin), end_(end) {}

  qsizetype Left() const { return end_ - pos_; }
  bool AtEnd() const { return pos_ == end_; }

  void Need(qsizetype n, const char* what) {
    if (n < 0 || n > Left()) Fail(Tr("dados truncados em %1").arg(QLatin1String(what)));
  }
  std::uint8_t U8(const char* what) {
    Need(1, what);
    return std::uint8_t(data_[pos_++]);
  }
  std::uint16_t U16(const char* what) {
    Need(2, what);
    std::uint16_t v = std::uint16_t(std::uint8_t(data_[pos_]) | (std::uint8_t(data_[pos_ + 1]) << 8));
    pos_ += 2;
    return v;
  }
  std::uint32_t U32(const char* what) {
    Need(4, what);
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(std::uint8_t(data_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return v;
  }
  std::int32_t I32(const char* what) { return std::int32_t(U32(what)); }
  // n bytes, after checking that they are there (n comes from the stream).
  QByteArray Bytes(qsizetype n, const char* what) {
    Need(n, what);
    QByteArray b(data_ + pos_, n);
    pos_ += n;
    return b;
  }
  // A sub-reader over the next n bytes, which it consumes.
  Reader Sub(qsizetype n, const char* what) {
    Need(n, what);
    Reader r(*this);
    r.end_ = pos_ + n;
    pos_ += n;
    return r;
  }

 private:
  const char* data_;
  qsizetype pos_, end_;
};

QString Utf8(const QByteArray& b, const char* what) {
  QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString s = dec.decode(b);
  if (dec.hasError()) Fail(Tr("texto inválido em %1").arg(QLatin1String(what)));
  return s;
}

TStreamValue DecodePayload(TStreamKind kind, Reader& r) {
  switch (kind) {
    case TStreamKind::Bool: {
      const std::uint8_t b = r.U8("valor lógico");
      if (b > 1) Fail(Tr("valor lógico inválido"));
      return b == 1;
    }
    case TStreamKind::Int: return r.I32("inteiro");
    case TStreamKind::Colour: return r.U32("cor");
    case TStreamKind::String: {
      if (r.Left() > MaxObjectStringBytes) Fail(Tr("texto demasiado longo"));
      return Utf8(r.Bytes(r.Left(), "texto"), "texto");
    }
    case TStreamKind::Rect: {
      const std::int32_t x = r.I32("limites"), y = r.I32("limites");
      const std::int32_t w = r.I32("limites"), h = r.I32("limites");
      // Checked before a QRect is made: its right and bottom edges are
      // computed from these and must not overflow.
      if (x < -MaxObjectCoordinate || x > MaxObjectCoordinate || y < -MaxObjectCoordinate ||
          y > MaxObjectCoordinate || w < 0 || w > MaxObjectExtent || h < 0 || h > MaxObjectExtent)
        Fail(Tr("limites fora do intervalo"));
      return QRect(x, y, w, h);
    }
    case TStreamKind::Font: {
      TFont f;
      const std::uint16_t n = r.U16("nome de letra");
      if (n > MaxObjectFontNameBytes) Fail(Tr("nome de letra demasiado longo"));
      f.Name = Utf8(r.Bytes(n, "nome de letra"), "nome de letra");
      f.Charset = r.U8("letra");
      f.Color = r.U32("letra");
      f.Style = r.U8("letra");
      f.Height = r.I32("letra");
      f.PixelsPerInch = r.I32("letra");
      return f;
    }
    case TStreamKind::Picture: {
      const std::uint8_t n = r.U8("formato de imagem");
      const QByteArray format = r.Bytes(n, "formato de imagem");
      const QString ext = QString::fromLatin1(format);
      if (!PictureExtensions().contains(ext)) Fail(Tr("formato de imagem desconhecido"));
      const std::uint32_t size = r.U32("imagem");
      if (size > std::uint32_t(MaxObjectPictureBytes)) Fail(Tr("imagem demasiado grande"));
      const QByteArray data = r.Bytes(qsizetype(size), "imagem");
      TPicture p;
      try {
        p.LoadFromData(data, ext);
      } catch (const Exception& e) {
        Fail(e.Message);
      } catch (const std::exception&) {
        Fail(Tr("imagem ilegível"));
      }
      if (p.Empty()) Fail(Tr("imagem vazia"));
      return p;
    }
  }
  Fail(Tr("tipo de valor desconhecido"));
}

struct DecodedObject {
  const ObjectClass* cls = nullptr;
  // One slot per property of the class, in its setting order.
  std::vector<std::optional<TStreamValue>> values;
};

DecodedObject Decode(const QByteArray& bytes) {
  constexpr qsizetype headerSize = 8 + 2 + 4;
  if (bytes.size() > MaxObjectStreamBytes) Fail(Tr("dados demasiado grandes"));
  if (bytes.size() < headerSize) Fail(Tr("dados truncados no cabeçalho"));
  if (std::memcmp(bytes.constData(), ObjectStreamMagic, sizeof ObjectStreamMagic) != 0)
    Fail(Tr("não é um objecto do Lurns"));
  Reader header(bytes, 8, headerSize);
  const std::uint16_t version = header.U16("versão");
  if (version != ObjectStreamVersion)
    Fail(Tr("versão %1 desconhecida (esta versão do programa lê a %2)")
             .arg(version)
             .arg(ObjectStreamVersion));
  const std::uint32_t bodySize = header.U32("comprimento");
  const qsizetype actual = bytes.size() - headerSize;
  if (qsizetype(bodySize) > actual) Fail(Tr("dados truncados"));
  if (qsizetype(bodySize) < actual) Fail(Tr("bytes a mais depois do objecto"));

  Reader r(bytes, headerSize, bytes.size());
  const QByteArray className = r.Bytes(r.U8("classe"), "classe");
  if (!ValidName(className)) Fail(Tr("nome de classe inválido"));
  DecodedObject d;
  d.cls = FindClass(QString::fromLatin1(className));
  if (!d.cls) Fail(Tr("classe desconhecida: %1").arg(QString::fromLatin1(className)));
  d.values.resize(d.cls->properties.size());

  const std::uint16_t count = r.U16("número de propriedades");
  if (count > MaxObjectProperties) Fail(Tr("propriedades a mais"));
  for (int i = 0; i < count; ++i) {
    const QByteArray name = r.Bytes(r.U8("propriedade"), "propriedade");
    if (!ValidName(name)) Fail(Tr("nome de propriedade inválido"));
    const QString pname = QString::fromLatin1(name);
    const auto& props = d.cls->properties;
    auto it = std::find_if(props.begin(), props.end(),
                           [&](const TObjectProperty& p) { return p.name == pname; });
    if (it == props.end()) Fail(Tr("propriedade desconhecida: %1").arg(pname));
    const std::size_t index = std::size_t(it - props.begin());
    if (d.values[index]) Fail(Tr("propriedade repetida: %1").arg(pname));
    const auto kind = TStreamKind(r.U8("tipo"));
    if (kind != it->kind) Fail(Tr("tipo errado da propriedade %1").arg(pname));
    const std::uint32_t length = r.U32("comprimento");
    if (length > std::uint32_t(r.Left())) Fail(Tr("dados truncados em %1").arg(pname));
    Reader payload = r.Sub(qsizetype(length), "valor");
    TStreamValue v = DecodePayload(kind, payload);
    if (!payload.AtEnd()) Fail(Tr("bytes a mais no valor de %1").arg(pname));
    if (it->check) {
      if (QString e = it->check(v); !e.isEmpty()) Fail(pname + QLatin1String(": ") + e);
    }
    d.values[index] = std::move(v);
  }
  if (!r.AtEnd()) Fail(Tr("bytes a mais depois do objecto"));
  return d;
}

}  // namespace

// ---------------------------------------------------------------------------

QByteArray WriteObject(const QWidget* object) {
  if (!object) return {};
  const ObjectClass* cls = FindClass(QString::fromLatin1(object->metaObject()->className()));
  if (!cls) return {};
  // The defaults are those of a fresh object of the class, made without a
  // parent so that nothing is inherited from a sheet.
  std::unique_ptr<QWidget> fresh(cls->factory(nullptr));

  const QByteArray className(object->metaObject()->className());
  if (!ValidName(className)) return {};
  Writer body;
  body.ShortBytes(className);
  QByteArray props;
  int count = 0;
  for (const TObjectProperty& p : cls->properties) {
    if (p.stored && !p.stored(object)) continue;
    const TStreamValue v = p.get(object);
    if (!KindHolds(p.kind, v)) return {};
    const bool freshStores = !p.stored || p.stored(fresh.get());
    if (freshStores && SameValue(v, p.get(fresh.get()))) continue;
    if (p.check && !p.check(v).isEmpty()) return {};
    const QByteArray name = p.name.toLatin1();
    if (!ValidName(name)) return {};
    const QByteArray payload = Payload(v);
    Writer w;
    w.ShortBytes(name);
    w.U8(std::uint8_t(p.kind));
    w.U32(std::uint32_t(payload.size()));
    w.Bytes(payload);
    props.append(w.Out());
    ++count;
  }
  if (count > MaxObjectProperties) return {};
  body.U16(std::uint16_t(count));
  body.Bytes(props);

  Writer out;
  out.Bytes(QByteArray(ObjectStreamMagic, sizeof ObjectStreamMagic));
  out.U16(ObjectStreamVersion);
  out.U32(std::uint32_t(body.Out().size()));
  out.Bytes(body.Out());
  if (out.Out().size() > MaxObjectStreamBytes) return {};
  return out.Out();
}

QWidget* ReadObject(const QByteArray& bytes, QWidget* parent, QString* error) {
  DecodedObject d;
  try {
    d = Decode(bytes);
  } catch (const StreamError& e) {
    if (error) *error = Tr("O conteúdo da transferência não é um objecto válido: %1.").arg(e.message);
    return nullptr;
  }
  if (error) error->clear();

  // Everything is checked; from here on nothing can fail.
  QWidget* w = d.cls->factory(parent);
  const auto& props = d.cls->properties;
  std::vector<TStreamValue> defaults;
  defaults.reserve(props.size());
  for (const TObjectProperty& p : props) defaults.push_back(p.get(w));

  // Every property is set, from the stream or to the class default, so
  // that a setter's side effect on another property (Angle switching
  // AutoSize off) is undone when the copied object had it otherwise.
  auto set = [&](std::size_t i) {
    const TObjectProperty& p = props[i];
    if (d.values[i])
      p.set(w, *d.values[i]);
    else if (!p.stored)
      p.set(w, defaults[i]);
  };
  for (std::size_t i = 0; i < props.size(); ++i)
    if (props[i].early) set(i);
  for (std::size_t i = 0; i < props.size(); ++i)
    if (!props[i].early) set(i);
  for (std::size_t i = 0; i < props.size(); ++i)
    if (props[i].early) set(i);
  return w;
}

void RegisterObjectClass(const QString& className, TObjectFactory factory,
                         std::vector<TObjectProperty> properties) {
  Registry()[className] = ObjectClass{std::move(factory), std::move(properties)};
}

bool IsObjectClassRegistered(const QString& className) { return FindClass(className) != nullptr; }

QStringList ObjectClassProperties(const QString& className) {
  QStringList names;
  if (const ObjectClass* cls = FindClass(className))
    for (const TObjectProperty& p : cls->properties) names << p.name;
  return names;
}
