// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracks/Faixas.h"

#include "document/CoverRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <climits>
#include <cmath>

#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tpropertymap.h>

const char* const FormatoFaixaPadrao = "{n}. {t} \u2014 {d}";

namespace {

QString DeTagLib(const TagLib::String& s) { return QString::fromStdWString(s.toWString()).trimmed(); }

// The first number of a tag such as "3" or "3/12".
int Numero(const QString& s) {
  static const QRegularExpression re(QStringLiteral("^\\s*(\\d+)"));
  const auto m = re.match(s);
  return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The value most of the tracks agree on (empty when none is given, or
// when they do not agree on one for more than half of them).
QString Comum(const QStringList& valores) {
  QMap<QString, int> conta;
  for (const QString& v : valores)
    if (!v.isEmpty()) ++conta[v];
  QString melhor;
  int n = 0;
  for (auto it = conta.cbegin(); it != conta.cend(); ++it)
    if (it.value() > n) {
      melhor = it.key();
      n = it.value();
    }
  return n * 2 > valores.size() ? melhor : QString();
}

qint64 DuracaoFicheiro(const QString& path) {
  TagLib::FileRef f(QFile::encodeName(path).constData(), true, TagLib::AudioProperties::Fast);
  if (f.isNull() || !f.audioProperties()) return -1;
  return f.audioProperties()->lengthInMilliseconds();
}

QByteArray Ler(const QString& ficheiro, QString& erro) {
  QFile f(ficheiro);
  if (!f.open(QIODevice::ReadOnly)) {
    erro = QStringLiteral("Não foi possível ler o ficheiro %1.").arg(QDir::toNativeSeparators(ficheiro));
    return {};
  }
  return f.readAll();
}

// Splits a CUE line into its words; a quoted word keeps its spaces.
QStringList Palavras(const QString& linha, bool& aspasAbertas) {
  QStringList out;
  QString cur;
  bool aspas = false, tem = false;
  for (const QChar c : linha) {
    if (c == QLatin1Char('"')) {
      aspas = !aspas;
      tem = true;
    } else if (c.isSpace() && !aspas) {
      if (tem) out << cur;
      cur.clear();
      tem = false;
    } else {
      cur += c;
      tem = true;
    }
  }
  if (tem) out << cur;
  aspasAbertas = aspas;
  return out;
}

// mm:ss:ff (75 frames a second) as milliseconds, or -1.
qint64 TempoCue(const QString& s) {
  static const QRegularExpression re(QStringLiteral("^(\\d{1,4}):(\\d{1,2}):(\\d{1,2})$"));
  const auto m = re.match(s);
  if (!m.hasMatch()) return -1;
  const int sec = m.captured(2).toInt(), fr = m.captured(3).toInt();
  if (sec > 59 || fr > 74) return -1;
  return (m.captured(1).toLongLong() * 60 + sec) * 1000 + fr * 1000 / 75;
}

}  // namespace

QStringList ExtensoesAudio() {
  return {QStringLiteral("flac"), QStringLiteral("ogg"), QStringLiteral("oga"),
          QStringLiteral("opus"), QStringLiteral("mp3"), QStringLiteral("m4a"),
          QStringLiteral("mp4"),  QStringLiteral("wav")};
}

QString TextoDeBytes(const QByteArray& bytes) {
  QByteArray b = bytes;
  if (b.startsWith("\xEF\xBB\xBF")) b.remove(0, 3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString s = utf8(b);
  if (!utf8.hasError()) return s;
  return DeWindows1252(bytes);
}

TLeituraFaixas LerPastaAudio(const QString& pasta) {
  TLeituraFaixas r;
  const QFileInfo info(pasta);
  if (!info.isDir()) {
    r.Erro = QStringLiteral("A pasta %1 não existe.").arg(QDir::toNativeSeparators(pasta));
    return r;
  }
  const QStringList ext = ExtensoesAudio();
  QStringList ficheiros;
  for (const QFileInfo& f : QDir(pasta).entryInfoList(QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name))
    if (ext.contains(f.suffix().toLower())) ficheiros << f.absoluteFilePath();
  // Files the user may not read are passed over too.
  for (const QFileInfo& f : QDir(pasta).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
    if (ext.contains(f.suffix().toLower()) && !f.isReadable())
      r.Ignorados << QStringLiteral("%1: não pode ser lido").arg(f.fileName());
  if (ficheiros.isEmpty() && r.Ignorados.isEmpty()) {
    r.Erro = QStringLiteral("A pasta %1 não tem ficheiros de música (%2).")
                 .arg(QDir::toNativeSeparators(pasta), ext.join(QStringLiteral(", ")));
    return r;
  }
  QStringList albuns, artistasAlbum, artistas;
  for (const QString& path : ficheiros) {
    const QString nome = QFileInfo(path).fileName();
    TagLib::FileRef f(QFile::encodeName(path).constData(), true, TagLib::AudioProperties::Fast);
    // A file whose sound cannot be found is no track, whatever its name.
    if (f.isNull() || !f.file() || !f.file()->isValid() || !f.audioProperties() ||
        f.audioProperties()->lengthInMilliseconds() <= 0) {
      r.Ignorados << QStringLiteral("%1: não é um ficheiro de música que se possa ler").arg(nome);
      continue;
    }
    TFaixa t;
    t.Ficheiro = path;
    if (const TagLib::Tag* tag = f.tag()) {
      t.Titulo = DeTagLib(tag->title());
      t.Artista = DeTagLib(tag->artist());
      t.Numero = int(tag->track());
      albuns << DeTagLib(tag->album());
    }
    const TagLib::PropertyMap p = f.file()->properties();
    if (p.contains("DISCNUMBER")) t.Disco = Numero(DeTagLib(p["DISCNUMBER"].front()));
    if (t.Numero == 0 && p.contains("TRACKNUMBER")) t.Numero = Numero(DeTagLib(p["TRACKNUMBER"].front()));
    if (p.contains("ALBUMARTIST")) artistasAlbum << DeTagLib(p["ALBUMARTIST"].front());
    if (t.Titulo.isEmpty()) t.Titulo = QFileInfo(path).completeBaseName();
    if (f.audioProperties()) t.DuracaoMs = f.audioProperties()->lengthInMilliseconds();
    artistas << t.Artista;
    r.Lista.Faixas.push_back(t);
  }
  if (r.Lista.Faixas.empty()) {
    r.Erro = QStringLiteral("Nenhum ficheiro de música da pasta %1 pôde ser lido:\n%2")
                 .arg(QDir::toNativeSeparators(pasta), r.Ignorados.join(QLatin1Char('\n')));
    return r;
  }
  // A file that does not say its disc is on the first (a one-disc album
  // rarely says); one that does not say its number comes after those that
  // do, by file name.
  std::stable_sort(r.Lista.Faixas.begin(), r.Lista.Faixas.end(), [](const TFaixa& a, const TFaixa& b) {
    const int na = a.Numero > 0 ? a.Numero : INT_MAX, nb = b.Numero > 0 ? b.Numero : INT_MAX;
    const int da = std::max(1, a.Disco), db = std::max(1, b.Disco);
    if (da != db) return da < db;
    if (na != nb) return na < nb;
    return QFileInfo(a.Ficheiro).fileName().localeAwareCompare(QFileInfo(b.Ficheiro).fileName()) < 0;
  });
  r.Lista.Album = Comum(albuns);
  r.Lista.Artista = Comum(artistasAlbum);
  if (r.Lista.Artista.isEmpty()) r.Lista.Artista = Comum(artistas);
  return r;
}

TLeituraFaixas LerCue(const QString& ficheiro) {
  TLeituraFaixas r;
  const QByteArray bytes = Ler(ficheiro, r.Erro);
  if (!r.Erro.isEmpty()) return r;
  const QDir pasta = QFileInfo(ficheiro).absoluteDir();
  const QStringList linhas =
      TextoDeBytes(bytes).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
  // Every TRACK in order, audio or not: a data track ends the audio track
  // before it too.
  struct TEntrada {
    int faixa = -1;  // its place in the list; -1 for a data track
    qint64 inicio = -1;
    QString ficheiro;
  };
  std::vector<TEntrada> entradas;
  QString ficheiroAtual;
  auto erro = [&](int linha, const QString& porque) {
    TLeituraFaixas e;
    e.Erro = QStringLiteral("A folha CUE %1 tem um erro na linha %2: %3")
                 .arg(QFileInfo(ficheiro).fileName())
                 .arg(linha)
                 .arg(porque);
    return e;
  };
  for (int i = 0; i < linhas.size(); ++i) {
    const int n = i + 1;
    bool aspasAbertas = false;
    const QStringList w = Palavras(linhas[i].trimmed(), aspasAbertas);
    if (w.isEmpty()) continue;
    if (aspasAbertas) return erro(n, QStringLiteral("aspas por fechar."));
    const QString cmd = w[0].toUpper();
    static const QStringList ignorados = {"REM",   "CATALOG", "CDTEXTFILE", "FLAGS",
                                          "ISRC",  "PREGAP",  "POSTGAP",    "SONGWRITER"};
    if (ignorados.contains(cmd)) continue;
    if (cmd == QLatin1String("FILE")) {
      if (w.size() < 2 || w[1].isEmpty()) return erro(n, QStringLiteral("FILE sem o nome do ficheiro."));
      ficheiroAtual = pasta.absoluteFilePath(w[1]);
    } else if (cmd == QLatin1String("TITLE") || cmd == QLatin1String("PERFORMER")) {
      if (w.size() < 2) return erro(n, cmd + QStringLiteral(" sem texto."));
      const QString valor = QStringList(w.mid(1)).join(QLatin1Char(' ')).trimmed();
      const bool titulo = cmd == QLatin1String("TITLE");
      if (entradas.empty()) {
        (titulo ? r.Lista.Album : r.Lista.Artista) = valor;
      } else if (entradas.back().faixa >= 0) {
        TFaixa& t = r.Lista.Faixas[size_t(entradas.back().faixa)];
        (titulo ? t.Titulo : t.Artista) = valor;
      }
    } else if (cmd == QLatin1String("TRACK")) {
      bool ok = false;
      const int numero = w.value(1).toInt(&ok);
      if (w.size() < 3 || !ok || numero < 1 || numero > 99)
        return erro(n, QStringLiteral("TRACK precisa de um número de 1 a 99 e de um tipo."));
      if (ficheiroAtual.isEmpty()) return erro(n, QStringLiteral("TRACK antes de FILE."));
      TEntrada e;
      e.ficheiro = ficheiroAtual;
      if (w[2].toUpper() == QLatin1String("AUDIO")) {
        TFaixa t;
        t.Numero = numero;
        t.Ficheiro = ficheiroAtual;
        e.faixa = int(r.Lista.Faixas.size());
        r.Lista.Faixas.push_back(t);
      }
      entradas.push_back(e);
    } else if (cmd == QLatin1String("INDEX")) {
      if (entradas.empty()) return erro(n, QStringLiteral("INDEX antes de TRACK."));
      bool ok = false;
      const int indice = w.value(1).toInt(&ok);
      const qint64 ms = TempoCue(w.value(2));
      if (!ok || ms < 0) return erro(n, QStringLiteral("INDEX precisa de um número e de um tempo mm:ss:ff."));
      if (indice == 1) entradas.back().inicio = ms;
    } else {
      return erro(n, QStringLiteral("comando desconhecido %1.").arg(w[0]));
    }
  }
  if (r.Lista.Faixas.empty()) {
    r.Erro = QStringLiteral("A folha CUE %1 não tem faixas de áudio.").arg(QFileInfo(ficheiro).fileName());
    return r;
  }
  // Lengths: up to the next start in the same file, or to the file's end.
  QMap<QString, qint64> comprimentos;
  for (size_t i = 0; i < entradas.size(); ++i) {
    const TEntrada& e = entradas[i];
    if (e.faixa < 0 || e.inicio < 0) continue;
    TFaixa& t = r.Lista.Faixas[size_t(e.faixa)];
    qint64 fim = -1;
    for (size_t j = i + 1; j < entradas.size() && fim < 0; ++j) {
      if (entradas[j].ficheiro != e.ficheiro) break;
      fim = entradas[j].inicio;
    }
    if (fim < 0) {
      if (!comprimentos.contains(e.ficheiro))
        comprimentos[e.ficheiro] = QFileInfo::exists(e.ficheiro) ? DuracaoFicheiro(e.ficheiro) : -1;
      fim = comprimentos[e.ficheiro];
    }
    if (fim > e.inicio) t.DuracaoMs = fim - e.inicio;
  }
  for (TFaixa& t : r.Lista.Faixas)
    if (t.Titulo.isEmpty()) t.Titulo = QStringLiteral("Faixa %1").arg(t.Numero);
  return r;
}

TLeituraFaixas LerListaTexto(const QString& ficheiro) {
  TLeituraFaixas r;
  const QByteArray bytes = Ler(ficheiro, r.Erro);
  if (!r.Erro.isEmpty()) return r;
  // "1. Title", "01 - Title", "3) Title 3:45", "Title (4:02)".
  static const QRegularExpression numero(QStringLiteral("^\\s*(\\d{1,3})\\s*(?:[.)\\-\u2013\u2014:]\\s*|\\s+)(.*)$"));
  static const QRegularExpression duracao(
      QStringLiteral("^(.*?)[\\s\\-\u2013\u2014]*[(\\[]?(\\d{1,3}):(\\d{2})(?::(\\d{2}))?[)\\]]?\\s*$"));
  for (QString linha : TextoDeBytes(bytes).split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")))) {
    linha = linha.trimmed();
    if (linha.isEmpty()) continue;
    TFaixa t;
    if (const auto m = numero.match(linha); m.hasMatch() && !m.captured(2).trimmed().isEmpty()) {
      t.Numero = m.captured(1).toInt();
      linha = m.captured(2).trimmed();
    }
    if (const auto m = duracao.match(linha); m.hasMatch() && !m.captured(1).trimmed().isEmpty()) {
      const bool horas = !m.captured(4).isEmpty();
      const qint64 a = m.captured(2).toLongLong(), b = m.captured(3).toLongLong();
      const qint64 c = horas ? m.captured(4).toLongLong() : 0;
      if (b < 60 && c < 60) {
        t.DuracaoMs = (horas ? (a * 3600 + b * 60 + c) : (a * 60 + b)) * 1000;
        linha = m.captured(1).trimmed();
      }
    }
    t.Titulo = linha;
    r.Lista.Faixas.push_back(t);
  }
  if (r.Lista.Faixas.empty())
    r.Erro = QStringLiteral("O ficheiro %1 não tem faixas.").arg(QFileInfo(ficheiro).fileName());
  return r;
}

TLeituraFaixas LerFaixas(const QString& origem) {
  const QFileInfo info(origem);
  if (info.isDir()) return LerPastaAudio(origem);
  if (!info.exists()) {
    TLeituraFaixas r;
    r.Erro = QStringLiteral("%1 não existe.").arg(QDir::toNativeSeparators(origem));
    return r;
  }
  if (info.suffix().compare(QLatin1String("cue"), Qt::CaseInsensitive) == 0) return LerCue(origem);
  return LerListaTexto(origem);
}

QString Duracao(qint64 ms) {
  if (ms < 0) return {};
  const qint64 s = (ms + 500) / 1000;
  if (s >= 3600)
    return QStringLiteral("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
  return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString LinhaDeFaixa(const TFaixa& t, const QString& formato) {
  // The format as text, field, text, field, ..., text.  A field's value
  // follows the text before it; a field that is not known goes with that
  // text (and the last one with the text after it too).
  QStringList textos{QString()};
  QList<QString> valores;
  QList<bool> conhecidos;
  for (int i = 0; i < formato.size(); ++i) {
    if (formato.at(i) == QLatin1Char('{') && i + 2 < formato.size() && formato.at(i + 2) == QLatin1Char('}')) {
      QString valor;
      bool campo = true;
      switch (formato.at(i + 1).unicode()) {
        case 'n': valor = t.Numero > 0 ? QString::number(t.Numero) : QString(); break;
        case 't': valor = t.Titulo; break;
        case 'a': valor = t.Artista; break;
        case 'd': valor = Duracao(t.DuracaoMs); break;
        default: campo = false; break;
      }
      if (campo) {
        valores << valor;
        conhecidos << !valor.isEmpty();
        textos << QString();
        i += 2;
        continue;
      }
    }
    textos.last() += formato.at(i);
  }
  QString out;
  bool algum = false;
  for (int i = 0; i < valores.size(); ++i) {
    if (!conhecidos[i]) continue;
    // The text before the first field leads the line only when that field
    // is known; between fields it separates two known ones.
    if (algum || i == 0) out += textos[i];
    out += valores[i];
    algum = true;
  }
  if (valores.isEmpty()) return formato.trimmed();
  if (conhecidos.last()) out += textos.last();
  return out.trimmed();
}

QStringList LinhasDeFaixas(const TListaFaixas& lista, const QString& formato) {
  QStringList out;
  int lugar = 0;
  for (TFaixa t : lista.Faixas) {
    ++lugar;
    if (t.Numero <= 0) t.Numero = lugar;
    out << LinhaDeFaixa(t, formato);
  }
  return out;
}
