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
#include <QCloseEvent>
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
  // empty or partly read document.
  LimparDocumento();
  TLeituraCapa l = LerCapa(nome);
  const bool costas = !l.Documento.Fundo(fundoTras).Vazia() || !l.Documento.Fundo(fundoTrasLombada).Vazia();
  documento_.Substituir(std::move(l.Documento));
  if (costas) MostrarFundoTras();
  MostrarMensagens(l.Mensagens);
  if (l.Lido) ActualizarRecentes(nome);
  return l.Lido;
}

// ---------------------------------------------------------------------------
// Recent files

void TfrmLurn::ActualizarRecentes(const QString& nome) {
  if (!usarRecentes) return;
  auto s = AbrirRegisto();
  QString F[6];
  for (int i = 1; i <= 5; ++i) F[i] = s->value(QStringLiteral("Ficheiro%1").arg(i)).toString();
  auto por = [&](int i, const QString& v) { s->setValue(QStringLiteral("Ficheiro%1").arg(i), v); };
  int k = 0;
  for (int i = 1; i <= 5 && !k; ++i)
    if (F[i] == nome) k = i;
  if (k != 1) {
    if (k == 0) {
      for (int i = 5; i >= 2; --i) por(i, F[i - 1]);
    } else {
      for (int i = k; i <= 4; ++i) por(i, F[i + 1]);
      por(5, F[1]);
    }
    por(1, nome);
  }
  s->sync();
  MostrarRecentes();
}

void TfrmLurn::MostrarRecentes() {
  QAction* const entradas[] = {menuFicheirosFicheiro1, menuFicheirosFicheiro2, menuFicheirosFicheiro3,
                               menuFicheirosFicheiro4, menuFicheirosFicheiro5};
  for (QAction* a : entradas) a->setVisible(false);
  separadorFicheiros->setVisible(false);
  auto s = AbrirRegisto();
  for (int i = 0; i < 5; ++i) {
    const QString nome = s->value(QStringLiteral("Ficheiro%1").arg(i + 1)).toString();
    if (nome.isEmpty()) continue;
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
  const auto nome = Dialogs().SaveFile(DialogoGravarLurn());
  if (!nome) return false;
  GravarFicheiro(*nome);
  return !erroGravacao;
}

std::optional<QString> TfrmLurn::DialogoAbrir() { return Dialogs().OpenFile(DialogoAbrirLurn()); }

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
    if (r == TSeguir::SemGravar) ficheiroGravado = true;
    // A file that could not be read does not become the current file: the
    // next save asks for a name instead of overwriting it with what is shown.
    nomeFicheiro = AbrirFicheiro(nome) ? nome : QString();
    MostrarGravado();
  }
  painelFicheiro->setText(nomeFicheiro);
}

// ---------------------------------------------------------------------------
// File commands

void TfrmLurn::menuFicheiroNovoClick() {
  const TSeguir r = PodeSeguir();
  if (r != TSeguir::Parar) {
    LimparDocumento();
    nomeFicheiro.clear();
    if (r == TSeguir::SemGravar) ficheiroGravado = true;
    MostrarLampadas();
  }
  painelFicheiro->clear();
}

void TfrmLurn::manuFicheiroAbrirClick() {
  // The document counts as saved only once a file was really opened, and
  // a file that could not be read does not become the current file.
  if (PodeSeguir() != TSeguir::Parar) {
    if (const auto nome = DialogoAbrir()) {
      ficheiroGravado = true;
      nomeFicheiro = AbrirFicheiro(*nome) ? *nome : QString();
      MostrarGravado();
    }
  }
  painelFicheiro->setText(nomeFicheiro);
}

void TfrmLurn::menuFicheiroGravarClick() {
  if (!nomeFicheiro.isEmpty()) {
    GravarFicheiro(nomeFicheiro);
  } else if (const auto nome = Dialogs().SaveFile(DialogoGravarLurn())) {
    nomeFicheiro = *nome;
    GravarFicheiro(nomeFicheiro);
  }
  painelFicheiro->setText(nomeFicheiro);
}

void TfrmLurn::menuFicheiroGravarComoClick() {
  if (const auto nome = Dialogs().SaveFile(DialogoGravarLurn())) {
    GravarFicheiro(*nome);
    nomeFicheiro = *nome;
  }
  painelFicheiro->setText(nomeFicheiro);
}

bool TfrmLurn::FormCloseQuery() { return PodeSeguir() != TSeguir::Parar; }

void TfrmLurn::closeEvent(QCloseEvent* e) {
  if (FormCloseQuery()) e->accept();
  else e->ignore();
}

