// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: its construction and wiring to the session, events, the
// timer, help, about box, settings and printing.  Its controls as designed
// are made in uLurnDesenho.cpp; the view of the session is uLurnVista.cpp.
#include "editor/GuiaCD.h"
#include "editor/uLurn.h"

#include "components/Handles.h"
#include "components/OneInstance.h"
#include "editor/ReInit.h"
#include "editor/uDefParametros.h"
#include "editor/uParametros.h"
#include "editor/uSobre.h"
#include "editor/PerguntasDialogos.h"
#include "session/Sessao.h"
#include "platform/Dialogs.h"
#include "platform/HelpViewer.h"
#include "printing/ComandosImpressao.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

QPointer<QWidget> frmSplash;

// The pictures and help pages are linked in from a static library, so the
// resource data has to be registered by name before first use.
static void RegistarRecursos() {
  static const bool feito = [] {
    Q_INIT_RESOURCE(lurns_resources);
    return true;
  }();
  (void)feito;
}

TfrmLurn::TfrmLurn(QWidget* parent, bool umaInstancia, const QStringList& argumentos)
    : QMainWindow(parent), linhaComandos_(argumentos) {
  RegistarRecursos();
  perguntas_ = std::make_unique<TPerguntasDialogos>();
  sessao_ = std::make_unique<TSessao>(*perguntas_);
  setObjectName(QStringLiteral("frmLurn"));
  desenho = std::make_unique<TFormDesign>(this, "TfrmLurn");
  desenho->Caption(this, "Lurns para CD");
  // Single-line border with system menu and minimize box only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  QFont formFont(QStringLiteral("MS Sans Serif"));
  formFont.setPixelSize(11);
  setFont(formFont);
  CriarControlos();

  connect(checkLombada, &QCheckBox::toggled, this, [this] {
    // Which of the two back pictures shows is the window's choice, not part
    // of the cover (no file keeps it): the document is not changed by it.
    MostrarFundoTras();
  });
  connect(pageFolhas, &QTabWidget::currentChanged, this, [this] {
    checkLombada->setVisible(pageFolhas->currentIndex() == 2);
    sessao_->MudarFolha(FolhaActual());
  });
  StretchHandle1->OnDblClick = [this](QObject*) { sessao_->EditarTexto(); };
  // What the handle moved or resized goes to the session when the drag
  // ends, and after each nudge of an arrow key.
  StretchHandle1->OnMouseUp = [this](QObject*, TMouseButton, TShiftState, int, int) {
    EscreverLimites(Seleccionado());
  };
  StretchHandle1->OnKeyDown = [this](QObject*, int& key, TShiftState) { Nudge(key); };

  temporizador = new QTimer(this);
  temporizador->setObjectName(QStringLiteral("temporizador"));
  temporizador->setInterval(1000);
  connect(temporizador, &QTimer::timeout, this, &TfrmLurn::temporizadorTimer);
  temporizador->start();

  if (umaInstancia) {
    oneInstance1 = new TOneInstance(this);
    oneInstance1->setObjectName(QStringLiteral("oneInstance1"));
    // A second copy started to open a cover hands it to the running one,
    // which opens it; by its full name, as the two may run in different
    // folders.
    if (linhaComandos_.size() == 1) oneInstance1->SetFileToOpen(QFileInfo(linhaComandos_.first()).absoluteFilePath());
    connect(oneInstance1, &TOneInstance::OpenRequested, this, [this](const QString& f) { AbrirEntregue(f); });
    oneInstance1->Loaded();
  }

  // The controls follow the session from here on.
  connect(sessao_.get(), &TSessao::DocumentoAlterado, this, [this] {
    ActualizarVista();
    SeguirSeleccao();
  });
  connect(sessao_.get(), &TSessao::SeleccaoAlterada, this, [this] {
    SeguirSeleccao();
    ActualizarComandos();
  });
  connect(sessao_.get(), &TSessao::EstadoAlterado, this, &TfrmLurn::ActualizarComandos);
  connect(sessao_.get(), &TSessao::RecentesAlterados, this, &TfrmLurn::MostrarRecentes);
  impressao_ = std::make_unique<TComandosImpressao>(this);
  // Nothing replaces the document while it prints.
  sessao_->DefinirOcupado([this] { return impressao_ && impressao_->Ocupado(); });

  adjustSize();
  setFixedSize(sizeHint());
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

  FormCreate();
}

TfrmLurn::~TfrmLurn() {
  // The handle may have no parent while it holds nothing.
  delete StretchHandle1.data();
  // The session's signals reach the controls no more.
  sessao_->disconnect(this);
}

bool TfrmLurn::OutraCopiaAberta() const { return oneInstance1 && oneInstance1->Terminated(); }

void TfrmLurn::FormCreate() {
  if (frmSplash) frmSplash->raise();
  pageFolhas->setCurrentIndex(0);

  lampadaVerde = new TShape(barraEstado);
  lampadaVerde->setObjectName(QStringLiteral("lampadaVerde"));
  lampadaVerde->SetShape(stCircle);
  lampadaVerde->setGeometry(5, 3, 13, 13);
  lampadaVerde->SetBrushColor(0x00FF00);
  lampadaVerde->setToolTip(QStringLiteral("Ficheiro gravado"));
  lampadaVermelha = new TShape(barraEstado);
  lampadaVermelha->setObjectName(QStringLiteral("lampadaVermelha"));
  lampadaVermelha->SetShape(stCircle);
  lampadaVermelha->setGeometry(20, 3, 13, 13);
  lampadaVermelha->SetBrushColor(0x0000FF);
  lampadaVermelha->setToolTip(QStringLiteral("Ficheiro por gravar"));
  lampadaVerde->show();
  lampadaVermelha->hide();

  // The commands start in the state the session gives them; the splash
  // window stays until the first real tick.
  ActualizarComandos();
}

// ---------------------------------------------------------------------------
// Window events

bool TfrmLurn::event(QEvent* e) {
  // A modal dialog is opening over the window: nothing of the window may
  // keep the mouse (a press that selected an object takes it for the drag),
  // or the dialog would get none of it.
  if (e->type() == QEvent::WindowBlocked) {
    if (StretchHandle1) StretchHandle1->CancelDrag();
    if (QWidget* g = QWidget::mouseGrabber(); g && g->window() == this) g->releaseMouse();
  }
  // The window is free again: covers handed over meanwhile open now.
  if (e->type() == QEvent::WindowUnblocked && !entregues_.isEmpty())
    QTimer::singleShot(0, this, [this] { AbrirPendentes(); });
  return QMainWindow::event(e);
}

void TfrmLurn::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TfrmLurn::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TfrmLurn::MudarLingua() {
  const int lingua = Parametros().Lingua == 0 ? 2070 : 1033;
  // The platform's dialogs speak the language too, whether or not a module
  // of the program's own texts was found.
  LoadPlatformTranslations(lingua);
  if (LoadLanguageModule(lingua)) ReloadForms();
}

void TfrmLurn::FormShow() {
  LerParametros();
  StretchHandle1->SetGridX(Parametros().GrelhaX);
  StretchHandle1->SetGridY(Parametros().GrelhaY);
  GrelhaParaSessao();
  MudarLingua();
  if (linhaComandos_.size() == 1) sessao_->AbrirSemNome(linhaComandos_.first());
  MostrarRecentes();
  // Covers handed over while the window was being made.
  if (!entregues_.isEmpty()) QTimer::singleShot(0, this, [this] { AbrirPendentes(); });
}

void TfrmLurn::FormActivate() {
  if (frmSplash) frmSplash->raise();
  SetApplicationHelpFile(QStringLiteral("lurns.hlp"));
}

void TfrmLurn::temporizadorTimer() {
  if (frmSplash) {
    frmSplash->raise();
    delete frmSplash.data();
    frmSplash = nullptr;
  }
  ActualizarComandos();
  // A cover handed over while a print was running.
  if (!entregues_.isEmpty()) AbrirPendentes();
}

namespace {
TOpcoesCapa OpcoesCapa(bool comLombada) {
  TOpcoesCapa opcoes;
  opcoes.ComLombada = comLombada;
  opcoes.Superior = Parametros().Superior;
  opcoes.Esquerda = Parametros().Esquerda;
  opcoes.Etiqueta = Parametros().PapelCD.Stock();
  opcoes.Marcas = Parametros().Marcas;
  opcoes.Sangria = Parametros().Marcas && Parametros().Sangria;
  return opcoes;
}

// The printer document (the spooler's job) of a print, named after the
// cover; the same from the preview.
QString NomeTrabalho(const QString& ficheiro) {
  return ficheiro.isEmpty() ? QStringLiteral("Lurns para CD")
                            : QStringLiteral("Lurns para CD - ") + QFileInfo(ficheiro).fileName();
}
}  // namespace

void TfrmLurn::menuFicheiroImprimirClick() {
  impressao_->Imprimir(sessao_->Documento(), FolhaActual(), OpcoesCapa(checkLombada->isChecked()), NomeTrabalho(sessao_->NomeFicheiro()));
}

void TfrmLurn::menuFicheiroPreverImpressoClick() {
  impressao_->Prever(sessao_->Documento(), FolhaActual(), OpcoesCapa(checkLombada->isChecked()), NomeTrabalho(sessao_->NomeFicheiro()));
}

void TfrmLurn::menuFicheiroExportarClick() {
  impressao_->Exportar(sessao_->Documento(), FolhaActual(), OpcoesCapa(checkLombada->isChecked()),
                       sessao_->NomeFicheiro(), NomeTrabalho(sessao_->NomeFicheiro()));
}

void TfrmLurn::menuAjudaAjudaClick() {
  if (!HelpContents()) Dialogs().Warning(QStringLiteral("Não foi possível abrir a ajuda."));
}

void TfrmLurn::menuAjudaParametrosClick() {
  sessao_->Seleccionar(0);
  if (!frmParametros) frmParametros = new TfrmParametros(this);
  frmParametros->exec();
  // Applied however the dialog was closed, from the record as it is now.
  MudarLingua();
  StretchHandle1->SetGridX(Parametros().GrelhaX);
  StretchHandle1->SetGridY(Parametros().GrelhaY);
  GrelhaParaSessao();
  Shape1->SetPenColor(Parametros().Dobra);
  Shape2->SetPenColor(Parametros().Dobra);
  guiaCD->update();  // the disc paper's hole
}

void TfrmLurn::menuAjudaSobreClick() {
  if (!AboutBox) AboutBox = new TAboutBox(this);
  AboutBox->exec();
}


void TfrmLurn::opcaoAlinharAgrelhaClick() {
  const bool v = !opcaoAlinharAgrelha->isChecked();
  StretchHandle1->SetSnapToGrid(v);
  opcaoAlinharAgrelha->setChecked(v);
  GrelhaParaSessao();
}

void TfrmLurn::GrelhaParaSessao() {
  // With snapping off the handle moves by single pixels; a pasted copy
  // still goes a visible 8 pixels from its original.
  sessao_->DefinirGrelha(StretchHandle1->SnapToGrid() ? QSize(StretchHandle1->GridX(), StretchHandle1->GridY())
                                                      : QSize(8, 8));
}

void TfrmLurn::closeEvent(QCloseEvent* e) {
  if (sessao_->PodeFechar()) e->accept();
  else e->ignore();
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
  while (!entregues_.isEmpty()) sessao_->AbrirEntregue(entregues_.takeFirst());
}
