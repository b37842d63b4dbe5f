// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Sessao.h"

#include "document/CoverRecord.h"
#include "document/FicheiroCapa.h"
#include "document/Limites.h"
#include "document/ObjectStream.h"
#include "document/Registo.h"
#include "session/Alteracao.h"
#include "tracks/ColocacaoFaixas.h"
#include "tracks/Faixas.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QUndoCommand>

namespace {
// The names of the steps, as the history shows them.
const char* const kInserirTexto = "Inserir texto";
const char* const kInserirImagem = "Inserir imagem";
const char* const kEditarTexto = "Editar texto";
const char* const kAlterarImagem = "Alterar imagem";
const char* const kAlterarFonte = "Alterar fonte";
const char* const kAlinharEsquerda = "Alinhar à esquerda";
const char* const kCentrar = "Centrar";
const char* const kAlinharDireita = "Alinhar à direita";
const char* const kRodarEsquerda = "Rodar à esquerda";
const char* const kRodarDireita = "Rodar à direita";
const char* const kApagar = "Apagar";
const char* const kImagemFundo = "Imagem de fundo";
const char* const kCorFundo = "Cor de fundo";
const char* const kLimparFundo = "Limpar imagem de fundo";
const char* const kColar = "Colar";
const char* const kCortar = "Cortar";
const char* const kMover = "Mover";
const char* const kRedimensionar = "Redimensionar";
const char* const kImportarFaixas = "Importar faixas";

QString Nome(const char* nome) { return QString::fromUtf8(nome); }

// A caption's lines as the cover keeps them: separated by CR LF, whatever
// line breaks it came with.
QString QuebrasCRLF(QString t) {
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

const QString& TituloImagem() {
  static const QString t = QStringLiteral("Adicionar Imagem");
  return t;
}
}  // namespace

const QList<const char*>& TSessao::NomesPassos() {
  static const QList<const char*> nomes = {
      kInserirTexto, kInserirImagem, kEditarTexto, kAlterarImagem, kAlterarFonte, kAlinharEsquerda,
      kCentrar,      kAlinharDireita, kRodarEsquerda, kRodarDireita, kApagar,      kImagemFundo,
      kCorFundo,     kLimparFundo,    kColar,         kCortar,       kMover,       kRedimensionar,
      kImportarFaixas};
  return nomes;
}

// ---------------------------------------------------------------------------
// Steps

struct TSessao::TPassoAberto {
  QString nome;
  TDocumento antes;
  // The view follows once, when the step ends.
  std::optional<TDocumento::TLote> lote;
};

// One step of the history.  It is pushed once the change is made, so its
// first redo has nothing to do.
class TSessao::TComando : public QUndoCommand {
 public:
  TComando(TDocumento& documento, const QString& nome, TAlteracao alteracao, int corrida, std::uint64_t objecto)
      : QUndoCommand(nome), documento_(documento), alteracao_(std::move(alteracao)), corrida_(corrida),
        objecto_(objecto) {}

  // Nudges share one identity; mergeWith decides whether they are of one run.
  int id() const override { return corrida_ >= 0 ? 1 : -1; }
  bool mergeWith(const QUndoCommand* outro) override {
    const auto* c = static_cast<const TComando*>(outro);
    if (c->corrida_ != corrida_ || c->objecto_ != objecto_ || !alteracao_.SoConteudos() ||
        !c->alteracao_.SoConteudos())
      return false;
    alteracao_.Juntar(c->alteracao_);
    // Moved back to where the run began: no step is left.
    setObsolete(alteracao_.Vazia());
    return true;
  }
  void undo() override { alteracao_.Desfazer(documento_); }
  void redo() override {
    if (primeira_) {
      primeira_ = false;
      return;
    }
    alteracao_.Refazer(documento_);
  }

 private:
  TDocumento& documento_;
  TAlteracao alteracao_;
  int corrida_;
  std::uint64_t objecto_;
  bool primeira_ = true;
};

TSessao::TPasso::TPasso(TSessao& sessao, const QString& nome) : sessao_(sessao) { sessao_.AbrirPasso(nome); }

TSessao::TPasso::~TPasso() { sessao_.FecharPasso(); }

void TSessao::TPasso::Nome(const QString& nome) {
  if (sessao_.niveis_ == 1) sessao_.passo_->nome = nome;
}

bool TSessao::Alterar(const QString& nome, const std::function<void(TDocumento&)>& alterar) {
  {
    TPasso passo(*this, nome);
    alterar(*passo);
  }
  return niveis_ > 0 || alterou_;
}

void TSessao::AbrirPasso(const QString& nome) {
  if (niveis_++ > 0) return;
  passo_ = std::make_unique<TPassoAberto>();
  passo_->nome = nome;
  passo_->antes = documento_;
  passo_->lote.emplace(documento_);
}

void TSessao::FecharPasso() {
  if (--niveis_ > 0) return;
  std::unique_ptr<TPassoAberto> passo = std::move(passo_);
  const int corrida = juntarCorrida_;
  juntarCorrida_ = -1;
  TAlteracao alteracao = TAlteracao::Entre(passo->antes, documento_);
  alterou_ = !alteracao.Vazia();
  if (alterou_) {
    std::uint64_t objecto = 0;
    if (corrida >= 0) {
      const std::vector<std::uint64_t> ids = alteracao.Alterados();
      objecto = ids.size() == 1 ? ids.front() : 0;
    } else {
      // Any other change ends a run of nudges.
      ++corrida_;
    }
    historia_.push(new TComando(documento_, passo->nome, std::move(alteracao), corrida, objecto));
  }
  // The listeners hear of the change now.
  passo->lote.reset();
}

void TSessao::Desfazer() {
  if (niveis_ > 0) return;
  ++corrida_;
  historia_.undo();
}

void TSessao::Refazer() {
  if (niveis_ > 0) return;
  ++corrida_;
  historia_.redo();
}

void TSessao::NovaHistoria(bool gravado) {
  historia_.clear();
  if (!gravado) historia_.resetClean();
  ++corrida_;
  emit EstadoAlterado();
}

// ---------------------------------------------------------------------------

TSessao::TSessao(TPerguntas& perguntas, QObject* parent) : QObject(parent), perguntas_(perguntas) {
  fonte_.Name = QStringLiteral("Arial");
  fonte_.Height = -16;
  fonte_.Charset = DEFAULT_CHARSET;
  fonte_.Color = clWindowText;
  fonteFaixas_.Nome = QStringLiteral("Arial");
  fonteFaixas_.Tamanho = 10;
  fonteFaixas_.Cor = clBlack;
  formatoFaixas_ = QString::fromUtf8(FormatoFaixaPadrao);
  documento_.AoAlterar([this] { DocumentoMudou(); });
  connect(&historia_, &QUndoStack::indexChanged, this, &TSessao::EstadoAlterado);
  connect(&historia_, &QUndoStack::cleanChanged, this, &TSessao::EstadoAlterado);
  // What Colar can paste follows the clipboard, whoever changes it.
  if (QClipboard* c = QGuiApplication::clipboard())
    connect(c, &QClipboard::dataChanged, this, &TSessao::EstadoAlterado);
}

TSessao::~TSessao() = default;

void TSessao::DocumentoMudou() {
  emit DocumentoAlterado();
  // The selected object went (deleted, or its insertion undone).
  if (seleccionado_ != 0 && !documento_.Objecto(seleccionado_)) {
    seleccionado_ = 0;
    emit SeleccaoAlterada();
  }
}

void TSessao::MudarFolha(int folha) {
  if (folha >= folhaFrente && folha <= folhaCD) folha_ = folha;
}

void TSessao::Seleccionar(std::uint64_t id) {
  if (!documento_.Objecto(id)) id = 0;
  if (id == seleccionado_) return;
  seleccionado_ = id;
  ++corrida_;
  emit SeleccaoAlterada();
}

// ---------------------------------------------------------------------------
// Files

void TSessao::MostrarMensagens(const QList<TMensagem>& mensagens) {
  for (const TMensagem& m : mensagens) {
    if (m.Tipo == TMensagem::Simples) perguntas_.Mensagem(m.Texto);
    else perguntas_.Aviso(m.Texto);
  }
}

QStringList TSessao::Recentes() const {
  auto s = AbrirRegisto();
  return LerRecentes(*s);
}

void TSessao::ActualizarRecentes(const QString& nome) {
  if (!usarRecentes_) return;
  auto s = AbrirRegisto();
  GravarRecentes(*s, ComRecente(LerRecentes(*s), nome));
  s->sync();
  emit RecentesAlterados();
}

bool TSessao::GravarFicheiro(const QString& nome) {
  const TGravacaoCapa g = GravarCapa(documento_, nome);
  switch (g.Fim) {
    case TFimGravacao::NaoIniciada:
      // Nothing was written: the document stays as saved or not as it was.
      erroGravacao_ = true;
      MostrarMensagens(g.Mensagens);
      emit EstadoAlterado();
      return false;
    case TFimGravacao::Falhou:
      erroGravacao_ = true;
      historia_.resetClean();
      break;
    case TFimGravacao::Gravado:
      erroGravacao_ = false;
      ActualizarRecentes(nome);
      historia_.setClean();
      break;
  }
  MostrarMensagens(g.Mensagens);
  emit EstadoAlterado();
  return !erroGravacao_;
}

bool TSessao::Ler(const QString& nome) {
  TLeituraCapa l = LerCapa(nome);
  // A file that fails to read leaves an empty or partly read document.
  Seleccionar(0);
  documento_.Substituir(std::move(l.Documento));
  MostrarMensagens(l.Mensagens);
  if (l.Lido) ActualizarRecentes(nome);
  return l.Lido;
}

bool TSessao::AbrirFicheiro(const QString& nome) {
  const bool lido = Ler(nome);
  // A file that could not be read whole does not become the current file:
  // the next Gravar offers its name in the save dialog, which asks before
  // writing over it.  What of it is shown is on no disc yet.
  nomeFicheiro_ = lido ? nome : QString();
  ficheiroOrigem_ = lido ? QString() : nome;
  NovaHistoria(lido || documento_.Vazio());
  return lido;
}

bool TSessao::AbrirSemNome(const QString& nome) {
  const bool lido = Ler(nome);
  nomeFicheiro_.clear();
  ficheiroOrigem_ = QFileInfo(nome).absoluteFilePath();
  NovaHistoria(lido || documento_.Vazio());
  return lido;
}

std::optional<QString> TSessao::DialogoGravar() {
  // A cover read without taking its name is offered back under that name.
  return perguntas_.CapaParaGravar(nomeFicheiro_.isEmpty() ? ficheiroOrigem_ : nomeFicheiro_);
}

TSessao::TSeguir TSessao::PodeSeguir() {
  // Nothing replaces or closes the document while it prints.
  if (ocupado_ && ocupado_()) return TSeguir::Parar;
  if (Gravado()) return TSeguir::Gravado;
  switch (perguntas_.SimNaoCancelar(QStringLiteral("Ficheiro alterado. Gravar?"))) {
    case TModalResult::Yes: return Gravar() ? TSeguir::Gravado : TSeguir::Parar;
    case TModalResult::No: return TSeguir::SemGravar;
    default: return TSeguir::Parar;
  }
}

void TSessao::Novo() {
  if (PodeSeguir() == TSeguir::Parar) return;
  Seleccionar(0);
  documento_.LimparDocumento();
  nomeFicheiro_.clear();
  ficheiroOrigem_.clear();
  NovaHistoria(true);
}

void TSessao::Abrir() {
  if (PodeSeguir() == TSeguir::Parar) return;
  if (const auto nome = perguntas_.CapaParaAbrir()) AbrirFicheiro(*nome);
}

void TSessao::AbrirRecente(const QString& nome) {
  if (nome.isEmpty() || PodeSeguir() == TSeguir::Parar) return;
  AbrirFicheiro(nome);
}

void TSessao::AbrirEntregue(const QString& nome) {
  if (nome.isEmpty() || PodeSeguir() == TSeguir::Parar) return;
  AbrirSemNome(nome);
}

bool TSessao::Gravar() {
  if (!nomeFicheiro_.isEmpty()) return GravarFicheiro(nomeFicheiro_);
  return GravarComo();
}

bool TSessao::GravarComo() {
  // A name becomes the current file only once the cover was written under it.
  const auto nome = DialogoGravar();
  if (!nome || !GravarFicheiro(*nome)) return false;
  nomeFicheiro_ = *nome;
  ficheiroOrigem_.clear();
  emit EstadoAlterado();
  return true;
}

bool TSessao::PodeFechar() { return PodeSeguir() != TSeguir::Parar; }

// ---------------------------------------------------------------------------
// Objects and backgrounds

bool TSessao::LerImagem(const QString& ficheiro, TPicture& imagem) {
  try {
    imagem.LoadFromFile(ficheiro);
  } catch (const Exception& e) {
    perguntas_.Aviso(e.Message);
    return false;
  }
  return true;
}

void TSessao::InserirTexto() {
  const int folha = folha_;
  TPasso passo(*this, Nome(kInserirTexto));
  const std::uint64_t id = passo->Adicionar(folha, TObjecto::NovoTexto());
  const int n = int(passo->Objectos(folha).size());
  passo->DefinirTexto(id, QStringLiteral("Texto ") + QString::number(n));
  passo->DefinirNome(id, passo->NovoNome(QStringLiteral("Texto"), folha));
  // Cancelled, the text keeps the default font.
  if (auto f = perguntas_.Fonte(fonte_)) {
    fonte_ = *f;
    passo->DefinirFonte(id, TFonteDoc::DeTFont(*f));
  }
}

void TSessao::InserirImagem() {
  const auto ficheiro = perguntas_.Imagem(TituloImagem());
  if (!ficheiro) return;
  TObjecto o = TObjecto::NovaImagem();
  o.Left = 1;
  o.Top = 1;
  o.Width = 100;
  o.Height = 100;
  // An object without a picture could neither be selected nor saved
  // meaningfully: none is made when the picture cannot be read.
  if (!LerImagem(*ficheiro, o.Imagem.Imagem)) return;
  o.Imagem.Ficheiro = *ficheiro;
  const int folha = folha_;
  TPasso passo(*this, Nome(kInserirImagem));
  const std::uint64_t id = passo->Adicionar(folha, std::move(o));
  passo->DefinirNome(id, passo->NovoNome(QStringLiteral("Imagem"), folha));
}

QString TSessao::VerificarTexto(const QString& texto) {
  // A text without a visible character would be an invisible object a few
  // pixels wide, found again only by luck.
  if (texto.trimmed().isEmpty()) return QStringLiteral("O texto não pode ficar vazio.");
  // The cover file keeps a caption in a field of fixed room: a longer one
  // would be cut when saved.  Counted as the file stores it (Windows-1252,
  // a line break as CR LF).
  const qsizetype n = ParaWindows1252(QuebrasCRLF(texto)).size();
  if (n > kCapacidadeTexto)
    return QStringLiteral("O texto é longo demais para a capa: tem %1 caracteres e cabem no máximo %2 "
                          "(cada mudança de linha conta como 2).")
        .arg(n)
        .arg(kCapacidadeTexto);
  return {};
}

bool TSessao::EditarTextoDe(std::uint64_t id) {
  const QString texto = documento_.Objecto(id)->Texto;
  // The box refuses what VerificarTexto refuses and asks again; what comes
  // back is checked once more all the same (an answerer that does not
  // check is told here).  Cancel (the box gives back the caption it was
  // given) leaves the caption as it was.
  for (;;) {
    const QString resposta = perguntas_.Texto(QStringLiteral("Introdução"), QStringLiteral("Introduza o texto"), texto,
                                          &TSessao::VerificarTexto);
    const QString novo = QuebrasCRLF(resposta);
    if (resposta == texto || novo == texto) return false;
    if (const QString porque = VerificarTexto(novo); !porque.isEmpty()) {
      perguntas_.Aviso(porque);
      continue;
    }
    return Alterar(Nome(kEditarTexto), [&](TDocumento& d) { d.DefinirTexto(id, novo); });
  }
}

bool TSessao::AlterarImagemDe(std::uint64_t id) {
  const auto ficheiro = perguntas_.Imagem(TituloImagem());
  if (!ficheiro) return false;
  TImagemDoc imagem{*ficheiro, TPicture()};
  if (!LerImagem(*ficheiro, imagem.Imagem)) return false;
  return Alterar(Nome(kAlterarImagem), [&](TDocumento& d) { d.DefinirImagem(id, imagem); });
}

void TSessao::EditarTexto() {
  const TObjecto* o = ObjectoSeleccionado();
  if (o && o->EhTexto()) EditarTextoDe(o->Id);
}

void TSessao::AlterarImagem() {
  const TObjecto* o = ObjectoSeleccionado();
  if (o && o->EhImagem()) AlterarImagemDe(o->Id);
}

void TSessao::EditarObjecto() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  if (o->EhTexto()) EditarTextoDe(o->Id);
  else AlterarImagemDe(o->Id);
}

void TSessao::AlterarFonte() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o || !o->EhTexto()) return;
  const std::uint64_t id = o->Id;
  // The dialog offers the object's own font.
  fonte_ = o->Fonte.ParaTFont();
  if (auto f = perguntas_.Fonte(fonte_)) {
    fonte_ = *f;
    Alterar(Nome(kAlterarFonte), [&](TDocumento& d) { d.DefinirFonte(id, TFonteDoc::DeTFont(*f)); });
  }
}

namespace {
// "Centrar": the object's left edge for its middle on the sheet's middle;
// on the CD sheet, on the disc's centre (its 443-pixel circle starts at
// the sheet's corner, which is 446 pixels wide).
int EsquerdaCentrada(int folha, int largura) {
  const int W = folha == folhaCD ? 443 : LarguraReferencia(folha);
  return (W - largura) / 2;  // C++ division truncates toward zero
}
}  // namespace

void TSessao::Alinhar(TAlinhamento alinhamento) {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  const int W = LarguraReferencia(documento_.FolhaDe(o->Id));
  int left = 1;
  if (alinhamento == TAlinhamento::Centro) left = EsquerdaCentrada(documento_.FolhaDe(o->Id), o->Width);
  if (alinhamento == TAlinhamento::Direita) left = W - o->Width - 1;
  const char* nome = alinhamento == TAlinhamento::Esquerda ? kAlinharEsquerda
                     : alinhamento == TAlinhamento::Centro ? kCentrar
                                                           : kAlinharDireita;
  const QRect limites(left, o->Top, o->Width, o->Height);
  const std::uint64_t id = o->Id;
  Alterar(Nome(nome), [&](TDocumento& d) { d.DefinirLimites(id, limites); });
}

void TSessao::Rodar(bool esquerda) {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o || !o->EhTexto()) return;
  const std::uint64_t id = o->Id;
  Alterar(Nome(esquerda ? kRodarEsquerda : kRodarDireita), [&](TDocumento& d) { d.Rodar90(id, esquerda); });
}

void TSessao::Apagar() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  const std::uint64_t id = o->Id;
  Alterar(Nome(kApagar), [&](TDocumento& d) { d.Apagar(id); });
}

void TSessao::ImagemDeFundo() {
  const auto ficheiro = perguntas_.Imagem(TituloImagem());
  if (!ficheiro) return;
  TImagemDoc imagem{*ficheiro, TPicture()};
  if (!LerImagem(*ficheiro, imagem.Imagem)) return;
  const int folha = folha_;
  Alterar(Nome(kImagemFundo), [&](TDocumento& d) {
    switch (folha) {
      case folhaFrente: d.DefinirFundo(fundoFrente, imagem); break;
      case folhaInterior: d.DefinirFundo(fundoInterior, imagem); break;
      case folhaTras:
        // The back's two slots always hold the same picture.
        d.DefinirFundo(fundoTras, imagem);
        d.DefinirFundo(fundoTrasLombada, imagem);
        break;
      case folhaCD: d.DefinirFundo(fundoCD, imagem); break;
    }
  });
}

void TSessao::CorDeFundo() {
  const auto cor = perguntas_.Cor(cor_);
  if (!cor) return;
  cor_ = *cor;
  const int folha = folha_;
  Alterar(Nome(kCorFundo), [&](TDocumento& d) { d.DefinirCor(folha, *cor); });
}

void TSessao::LimparImagemDeFundo() {
  const int folha = folha_;
  Alterar(Nome(kLimparFundo), [&](TDocumento& d) { d.LimparFundo(folha); });
}

void TSessao::Deslocar(int dx, int dy) {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o || (dx == 0 && dy == 0)) return;
  Empurrar(o->Id, o->Limites().translated(dx, dy));
}

void TSessao::Empurrar(std::uint64_t id, const QRect& limites) {
  TPasso passo(*this, Nome(kMover));
  if (niveis_ == 1) juntarCorrida_ = corrida_;
  passo->DefinirLimites(id, limites);
}

void TSessao::MoverPara(std::uint64_t id, const QRect& limites) {
  const TObjecto* o = documento_.Objecto(id);
  if (!o) return;
  const QSize antes = o->Limites().size();
  TPasso passo(*this, Nome(kMover));
  passo->DefinirLimites(id, limites);
  if (passo->Objecto(id)->Limites().size() != antes) passo.Nome(Nome(kRedimensionar));
}

// ---------------------------------------------------------------------------
// The clipboard (never part of the history)

namespace {
bool CopiarObjecto(const TDocumento& documento, const TObjecto& o, TPerguntas& perguntas) {
  // The copy carries no name (the stream never holds one): the paste names
  // it for its own sheet.  A relative picture name is one of this
  // document's picture folder: the copy carries the full name, as it may
  // be pasted into another cover.
  TObjecto copia = o;
  copia.Imagem.Ficheiro = documento.CaminhoImagem(o.Imagem.Ficheiro);
  QString erro;
  const QByteArray bytes = WriteObject(copia, &erro);
  if (bytes.isEmpty()) {
    // Nothing goes to the clipboard: what it held before (if anything) is
    // still what Colar pastes.
    perguntas.Aviso(erro);
    return false;
  }
  auto* dados = new QMimeData;
  dados->setData(QString::fromLatin1(ObjectMimeType), bytes);
  QGuiApplication::clipboard()->setMimeData(dados);
  return true;
}
}  // namespace

bool TSessao::PodeColar() const {
  const QMimeData* dados = QGuiApplication::clipboard()->mimeData();
  return dados && dados->hasFormat(QString::fromLatin1(ObjectMimeType));
}

void TSessao::Copiar() {
  const TObjecto* o = ObjectoSeleccionado();
  if (o) CopiarObjecto(documento_, *o, perguntas_);
}

void TSessao::Cortar() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  const std::uint64_t id = o->Id;
  // Copied first: an object that cannot be copied is not deleted either.
  if (!CopiarObjecto(documento_, *o, perguntas_)) return;
  Alterar(Nome(kCortar), [&](TDocumento& d) { d.Apagar(id); });
}

void TSessao::Colar() {
  const QMimeData* dados = QGuiApplication::clipboard()->mimeData();
  const QString formato = QString::fromLatin1(ObjectMimeType);
  // Nothing was copied, or another program put something else there since.
  if (!dados || !dados->hasFormat(formato)) return;
  Seleccionar(0);
  QString erro;
  std::optional<TObjecto> objecto = ReadObject(dados->data(formato), &erro);
  if (!objecto) {
    perguntas_.Aviso(erro);
    return;
  }
  // Named by what was really read: the clipboard may hold an object that
  // another copy of the program put there.  It goes last on the sheet, so
  // it is drawn above the others.
  const int folha = folha_;
  // A copy pasted where an object like it already lies (its original, or
  // an earlier paste of it) goes one grid step right and down, so that it
  // can be seen and taken; on another sheet it keeps its place.
  auto tapado = [&](const TObjecto& novo) {
    for (const TObjecto& o : documento_.Objectos(folha))
      if (o.Tipo == novo.Tipo && o.Limites() == novo.Limites() && (o.EhImagem() || o.Texto == novo.Texto))
        return true;
    return false;
  };
  for (int i = 0; i < 1000 && tapado(*objecto); ++i) {
    objecto->Left = ClampCoordinate(std::int64_t(objecto->Left) + grelha_.width());
    objecto->Top = ClampCoordinate(std::int64_t(objecto->Top) + grelha_.height());
  }
  const QString prefixo = objecto->EhTexto() ? QStringLiteral("Texto") : QStringLiteral("Imagem");
  std::uint64_t id = 0;
  {
    TPasso passo(*this, Nome(kColar));
    id = passo->Adicionar(folha, std::move(*objecto));
    passo->DefinirNome(id, passo->NovoNome(prefixo, folha));
  }
  // Selected, so that it can be moved at once.
  Seleccionar(id);
}

// ---------------------------------------------------------------------------
// Track lists

void TSessao::ImportarFaixas() {
  const auto escolhida = perguntas_.OrigemFaixas();
  if (!escolhida) return;
  // An audio file stands for its folder: the album is the folder's files.
  QString origem = *escolhida;
  const QFileInfo info(origem);
  if (info.isFile() && ExtensoesAudio().contains(info.suffix().toLower())) origem = info.absolutePath();
  const TLeituraFaixas lida = LerFaixas(origem);
  if (!lida.Lida()) {
    // Nothing to place: the cover stays as it is.
    perguntas_.Aviso(lida.Erro);
    return;
  }
  TPedidoFaixas pedido;
  pedido.Origem = origem;
  pedido.Ignorados = lida.Ignorados;
  for (const TFaixa& t : lida.Lista.Faixas) pedido.Titulos << t.Titulo;
  pedido.Formato = formatoFaixas_;
  pedido.Fonte = fonteFaixas_.ParaTFont();
  pedido.Folha = folha_ == folhaInterior ? folhaInterior : folhaTras;
  pedido.Album = lida.Lista.Album;
  pedido.Artista = lida.Lista.Artista;
  const TListaFaixas lista = lida.Lista;
  auto comTitulos = [lista](const QStringList& titulos) {
    TListaFaixas l = lista;
    for (size_t i = 0; i < l.Faixas.size() && qsizetype(i) < titulos.size(); ++i)
      l.Faixas[i].Titulo = titulos[qsizetype(i)].trimmed();
    return l;
  };
  pedido.Linhas = [comTitulos](const QStringList& titulos, const QString& formato) {
    return LinhasDeFaixas(comTitulos(titulos), formato);
  };
  // A list that does not fit is told, and the dialog comes again with the
  // choices made, so that a smaller font or a shorter line can be tried.
  for (;;) {
    if (!perguntas_.Faixas(pedido)) return;
    TColocacaoFaixas c;
    c.Folha = pedido.Folha == folhaInterior ? folhaInterior : folhaTras;
    c.Fonte = TFonteDoc::DeTFont(pedido.Fonte);
    c.GrelhaX = grelha_.width();
    c.GrelhaY = grelha_.height();
    const QString formato = pedido.Formato.trimmed().isEmpty() ? QString::fromUtf8(FormatoFaixaPadrao)
                                                                : pedido.Formato;
    const TTextosColocados colocados = ColocarFaixas(LinhasDeFaixas(comTitulos(pedido.Titulos), formato), c);
    if (!colocados.Erro.isEmpty()) {
      perguntas_.Aviso(colocados.Erro);
      continue;
    }
    fonteFaixas_ = c.Fonte;
    formatoFaixas_ = formato;
    std::vector<std::pair<int, TObjecto>> textos;
    for (const TObjecto& t : colocados.Textos) textos.emplace_back(c.Folha, t);
    for (auto& [folha, t] : TextosDoAlbum(pedido.Album, pedido.Artista, c.Fonte))
      if ((folha == folhaFrente && pedido.AlbumNaFrente) || (folha == folhaTras && pedido.AlbumNasLombadas))
        textos.emplace_back(folha, t);
    TPasso passo(*this, Nome(kImportarFaixas));
    for (auto& [folha, t] : textos) {
      const std::uint64_t id = passo->Adicionar(folha, t);
      passo->DefinirNome(id, passo->NovoNome(QStringLiteral("Texto"), folha));
    }
    return;
  }
}
