// The file commands of the main window (New, Open, Save, Save As, the
// question before unsaved changes are lost) and the recent-file list.
// Reading and writing the file itself is the document's (FicheiroCapa).
#include "components/Handles.h"
#include "document/FicheiroCapa.h"
#include "editor/uDefParametros.h"
#include "editor/uLurn.h"
#include "platform/Dialogs.h"
#include "printing/ComandosImpressao.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>

namespace {
const TFileDialogSpec& DialogoAbrirLurn() {
  static const TFileDialogSpec pedido{QStringLiteral("Abrir Lurn"), QStringLiteral("Lurns CD (*.lrn)|*.lrn"),
                                    QStringLiteral("(Lurns CD) *.LRN"), false, {}, {}};
  return pedido;
}
const TFileDialogSpec& DialogoGravarLurn() {
  static const TFileDialogSpec pedido{QStringLiteral("Gravar Lurn"), QStringLiteral("Lurns CD (*.lrn)|*.lrn"),
                                    QStringLiteral("*.lrn"), true, {}, {}};
  return pedido;
}
}  // namespace

// ---------------------------------------------------------------------------
// Cover files

bool TfrmLurn::GravarFicheiro(const QString& nome) {
  const TGravacaoCapa g = GravarCapa(documento_, nome);
  switch (g.Fim) {
    case TFimGravacao::NaoIniciada:
      // Nothing was written: the lamps stay as they were.
      erroGravacao = true;
      MostrarMensagens(g.Mensagens);
      return false;
    case TFimGravacao::Falhou:
      erroGravacao = true;
      ficheiroGravado = false;
      break;
    case TFimGravacao::Gravado:
      erroGravacao = false;
      ActualizarRecentes(nome);
      ficheiroGravado = true;
      break;
  }
  MostrarMensagens(g.Mensagens);
  MostrarLampadas();
  return !erroGravacao;
}

bool TfrmLurn::AbrirFicheiro(const QString& nome) {
  // Emptied before anything is read: a file that fails to read leaves an
  // empty or partly read document.  Reading is no change of the document.
  TLeituraCapa l = LerCapa(nome);
  const bool costas = !l.Documento.Fundo(fundoTras).Vazia() || !l.Documento.Fundo(fundoTrasLombada).Vazia();
  SemMarcar([&] {
    LimparDocumento();
    documento_.Substituir(std::move(l.Documento));
  });
  if (costas) MostrarFundoTras();
  MostrarMensagens(l.Mensagens);
  if (l.Lido) ActualizarRecentes(nome);
  return l.Lido;
}

void TfrmLurn::AbrirComoActual(const QString& nome) {
  const bool lido = AbrirFicheiro(nome);
  nomeFicheiro = lido ? nome : QString();
  // A file that could not be read whole does not become the current file:
  // the next Gravar offers its name in the save dialog, which asks before
  // writing over it.  What of it is shown is on no disc yet.
  ficheiroOrigem = lido ? QString() : nome;
  ficheiroGravado = lido || documento_.Vazio();
  MostrarLampadas();
}

void TfrmLurn::AbrirSemNome(const QString& nome) {
  const bool lido = AbrirFicheiro(nome);
  nomeFicheiro.clear();
  ficheiroOrigem = QFileInfo(nome).absoluteFilePath();
  ficheiroGravado = lido || documento_.Vazio();
  MostrarLampadas();
  painelFicheiro->clear();
}

void TfrmLurn::AbrirEntregue(const QString& nome) {
  if (nome.isEmpty()) return;
  entregues_ << nome;
  AbrirPendentes();
}

void TfrmLurn::AbrirPendentes() {
  // Not inside another command's dialog, nor before the window is up: the
  // covers wait for the window to be free.
  if (!shown_ || QApplication::activeModalWidget() || (impressao_ && impressao_->Ocupado())) return;
  while (!entregues_.isEmpty()) {
    const QString nome = entregues_.takeFirst();
    if (PodeSeguir() == TSeguir::Parar) continue;
    AbrirSemNome(nome);
  }
}

// ---------------------------------------------------------------------------
// Recent files

void TfrmLurn::ActualizarRecentes(const QString& nome) {
  if (!usarRecentes) return;
  auto s = AbrirRegisto();
  GravarRecentes(*s, ComRecente(LerRecentes(*s), nome));
  s->sync();
  MostrarRecentes();
}

void TfrmLurn::MostrarRecentes() {
  QAction* const entradas[] = {menuFicheirosFicheiro1, menuFicheirosFicheiro2, menuFicheirosFicheiro3,
                               menuFicheirosFicheiro4, menuFicheirosFicheiro5};
  for (QAction* a : entradas) a->setVisible(false);
  separadorFicheiros->setVisible(false);
  auto s = AbrirRegisto();
  const QStringList recentes = LerRecentes(*s);
  for (int i = 0; i < recentes.size(); ++i) {
    const QString& nome = recentes[i];
    // A menu takes "&" for the mark of an access key: doubled, it shows
    // as itself.  The entry keeps the name itself apart from its caption.
    entradas[i]->setText(QString(nome).replace(QLatin1Char('&'), QLatin1String("&&")));
    entradas[i]->setData(nome);
    entradas[i]->setVisible(true);
    separadorFicheiros->setVisible(true);
  }
}

void TfrmLurn::menuFicheirosFicheiroClick(int i) {
  QAction* const entradas[] = {menuFicheirosFicheiro1, menuFicheirosFicheiro2, menuFicheirosFicheiro3,
                               menuFicheirosFicheiro4, menuFicheirosFicheiro5};
  AbrirRecente(entradas[i - 1]->data().toString());
}

void TfrmLurn::MostrarGravado() {
  lampadaVerde->show();
  lampadaVermelha->hide();
}

bool TfrmLurn::GravarComDialogo() {
  const auto nome = DialogoGravar();
  if (!nome) return false;
  GravarFicheiro(*nome);
  return !erroGravacao;
}

std::optional<QString> TfrmLurn::DialogoAbrir() { return Dialogs().OpenFile(DialogoAbrirLurn()); }

std::optional<QString> TfrmLurn::DialogoGravar() {
  TFileDialogSpec pedido = DialogoGravarLurn();
  // A cover read without taking its name is offered back under that name.
  const QString origem = nomeFicheiro.isEmpty() ? ficheiroOrigem : nomeFicheiro;
  if (!origem.isEmpty()) {
    const QFileInfo f(origem);
    pedido.InitialDir = f.absolutePath();
    pedido.FileName = f.absoluteFilePath();
  }
  return Dialogs().SaveFile(pedido);
}

TfrmLurn::TSeguir TfrmLurn::PodeSeguir() {
  // Nothing replaces or closes the document while it prints.
  if (impressao_ && impressao_->Ocupado()) return TSeguir::Parar;
  if (ficheiroGravado) return TSeguir::Gravado;
  switch (Dialogs().ConfirmYesNoCancel(QStringLiteral("Ficheiro alterado. Gravar?"))) {
    case TModalResult::Yes:
      if (!nomeFicheiro.isEmpty()) {
        GravarFicheiro(nomeFicheiro);
        return erroGravacao ? TSeguir::Parar : TSeguir::Gravado;
      }
      return GravarComDialogo() ? TSeguir::Gravado : TSeguir::Parar;
    case TModalResult::No: return TSeguir::SemGravar;
    default: return TSeguir::Parar;
  }
}

void TfrmLurn::AbrirRecente(const QString& nome) {
  const TSeguir r = PodeSeguir();
  if (r != TSeguir::Parar) {
    AbrirComoActual(nome);
  }
  painelFicheiro->setText(nomeFicheiro);
}

// ---------------------------------------------------------------------------
// File commands

void TfrmLurn::menuFicheiroNovoClick() {
  const TSeguir r = PodeSeguir();
  if (r != TSeguir::Parar) {
    SemMarcar([this] { LimparDocumento(); });
    nomeFicheiro.clear();
    ficheiroOrigem.clear();
    ficheiroGravado = true;
    MostrarLampadas();
  }
  painelFicheiro->clear();
}

void TfrmLurn::manuFicheiroAbrirClick() {
  // The document counts as saved only once a file was really opened, and
  // a file that could not be read does not become the current file.
  if (PodeSeguir() != TSeguir::Parar) {
    if (const auto nome = DialogoAbrir()) AbrirComoActual(*nome);
  }
  painelFicheiro->setText(nomeFicheiro);
}

void TfrmLurn::menuFicheiroGravarClick() {
  if (!nomeFicheiro.isEmpty()) GravarFicheiro(nomeFicheiro);
  else menuFicheiroGravarComoClick();
  painelFicheiro->setText(nomeFicheiro);
}

void TfrmLurn::menuFicheiroGravarComoClick() {
  // A name becomes the current file only once the cover was written under it.
  if (const auto nome = DialogoGravar(); nome && GravarFicheiro(*nome)) {
    nomeFicheiro = *nome;
    ficheiroOrigem.clear();
  }
  painelFicheiro->setText(nomeFicheiro);
}

bool TfrmLurn::FormCloseQuery() { return PodeSeguir() != TSeguir::Parar; }

void TfrmLurn::closeEvent(QCloseEvent* e) {
  if (FormCloseQuery()) e->accept();
  else e->ignore();
}

