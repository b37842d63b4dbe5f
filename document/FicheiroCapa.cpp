// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/FicheiroCapa.h"

#include "document/Limites.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
TMensagem Aviso(const char* texto) { return {TMensagem::Aviso, QString::fromUtf8(texto)}; }

int FolhaPorCodigo(const QString& codigo) {
  for (int folha = folhaFrente; folha <= folhaCD; ++folha)
    if (codigo == CodigoFolha(folha)) return folha;
  return 0;
}

bool CabeNoRegisto(const QString& nome) {
  bool perdidos = false;
  return ParaWindows1252(nome, &perdidos).size() <= kCapacidadeTexto && !perdidos;
}

bool MesmaPasta(const QString& a, const QString& b) {
  if (QDir::cleanPath(a) == QDir::cleanPath(b)) return true;
  const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
  return !ca.isEmpty() && ca == cb;
}

// The first folder of a full name ("home" of "/home/ana/capas").
QString PrimeiraPasta(const QString& completo) {
  return completo.section(QLatin1Char('/'), 0, 0, QString::SectionSkipEmpty);
}

TCoverRecord RegistoFundo(const TDocumento& doc, TFundo fundo) {
  TCoverRecord r;
  r.Tipo = QStringLiteral("TProImage");
  r.Folha = CodigoFundo(fundo);
  r.Texto = doc.Fundo(fundo).Ficheiro;
  // Where the background control lies; written, never read back.
  const QRect b = LimitesFundo(fundo);
  r.Left = b.x();
  r.Top = b.y();
  r.Height = b.height();
  r.Width = b.width();
  return r;
}

TCoverRecord RegistoCor(int folha, TColor cor) {
  TCoverRecord r;
  r.Tipo = QStringLiteral("TShape");
  r.Folha = CodigoFolha(folha);
  r.Cor = cor;
  return r;
}

TCoverRecord RegistoObjecto(int folha, const TObjecto& o) {
  TCoverRecord r;
  r.Folha = CodigoFolha(folha);
  if (o.EhTexto()) {
    r.Tipo = QStringLiteral("TProLabel");
    r.Texto = o.Texto;
    r.Angulo = o.Angulo;
    r.NomeFonte = o.Fonte.Nome;
    r.Charset = o.Fonte.Charset;
    r.TamanhoFonte = o.Fonte.Tamanho;
    r.Cor = o.Fonte.Cor;
    r.Estilo = o.Fonte.Estilo;
  } else {
    r.Tipo = QStringLiteral("TProImage");
    r.Texto = o.Imagem.Ficheiro;
  }
  r.Left = o.Left;
  r.Top = o.Top;
  r.Height = o.Height;
  r.Width = o.Width;
  return r;
}
}  // namespace

bool ExisteFicheiro(const QString& nome) {
  if (nome.isEmpty()) return false;
  QFile f(nome);
  return f.open(QIODevice::ReadOnly);
}

QString CaminhoImagem(const QString& nome, const QString& ficheiroCapa) {
  if (nome.isEmpty() || !QFileInfo(nome).isRelative()) return nome;
  return QFileInfo(ficheiroCapa).absoluteDir().filePath(nome);
}

// ---------------------------------------------------------------------------
// Reading

TLeitorCapa::TLeitorCapa(TDocumento& documento, const QString& ficheiroCapa, QList<TMensagem>& mensagens)
    : doc_(documento), capa_(ficheiroCapa), mensagens_(mensagens) {}

bool TLeitorCapa::LerImagem(const QString& ficheiro, TPicture& imagem) {
  auto it = imagens_.find(ficheiro);
  if (it != imagens_.end()) {
    imagem = it.value();
    return true;
  }
  if (falhadas_.contains(ficheiro)) return false;
  if (!ExisteFicheiro(ficheiro)) {
    falhadas_.insert(ficheiro);
    emFalta_ << QDir::cleanPath(ficheiro);
    return false;
  }
  TPicture lida;
  try {
    lida.LoadFromFile(ficheiro);
  } catch (const Exception& e) {
    falhadas_.insert(ficheiro);
    mensagens_.append({TMensagem::Aviso, e.Message});
    return false;
  }
  imagem = lida;
  imagens_.insert(ficheiro, lida);
  return true;
}

TMensagem MensagemImagensEmFalta(const QStringList& ficheiros) {
  const QString inicio = ficheiros.size() == 1 ? QStringLiteral("Imagem não encontrada.")
                                               : QStringLiteral("Imagens não encontradas.");
  const QString fim = ficheiros.size() == 1
                          ? QStringLiteral("A capa guarda o nome do ficheiro: a imagem não se vê nem é "
                                           "impressa enquanto não for encontrada, e é gravada com a capa.")
                          : QStringLiteral("A capa guarda os nomes dos ficheiros: as imagens não se vêem nem são "
                                           "impressas enquanto não forem encontradas, e são gravadas com a capa.");
  return {TMensagem::Aviso, inicio + QStringLiteral("\n\n") + ficheiros.join(QLatin1Char('\n')) +
                                QStringLiteral("\n\n") + fim};
}

void TLeitorCapa::LerRegisto(const TCoverRecord& r) {
  if (r.Tipo == QLatin1String("TProLabel")) {
    // The sheet by the first letter of its code alone.
    int folha = 0;
    switch (r.Folha.isEmpty() ? u'\0' : r.Folha.at(0).unicode()) {
      case 'C': folha = folhaCD; break;
      case 'F': folha = folhaFrente; break;
      case 'I': folha = folhaInterior; break;
      case 'T': folha = folhaTras; break;
      default: return;
    }
    TObjecto o = TObjecto::NovoTexto();
    o.Left = r.Left;
    o.Top = r.Top;
    o.Width = r.Width;
    o.Height = r.Height;
    o.Texto = r.Texto;
    o.Angulo = r.Angulo;
    o.Fonte.Nome = r.NomeFonte;
    o.Fonte.Charset = r.Charset;
    o.Fonte.Tamanho = r.TamanhoFonte;
    o.Fonte.Cor = r.Cor;
    o.Fonte.Estilo = r.Estilo;
    LimitarObjecto(o);
    // A level text takes the size of its text in its font; a turned one
    // keeps the stored size.
    o.TamanhoAutomatico = o.Angulo == 0;
    AjustarTamanho(o);
    // Named by the number of objects of the sheet with it: the reader
    // always starts from an empty document, so the names are unique.
    o.Nome = QStringLiteral("Texto") + QString::number(doc_.Objectos(folha).size() + 1);
    doc_.Adicionar(folha, std::move(o));
    return;
  }

  if (r.Tipo == QLatin1String("TProImage")) {
    // A record without a file name is an empty slot.
    if (r.Texto.isEmpty()) return;
    const int folha = FolhaPorCodigo(r.Folha);
    bool fundo = false;
    for (TFundo f : {fundoFrente, fundoInterior, fundoTras, fundoTrasLombada, fundoCD})
      fundo = fundo || r.Folha == CodigoFundo(f);
    if (!folha && !fundo) return;
    const QString caminho = CaminhoImagem(r.Texto, capa_);
    const QString ficheiro = ClampString(r.Texto);
    // A picture that cannot be read keeps its place in the document, with
    // its file name: it is shown as a placeholder, prints nothing and is
    // written back as it was.
    TPicture imagem;
    LerImagem(caminho, imagem);
    for (TFundo f : {fundoFrente, fundoInterior, fundoTras, fundoTrasLombada, fundoCD}) {
      if (r.Folha != CodigoFundo(f)) continue;
      doc_.DefinirFundo(f, TImagemDoc{ficheiro, imagem});
      return;
    }
    TObjecto o = TObjecto::NovaImagem();
    o.Imagem.Imagem = imagem;
    o.Imagem.Ficheiro = ficheiro;
    o.Left = r.Left;
    o.Top = r.Top;
    o.Width = r.Width;
    o.Height = r.Height;
    LimitarObjecto(o);
    o.Nome = QStringLiteral("Imagem") + QString::number(doc_.Objectos(folha).size() + 1);
    doc_.Adicionar(folha, std::move(o));
    return;
  }

  if (r.Tipo == QLatin1String("TShape")) {
    if (const int folha = FolhaPorCodigo(r.Folha)) doc_.DefinirCor(folha, ClampColour(r.Cor));
  }
}

TLeituraCapa LerCapa(const QString& nome) {
  QFile f(nome);
  if (!f.open(QIODevice::ReadOnly)) {
    TLeituraCapa l;
    l.Mensagens.append(Aviso("Erro ao abrir o ficheiro."));
    return l;
  }
  return LerCapa(f, nome);
}

TLeituraCapa LerCapa(QIODevice& f, const QString& nome) {
  TLeituraCapa l;
  // A read that fails says so, on a file as on any other device.
  auto falhou = [&f] {
    if (auto* ficheiro = qobject_cast<QFileDevice*>(&f)) return ficheiro->error() != QFileDevice::NoError;
    return false;
  };
  const QByteArray primeiro = f.read(kTamanhoRegisto);
  // A header cut short is a file cut short, whatever its first bytes say
  // (an empty file is a whole number of records: no cover at all).
  if (falhou() || (!primeiro.isEmpty() && primeiro.size() < kTamanhoRegisto)) {
    l.Mensagens.append(Aviso("Erro de leitura do ficheiro."));
    return l;
  }
  const TCoverRecord cabecalho = TCoverRecord::Descodificar(primeiro);
  if (cabecalho.Tipo != QLatin1String("Lurns CD") && cabecalho.Texto != QLatin1String("Quelto Sanir")) {
    l.Mensagens.append(Aviso("Ficheiro inválido!"));
    return l;
  }
  // Relative picture names stay relative to this folder, also when the
  // cover is written elsewhere.
  l.Documento.DefinirPastaImagens(QFileInfo(nome).absolutePath());
  TLeitorCapa leitor(l.Documento, nome, l.Mensagens);
  bool completo = true;
  // One buffer for every record: a cover may hold thousands.
  char registo[kTamanhoRegisto];
  while (!f.atEnd()) {
    const qint64 n = f.read(registo, kTamanhoRegisto);
    // A record cut short is not read: its missing bytes would read as
    // zeros, a different object from the one that was saved.
    if (falhou() || n != kTamanhoRegisto) {
      completo = false;
      break;
    }
    leitor.LerRegisto(TCoverRecord::Descodificar(registo, n));
  }
  l.ImagensEmFalta = leitor.ImagensEmFalta();
  if (!l.ImagensEmFalta.isEmpty()) l.Mensagens.append(MensagemImagensEmFalta(l.ImagensEmFalta));
  if (!completo) {
    l.Mensagens.append(Aviso("Erro de leitura do ficheiro."));
    return l;
  }
  l.Lido = true;
  return l;
}

// ---------------------------------------------------------------------------
// Writing

QString NomeImagemGravado(const TDocumento& doc, const QString& nome, const QString& pasta) {
  if (nome.isEmpty() || doc.PastaImagens().isEmpty() || !QFileInfo(nome).isRelative()) return nome;
  const QString destino = QDir::cleanPath(QDir(pasta).absolutePath());
  if (MesmaPasta(doc.PastaImagens(), destino)) return nome;
  const QString completo = doc.CaminhoImagem(nome);
  const QString relativo = QDir(destino).relativeFilePath(completo);
  // A relative name keeps a cover and its pictures movable together; one
  // that climbs to the root and down again is no better than the full name.
  const bool partilham = !PrimeiraPasta(completo).isEmpty() && PrimeiraPasta(completo) == PrimeiraPasta(destino);
  if (partilham && (CabeNoRegisto(relativo) || !CabeNoRegisto(completo))) return relativo;
  return completo;
}

bool GravarFolha(QIODevice& f, const TDocumento& doc, int folha, TEscritaCapa& escrita) {
  // Each record is written as it is made, through one buffer: a cover may
  // hold thousands.
  char bytes[kTamanhoRegisto];
  auto gravar = [&](TCoverRecord r) {
    // A picture record's text is a file name: written for the folder of
    // the file, and reported when the record cannot hold it whole (a '?'
    // in it breaks the name as surely as a cut).
    const bool imagem = r.Tipo == QLatin1String("TProImage");
    if (imagem) {
      r.Texto = NomeImagemGravado(doc, r.Texto, escrita.Pasta);
      if (!CabeNoRegisto(r.Texto) && !escrita.ImagensIncompletas.contains(r.Texto))
        escrita.ImagensIncompletas << r.Texto;
    }
    bool perdidos = false;
    r.CodificarEm(bytes, &perdidos);
    if (perdidos && !imagem) escrita.Perdidos = true;
    return f.write(bytes, kTamanhoRegisto) == kTamanhoRegisto;
  };
  bool ok = true;
  switch (folha) {
    case folhaFrente: ok = gravar(RegistoCor(folha, doc.Cor(folha))) && gravar(RegistoFundo(doc, fundoFrente)); break;
    case folhaInterior:
      ok = gravar(RegistoCor(folha, doc.Cor(folha))) && gravar(RegistoFundo(doc, fundoInterior));
      break;
    case folhaTras:
      ok = gravar(RegistoCor(folha, doc.Cor(folha))) && gravar(RegistoFundo(doc, fundoTras)) &&
           gravar(RegistoFundo(doc, fundoTrasLombada));
      break;
    case folhaCD:
      if (doc.PreenchimentoDisco() == tfsSolid) {
        ok = gravar(RegistoCor(folha, doc.Cor(folha)));
      } else {
        TCoverRecord r;
        r.Tipo = QStringLiteral("TProImage");
        r.Folha = CodigoFundo(fundoCD);
        r.Texto = doc.Fundo(fundoCD).Ficheiro;
        ok = gravar(std::move(r));
      }
      break;
    default: return false;
  }
  for (const TObjecto& o : doc.Objectos(folha)) {
    if (ok && o.EhTexto() && o.Texto.size() > kCapacidadeTexto)
      escrita.TextosCortados << QStringLiteral("%1 (%2)").arg(o.Nome, CodigoFolha(folha));
    ok = ok && gravar(RegistoObjecto(folha, o));
  }
  return ok;
}

QByteArray CabecalhoCapa() {
  TCoverRecord cabecalho;
  cabecalho.Tipo = QStringLiteral("Lurns CD");
  cabecalho.Texto = QStringLiteral("Quelto Sanir");
  return cabecalho.Codificar();
}

bool GravarFolhas(QIODevice& f, const TDocumento& doc, TEscritaCapa& escrita) {
  for (int folha = folhaFrente; folha <= folhaCD; ++folha)
    if (!GravarFolha(f, doc, folha, escrita)) return false;
  return true;
}

namespace {
// Where a cover is written: a new file beside the old one, which takes the
// old one's place only when everything was written (QSaveFile); or, where
// the folder lets no file be made but the cover's own file may be
// written, that file itself, whose old bytes are kept to be put back if
// writing fails.
class TDestino {
 public:
  explicit TDestino(const QString& nome) : seguro_(nome), directo_(nome) {}

  bool Abrir() {
    if (seguro_.open(QIODevice::WriteOnly)) return true;
    if (!QFileInfo(directo_.fileName()).isFile()) return false;
    // Unbuffered: a failed write is seen at once and leaves nothing
    // pending that a later write could put in the wrong place.
    if (!directo_.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return false;
    antigo_ = directo_.readAll();
    if (directo_.error() != QFileDevice::NoError || !directo_.seek(0)) {
      directo_.close();
      return false;
    }
    noLugar_ = true;
    return true;
  }

  bool Escrever(const QByteArray& b) { return (noLugar_ ? directo_.write(b) : seguro_.write(b)) == b.size(); }

  bool Terminar() {
    // Flushed before the commit so that a full disk is seen before the new
    // file takes the place of the old one.
    if (!noLugar_) return seguro_.flush() && seguro_.commit();
    // The old file may have been longer.
    if (!directo_.resize(directo_.pos())) return false;
    directo_.close();
    return directo_.error() == QFileDevice::NoError;
  }

  void Desistir() {
    if (!noLugar_) {
      seguro_.cancelWriting();
      return;
    }
    directo_.unsetError();
    if (directo_.isOpen() && directo_.seek(0) && directo_.write(antigo_) == antigo_.size())
      directo_.resize(antigo_.size());
    directo_.close();
  }

 private:
  QSaveFile seguro_;
  QFile directo_;
  QByteArray antigo_;
  bool noLugar_ = false;
};
}  // namespace

bool NomeCapaValido(const QString& nome) {
  const QString base = nome.mid(nome.lastIndexOf(QLatin1Char('/')) + 1);
  const int ponto = base.lastIndexOf(QLatin1Char('.'));
  return ponto >= 0 && base.mid(ponto).compare(QLatin1String(".lrn"), Qt::CaseInsensitive) == 0;
}

TGravacaoCapa GravarCapa(const TDocumento& doc, const QString& nome) {
  TGravacaoCapa g;
  if (!NomeCapaValido(nome)) {
    g.Mensagens.append({TMensagem::Simples, QStringLiteral("Função ainda não implementada.")});
    g.Fim = TFimGravacao::Falhou;
    return g;
  }
  // The records are made first, then written.
  TEscritaCapa escrita;
  escrita.Pasta = QFileInfo(nome).absolutePath();
  const QByteArray primeiro = CabecalhoCapa();
  QByteArray folhas;
  {
    QBuffer b(&folhas);
    b.open(QIODevice::WriteOnly);
    GravarFolhas(b, doc, escrita);
  }

  TDestino f(nome);
  if (!f.Abrir()) {
    g.Mensagens.append(Aviso("Erro ao criar o ficheiro."));
    g.Fim = TFimGravacao::NaoIniciada;
    return g;
  }
  if (!f.Escrever(primeiro)) {
    f.Desistir();
    g.Mensagens.append(Aviso("Erro de escrita no ficheiro."));
    g.Fim = TFimGravacao::NaoIniciada;
    return g;
  }
  if (!f.Escrever(folhas) || !f.Terminar()) {
    f.Desistir();
    g.Mensagens.append(Aviso("Erro de escrita no ficheiro."));
    g.Fim = TFimGravacao::Falhou;
    return g;
  }
  g.Fim = TFimGravacao::Gravado;
  if (escrita.Perdidos)
    g.Mensagens.append(Aviso(
        "Alguns caracteres não existem no conjunto de caracteres dos ficheiros Lurns (Windows-1252) "
        "e foram gravados como \"?\"."));
  if (!escrita.TextosCortados.isEmpty())
    g.Mensagens.append({TMensagem::Aviso,
                        QStringLiteral("Estes textos têm mais de %1 caracteres, mais do que um ficheiro Lurns guarda, "
                                       "e foram gravados só com os primeiros %1:\n")
                                .arg(kCapacidadeTexto) +
                            escrita.TextosCortados.join(QLatin1Char('\n'))});
  if (!escrita.ImagensIncompletas.isEmpty())
    g.Mensagens.append({TMensagem::Aviso,
                        QStringLiteral("Os nomes destes ficheiros de imagem não cabem inteiros num ficheiro Lurns "
                                       "(até 255 caracteres do conjunto Windows-1252) e foram gravados "
                                       "incompletos; estas imagens não serão encontradas ao abrir a capa:\n") +
                            escrita.ImagensIncompletas.join(QLatin1Char('\n'))});
  return g;
}
