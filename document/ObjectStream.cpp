// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/ObjectStream.h"

#include "platform/PictureLoader.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <exception>
#include <functional>
#include <variant>
#include <vector>

namespace {

QString Tr(const char* text) { return QString::fromUtf8(text); }

// ---------------------------------------------------------------------------
// Values and the property tables

using Value = std::variant<bool, std::int32_t, QString, QRect, TFonteDoc, TPicture>;

struct Property {
  const char* name;
  TStreamKind kind;
  std::function<Value(const TObjecto&)> get;
  std::function<void(TObjecto&, const Value&)> set;
  // Why a value is not acceptable, or an empty string.  The kind's own
  // limits (lengths, bytes that decode) are checked before this.
  std::function<QString(const Value&)> check;
};

bool SamePicture(const TPicture& a, const TPicture& b) {
  if (a.Empty() || b.Empty()) return a.Empty() == b.Empty();
  return a == b || (a.Format() == b.Format() && a.Data() == b.Data());
}

bool SameValue(const Value& a, const Value& b) {
  if (a.index() != b.index()) return false;
  if (auto* p = std::get_if<TPicture>(&a)) return SamePicture(*p, std::get<TPicture>(b));
  return a == b;
}

bool KindHolds(TStreamKind kind, const Value& v) {
  switch (kind) {
    case TStreamKind::Bool: return std::holds_alternative<bool>(v);
    case TStreamKind::Int: return std::holds_alternative<std::int32_t>(v);
    case TStreamKind::String: return std::holds_alternative<QString>(v);
    case TStreamKind::Rect: return std::holds_alternative<QRect>(v);
    case TStreamKind::Font: return std::holds_alternative<TFonteDoc>(v);
    case TStreamKind::Picture: return std::holds_alternative<TPicture>(v);
    case TStreamKind::Colour: return false;
  }
  return false;
}

QString CheckFont(const TFonteDoc& f) {
  if (QString e = CheckFontName(f.Nome); !e.isEmpty()) return e;
  if (QString e = CheckFontStyle(f.Estilo); !e.isEmpty()) return e;
  if (QString e = CheckColour(f.Cor); !e.isEmpty()) return e;
  return CheckFontSize(f.Tamanho);
}

QString CheckPicture(const TPicture& p) {
  // An empty picture is the default and never travels.
  if (p.Empty()) return Tr("imagem vazia");
  if (!PictureExtensions().contains(p.Format())) return Tr("formato de imagem desconhecido");
  if (p.Data().size() > MaxObjectPictureBytes) return Tr("imagem demasiado grande");
  return {};
}

Property BoundsProperty() {
  return {"Bounds", TStreamKind::Rect, [](const TObjecto& o) -> Value { return o.Limites(); },
          [](TObjecto& o, const Value& v) {
            const QRect& r = std::get<QRect>(v);
            o.Left = r.x();
            o.Top = r.y();
            o.Width = r.width();
            o.Height = r.height();
          },
          [](const Value& v) {
            const QRect& r = std::get<QRect>(v);
            return CheckBounds(r.x(), r.y(), r.width(), r.height());
          }};
}

Property StringProperty(const char* name, QString TObjecto::*text, QString TImagemDoc::*file = nullptr) {
  Property p;
  p.name = name;
  p.kind = TStreamKind::String;
  if (file) {
    p.get = [file](const TObjecto& o) -> Value { return o.Imagem.*file; };
    p.set = [file](TObjecto& o, const Value& v) { o.Imagem.*file = std::get<QString>(v); };
  } else {
    p.get = [text](const TObjecto& o) -> Value { return o.*text; };
    p.set = [text](TObjecto& o, const Value& v) { o.*text = std::get<QString>(v); };
  }
  p.check = [](const Value& v) { return CheckString(std::get<QString>(v)); };
  return p;
}

// The properties of each class, in the order they are written.
const std::vector<Property>& TextProperties() {
  static const std::vector<Property> props = {
      BoundsProperty(),
      StringProperty("Caption", &TObjecto::Texto),
      {"Font", TStreamKind::Font, [](const TObjecto& o) -> Value { return o.Fonte; },
       [](TObjecto& o, const Value& v) { o.Fonte = std::get<TFonteDoc>(v); },
       [](const Value& v) { return CheckFont(std::get<TFonteDoc>(v)); }},
      {"Angle", TStreamKind::Int, [](const TObjecto& o) -> Value { return std::int32_t(o.Angulo); },
       [](TObjecto& o, const Value& v) { o.Angulo = std::get<std::int32_t>(v); },
       [](const Value& v) { return CheckAngle(std::get<std::int32_t>(v)); }},
      {"AutoSize", TStreamKind::Bool, [](const TObjecto& o) -> Value { return o.TamanhoAutomatico; },
       [](TObjecto& o, const Value& v) { o.TamanhoAutomatico = std::get<bool>(v); }, nullptr},
  };
  return props;
}

const std::vector<Property>& PictureProperties() {
  static const std::vector<Property> props = {
      BoundsProperty(),
      {"Picture", TStreamKind::Picture, [](const TObjecto& o) -> Value { return o.Imagem.Imagem; },
       [](TObjecto& o, const Value& v) { o.Imagem.Imagem = std::get<TPicture>(v); },
       [](const Value& v) { return CheckPicture(std::get<TPicture>(v)); }},
      StringProperty("Hint", nullptr, &TImagemDoc::Ficheiro),
  };
  return props;
}

const std::vector<Property>* PropertiesOf(const QString& className) {
  if (className == QLatin1String("TProLabel")) return &TextProperties();
  if (className == QLatin1String("TProImage")) return &PictureProperties();
  return nullptr;
}

TObjecto NewObject(const QString& className) {
  return className == QLatin1String("TProImage") ? TObjecto::NovaImagem() : TObjecto::NovoTexto();
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

QByteArray Payload(const Value& v) {
  Writer w;
  if (auto* b = std::get_if<bool>(&v)) {
    w.U8(*b ? 1 : 0);
  } else if (auto* i = std::get_if<std::int32_t>(&v)) {
    w.I32(*i);
  } else if (auto* s = std::get_if<QString>(&v)) {
    w.Bytes(s->toUtf8());
  } else if (auto* r = std::get_if<QRect>(&v)) {
    w.I32(r->x());
    w.I32(r->y());
    w.I32(r->width());
    w.I32(r->height());
  } else if (auto* f = std::get_if<TFonteDoc>(&v)) {
    const QByteArray name = f->Nome.toUtf8();
    w.U16(std::uint16_t(name.size()));
    w.Bytes(name);
    w.U8(f->Charset);
    w.U32(f->Cor);
    w.U8(f->Estilo);
    w.I32(f->Tamanho);
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

Value DecodePayload(TStreamKind kind, Reader& r) {
  switch (kind) {
    case TStreamKind::Bool: {
      const std::uint8_t b = r.U8("valor lógico");
      if (b > 1) Fail(Tr("valor lógico inválido"));
      return b == 1;
    }
    case TStreamKind::Int: return r.I32("inteiro");
    case TStreamKind::String: {
      if (r.Left() > MaxObjectStringBytes) Fail(Tr("texto demasiado longo"));
      return Utf8(r.Bytes(r.Left(), "texto"), "texto");
    }
    case TStreamKind::Rect: {
      const std::int32_t x = r.I32("limites"), y = r.I32("limites");
      const std::int32_t w = r.I32("limites"), h = r.I32("limites");
      // Checked before a QRect is made: its right and bottom edges are
      // computed from these and must not overflow.
      if (!CheckBounds(x, y, w, h).isEmpty()) Fail(Tr("limites fora do intervalo"));
      return QRect(x, y, w, h);
    }
    case TStreamKind::Font: {
      TFonteDoc f;
      const std::uint16_t n = r.U16("nome de letra");
      if (n > MaxObjectFontNameBytes) Fail(Tr("nome de letra demasiado longo"));
      f.Nome = Utf8(r.Bytes(n, "nome de letra"), "nome de letra");
      f.Charset = r.U8("letra");
      f.Cor = r.U32("letra");
      const std::uint8_t style = r.U8("letra");
      if (!CheckFontStyle(style).isEmpty()) Fail(Tr("estilo de letra inválido"));
      f.Estilo = style;
      const std::int32_t size = r.I32("letra");
      if (!CheckFontSize(size).isEmpty()) Fail(Tr("tamanho de letra inválido"));
      f.Tamanho = size;
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
    case TStreamKind::Colour: break;
  }
  Fail(Tr("tipo de valor desconhecido"));
}

TObjecto Decode(const QByteArray& bytes) {
  constexpr qsizetype headerSize = 8 + 2 + 4;
  if (bytes.size() > MaxObjectStreamBytes) Fail(Tr("dados demasiado grandes"));
  if (bytes.size() < headerSize) Fail(Tr("dados truncados no cabeçalho"));
  if (std::memcmp(bytes.constData(), ObjectStreamMagic, sizeof ObjectStreamMagic) != 0)
    Fail(Tr("não é um objecto do Lurns"));
  Reader header(bytes, 8, headerSize);
  const std::uint16_t version = header.U16("versão");
  if (version != ObjectStreamVersion)
    Fail(Tr("versão %1 desconhecida (esta versão do programa lê a %2)").arg(version).arg(ObjectStreamVersion));
  const std::uint32_t bodySize = header.U32("comprimento");
  const qsizetype actual = bytes.size() - headerSize;
  if (qsizetype(bodySize) > actual) Fail(Tr("dados truncados"));
  if (qsizetype(bodySize) < actual) Fail(Tr("bytes a mais depois do objecto"));

  Reader r(bytes, headerSize, bytes.size());
  const QByteArray className = r.Bytes(r.U8("classe"), "classe");
  if (!ValidName(className)) Fail(Tr("nome de classe inválido"));
  const QString cls = QString::fromLatin1(className);
  const std::vector<Property>* props = PropertiesOf(cls);
  if (!props) Fail(Tr("classe desconhecida: %1").arg(cls));

  std::vector<std::optional<Value>> values(props->size());
  const std::uint16_t count = r.U16("número de propriedades");
  if (count > MaxObjectProperties) Fail(Tr("propriedades a mais"));
  for (int i = 0; i < count; ++i) {
    const QByteArray name = r.Bytes(r.U8("propriedade"), "propriedade");
    if (!ValidName(name)) Fail(Tr("nome de propriedade inválido"));
    const QString pname = QString::fromLatin1(name);
    auto it = std::find_if(props->begin(), props->end(),
                           [&](const Property& p) { return pname == QLatin1String(p.name); });
    if (it == props->end()) Fail(Tr("propriedade desconhecida: %1").arg(pname));
    const std::size_t index = std::size_t(it - props->begin());
    if (values[index]) Fail(Tr("propriedade repetida: %1").arg(pname));
    const auto kind = TStreamKind(r.U8("tipo"));
    if (kind != it->kind) Fail(Tr("tipo errado da propriedade %1").arg(pname));
    const std::uint32_t length = r.U32("comprimento");
    if (length > std::uint32_t(r.Left())) Fail(Tr("dados truncados em %1").arg(pname));
    Reader payload = r.Sub(qsizetype(length), "valor");
    Value v = DecodePayload(kind, payload);
    if (!payload.AtEnd()) Fail(Tr("bytes a mais no valor de %1").arg(pname));
    if (it->check) {
      if (QString e = it->check(v); !e.isEmpty()) Fail(pname + QLatin1String(": ") + e);
    }
    values[index] = std::move(v);
  }
  if (!r.AtEnd()) Fail(Tr("bytes a mais depois do objecto"));

  // Everything is checked; the object is made only now.
  TObjecto o = NewObject(cls);
  for (std::size_t i = 0; i < props->size(); ++i)
    if (values[i]) (*props)[i].set(o, *values[i]);
  return o;
}

}  // namespace

// ---------------------------------------------------------------------------

QString ObjectClassName(TTipoObjecto kind) {
  return kind == TTipoObjecto::Imagem ? QStringLiteral("TProImage") : QStringLiteral("TProLabel");
}

QStringList ObjectClassProperties(const QString& className) {
  QStringList names;
  if (const std::vector<Property>* props = PropertiesOf(className))
    for (const Property& p : *props) names << QString::fromLatin1(p.name);
  return names;
}

QByteArray WriteObject(const TObjecto& object, QString* error) {
  auto refused = [error](const QString& why) {
    if (error) *error = Tr("Não foi possível copiar o objecto para a transferência: %1.").arg(why);
    return QByteArray();
  };
  const QString cls = ObjectClassName(object.Tipo);
  const std::vector<Property>& props = *PropertiesOf(cls);
  const TObjecto fresh = NewObject(cls);

  Writer body;
  body.ShortBytes(cls.toLatin1());
  QByteArray written;
  int count = 0;
  for (const Property& p : props) {
    const Value v = p.get(object);
    if (!KindHolds(p.kind, v)) return refused(Tr("valor de tipo errado"));
    if (SameValue(v, p.get(fresh))) continue;
    if (p.check) {
      if (const QString e = p.check(v); !e.isEmpty()) return refused(e);
    }
    const QByteArray payload = Payload(v);
    Writer w;
    w.ShortBytes(QByteArray(p.name));
    w.U8(std::uint8_t(p.kind));
    w.U32(std::uint32_t(payload.size()));
    w.Bytes(payload);
    written.append(w.Out());
    ++count;
  }
  body.U16(std::uint16_t(count));
  body.Bytes(written);

  Writer out;
  out.Bytes(QByteArray(ObjectStreamMagic, sizeof ObjectStreamMagic));
  out.U16(ObjectStreamVersion);
  out.U32(std::uint32_t(body.Out().size()));
  out.Bytes(body.Out());
  if (out.Out().size() > MaxObjectStreamBytes) return refused(Tr("objecto demasiado grande"));
  if (error) error->clear();
  return out.Out();
}

std::optional<TObjecto> ReadObject(const QByteArray& bytes, QString* error) {
  try {
    TObjecto o = Decode(bytes);
    if (error) error->clear();
    return o;
  } catch (const StreamError& e) {
    if (error) *error = Tr("O conteúdo da transferência não é um objecto válido: %1.").arg(e.message);
    return std::nullopt;
  }
}
