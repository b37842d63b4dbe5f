// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: menu, tool bar, the four sheets of the cover and the
// status bar.  The window is a view of its editing session (TSessao,
// session/): the menus, tool buttons, keys and mouse call the session's
// commands, and the controls follow the session's document, selection and
// state.  Each sheet is a panel whose background controls show the sheet's
// colour and pictures and whose text and picture controls show the sheet's
// objects, one control per object, owned by the panel in the document's
// order.  A move or resize made with the mouse or the arrow keys on a
// control is handed to the session when it ends.
//
// The class is split by concern over several files: uLurn.cpp
// (construction, events, the timer, help and settings), uLurnDesenho.cpp
// (the controls as designed: menu, tool bar, sheets, status bar, and what
// each calls) and uLurnVista.cpp (the controls following the session, the
// mouse and keys on the objects, the recent files).
#pragma once

#include "document/Documento.h"
#include "platform/Controls.h"
#include "platform/Types.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class QToolButton;
class TBarPopupMenu;
class TComandosImpressao;
class TDSShape;
class TProImage;
class TProLabel;
class TStretchHandle;
class TFormDesign;
class TGuiaCD;
class TOneInstance;
class TPerguntasDialogos;
class TSessao;

class TfrmLurn : public QMainWindow {
  Q_OBJECT
 public:
  // With umaInstancia the single-instance guard runs while the window is
  // built (the program); tests that open several windows leave it out.
  // linhaComandos: the arguments the program was started with; one names
  // the cover to open, which a second copy hands to the running one.
  explicit TfrmLurn(QWidget* parent = nullptr, bool umaInstancia = true, const QStringList& linhaComandos = {});
  ~TfrmLurn() override;

  // The editing session the window shows: its document, file and history,
  // and every command.
  TSessao& Sessao() { return *sessao_; }

  // Another copy of the program was running: it was asked to come to the
  // front (and to open the cover this one was started with), and this copy
  // ends without showing the window.
  bool OutraCopiaAberta() const;

  // The control that shows an object (nullptr for none).
  QWidget* Controlo(std::uint64_t id) const;

  // A cover handed over by another copy of the program (a double-click on a
  // cover in the file manager while the program runs): opened as one named
  // on the command line at start-up, after the question about unsaved
  // changes.  While a modal dialog is open, a print runs or the window is
  // not shown yet it waits, and is opened as soon as the window is free.
  void AbrirEntregue(const QString& nome);

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Window events and handlers (uLurn.cpp).
  void FormCreate();
  void FormShow();
  void FormActivate();
  void temporizadorTimer();
  void menuAjudaAjudaClick();
  void menuAjudaSobreClick();
  void menuAjudaParametrosClick();
  void menuFicheiroImprimirClick();
  void menuFicheiroPreverImpressoClick();
  void menuFicheiroExportarClick();
  void opcaoAlinharAgrelhaClick();
  // The grid the handle snaps to, for the session's pastes and imports.
  void GrelhaParaSessao();
  // Loads the language module of the language setting and reloads the forms.
  void MudarLingua();
  // Opens the covers other copies handed over, when the window is free.
  void AbrirPendentes();

  // Building (uLurnDesenho.cpp).
  void CriarControlos();
  void CriarMenu();
  void CriarBarraFerramentas();
  void CriarFolhas();
  void CriarBarraEstado();
  void CriarMenuObjectos();

  // The view (uLurnVista.cpp).
  TPanel* Painel(int folha) const;
  int FolhaActual() const;
  QWidget* Seleccionado() const;
  std::uint64_t IdObjecto(const QWidget* controlo) const;
  // The enabled state and captions of the commands, the lamps and the
  // file name, from the session's state.
  void ActualizarComandos();
  void MostrarRecentes();
  void ActualizarVista();
  void ActualizarFundos();
  void ActualizarObjectos(int folha);
  QWidget* CriarControlo(const TObjecto& o, TPanel* painel);
  void ActualizarTexto(TProLabel* texto, const TObjecto& o);
  void ActualizarImagem(TProImage* imagem, const TObjecto& o);
  // The stretch handle holds the control of the session's selected object.
  void SeguirSeleccao();
  void MostrarFundoTras();
  void FundosParaTras();
  // Hands the bounds the handle gave a control to the session, and puts
  // the control back where the document has its object.
  void EscreverLimites(QWidget* controlo);
  void Nudge(int key);
  // The objects' mouse handlers, given to every text and picture control.
  void LigarTexto(TProLabel* texto);
  void LigarImagem(TProImage* imagem);
  void textoMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void textoMouseMove(QObject* Sender, TShiftState Shift, int X, int Y);
  void textoMouseUp(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void imagemMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  // A step's name in the language in use.
  QString NomePasso(const QString& nome) const;

  std::unique_ptr<TPerguntasDialogos> perguntas_;
  std::unique_ptr<TSessao> sessao_;
  std::unique_ptr<TComandosImpressao> impressao_;
  QStringList linhaComandos_;

  // The texts of the window's design, reloaded when the language changes;
  // the names of the history's steps as the language module has them.
  std::unique_ptr<TFormDesign> desenho;
  QHash<QString, QString> nomesPassos_;
  QString textoDesfazer_, textoRefazer_;

  QWidget* client;  // the 587 x 529 client area
  QWidget *ToolBar1, *barraEstado;
  QToolButton *botaoNovo, *botaoAbrir, *botaoGravar, *botaoImprimirFrente, *botaoImprimirTras,
      *botaoInserirImagem, *botaoTexto, *botaoApagar, *botaoCopiar, *botaoColar, *botaoDesfazer, *botaoRefazer,
      *botaoEditar, *botaoEsquerda, *botaoCentrar, *botaoDireita, *botao90GEsquerda, *botao90GDireita, *botaoSair;
  QCheckBox* checkLombada;
  QTabWidget* pageFolhas;
  QWidget *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet4;
  TPanel *painelFrente, *painelInterior, *painelTras, *painelCD;
  TShape *corFrente, *corInterior, *corTras;
  TProImage *imgFrente, *imgInterior, *imgTras, *imgTrasLombada, *ProImage1, *imgCD;
  TShape *Shape1, *Shape2;
  TDSShape* centroCD;
  // The hole (and hub, or label) guide over the disc; it does not print.
  TGuiaCD* guiaCD = nullptr;
  QPointer<TStretchHandle> StretchHandle1;
  TBarPopupMenu* popUpMenuHandles;
  QLabel* painelFicheiro;  // status bar panel 1: the current file name
  TShape *lampadaVerde = nullptr, *lampadaVermelha = nullptr;
  TOneInstance* oneInstance1 = nullptr;
  QTimer* temporizador;

  QMenu *menuFicheiros, *menuEditar, *menuObjectos, *menuAjuda;
  QAction *menuFicheiroNovo, *manuFicheiroAbrir, *menuFicheiroGravar, *menuFicheiroGravarComo, *N1,
      *menuFicheiroConfigurarImpressora, *menuFicheiroImprimir, *menuFicheiroPreverImpresso, *menuFicheiroExportar, *N2,
      *menuFicheirosFicheiro1, *menuFicheirosFicheiro2, *menuFicheirosFicheiro3, *menuFicheirosFicheiro4,
      *menuFicheirosFicheiro5, *separadorFicheiros, *menuFicheiroSair;
  QAction *menuEditarDesfazer, *menuEditarRefazer, *N6, *menuEditarCortar, *menuEditarApagar, *menuEditarCopiar,
      *menuEditarColar, *N3, *menuEditarAlinharEsquerda, *menuEditarAlinharDireita, *menuEditarCentrar;
  QAction *menuObjectosImagemdefundo, *menuObjectosCordefundo, *menuObjectosInserirtexto,
      *menuObjectosInseririmagem, *menuObjectosRodar90Esquerda, *menuObjectosRodar90Direita,
      *menuObjectosEditartextoseleccionado, *menuObjectosAlterarfonteecor, *menuObjectosAlterarimagem,
      *manuObjectosLimparImagemFundo, *menuObjectosImportarfaixas;
  QAction *menuAjudaAjuda, *N4, *menuAjudaParametros, *N5, *menuAjudaSobre;
  QAction *opcaoEditarAlterarimagem, *opcaoAlterarfonte, *opcaoCortar, *opcaoApagar, *opcaoCopiar, *opcaoColar,
      *opcaoRodar45esquerda, *opcaoRodar45direita, *opcaoAlinharAgrelha;

  // Where a drag of a text by itself began.
  int origemX = 0, origemY = 0;
  bool shown_ = false;
  QStringList entregues_;
};

// The splash window while it exists (destroyed at the first timer tick).
extern QPointer<QWidget> frmSplash;
