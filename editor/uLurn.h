// The main window: menu, tool bar, the four sheets of the cover and the
// status bar.  The window is a view of its cover document (TDocumento):
// each sheet is a panel whose background controls show the sheet's colour
// and pictures and whose text and picture controls show the sheet's
// objects, one control per object, owned by the panel in the document's
// order.  Commands change the document and the controls follow it; a move
// or resize made with the mouse on a control is written back to the
// document when it ends.  The selection (the object the stretch handle
// holds) and the file state are the window's own.
//
// The class is split by concern over several files: uLurn.cpp
// (construction, events, the timer, help and settings), uLurnDesenho.cpp
// (the controls as designed: menu, tool bar, sheets, status bar),
// uLurnVista.cpp (the controls following the document, selection, mouse
// handlers), uLurnObjectos.cpp (object and background commands),
// uLurnFicheiros.cpp (file commands and recent files) and
// uLurnTransferencia.cpp (copy and paste).
#pragma once

#include "document/Documento.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>

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
struct TMensagem;

class TfrmLurn : public QMainWindow {
  Q_OBJECT
 public:
  // With umaInstancia the single-instance guard runs while the window is
  // built (the program); tests that open several windows leave it out.
  // linhaComandos: the arguments the program was started with; a second
  // copy hands the cover it names to the running one.
  explicit TfrmLurn(QWidget* parent = nullptr, bool umaInstancia = true, const QStringList& linhaComandos = {});
  ~TfrmLurn() override;

  // ---- The document and the window-level state that goes with it ----
  TDocumento& Documento() { return documento_; }
  const TDocumento& Documento() const { return documento_; }
  bool ficheiroGravado = true;
  bool erroGravacao = false;
  QString nomeFicheiro;
  bool nadaCopiado = true;
  qint32 origemX = 0, origemY = 0;
  // Whether reading and saving put the file at the head of the recent list.
  bool usarRecentes = true;
  // The arguments the program was started with (without the program name).
  QStringList linhaComandos;
  // The cover file shown was read without becoming the current file (named
  // on the command line, handed over by another copy, or damaged): the save
  // dialog that Gravar then shows starts on it, so that saving it back is
  // one Enter and the replace question away.
  QString ficheiroOrigem;

  // ---- Controls, by their component names ----
  QWidget* client;  // the 587 x 529 client area
  QToolButton *botaoNovo, *botaoApagar, *botaoCopiar, *botaoColar, *botaoEditar, *botaoEsquerda,
      *botaoCentrar, *botaoDireita, *botao90GEsquerda, *botao90GDireita, *botaoTexto;
  QCheckBox* checkLombada;
  QTabWidget* pageFolhas;
  TPanel *painelFrente, *painelInterior, *painelTras, *painelCD;
  TShape *corFrente, *corInterior, *corTras;
  TProImage *imgFrente, *imgInterior, *imgTras, *imgTrasLombada;
  TShape *Shape1, *Shape2;
  TDSShape* centroCD;
  // The hole (and hub, or label) guide over the disc; it does not print.
  TGuiaCD* guiaCD = nullptr;
  QPointer<TStretchHandle> StretchHandle1;
  QLabel* painelFicheiro;  // status bar panel 1: the current file name
  TShape *lampadaVerde = nullptr, *lampadaVermelha = nullptr;
  TOneInstance* oneInstance1 = nullptr;
  QMenu* menuFicheiros;
  QAction *menuFicheirosFicheiro1, *menuFicheirosFicheiro2, *menuFicheirosFicheiro3,
      *menuFicheirosFicheiro4, *menuFicheirosFicheiro5, *separadorFicheiros, *menuFicheiroSair;
  QAction *menuEditarApagar, *menuEditarCopiar, *menuEditarColar, *menuEditarAlinharEsquerda,
      *menuEditarAlinharDireita, *menuEditarCentrar;
  QAction *menuObjectosImagemdefundo, *menuObjectosInserirtexto, *menuObjectosRodar90Esquerda,
      *menuObjectosRodar90Direita, *menuObjectosEditartextoseleccionado, *menuObjectosAlterarfonteecor,
      *menuObjectosAlterarimagem;
  QAction* menuAjudaAjuda;
  QAction* opcaoAlinharAgrelha;

  // ---- The view ----
  TPanel* Painel(int folha) const;
  // The sheet of the active tab page.
  int FolhaActual() const;
  // The selected control, or nullptr.
  QWidget* Seleccionado() const;
  // The object a control shows (0 for none), and the control that shows
  // an object (nullptr for none).
  std::uint64_t IdObjecto(const QWidget* controlo) const;
  QWidget* Controlo(std::uint64_t id) const;

  // ---- Document operations, as the commands and the tests reach them ----
  QString NovoNome(const QString& prefixo, int folha) const;
  // Releases the selection and empties the document.
  void LimparDocumento();
  void FundosParaTras();
  // Marks the document changed: flag false, red lamp.  Every change of the
  // document does it by itself; nothing else does.
  void MarcarAlterado();

  // ---- Handlers ----
  void temporizadorTimer();
  void menuAjudaAjudaClick();
  void menuAjudaSobreClick();
  void menuAjudaParametrosClick();

  // Clipboard.
  void menuEditarCopiarClick();
  void menuEditarColarClick();

  // Object editing commands.
  void menuObjectosInserirtextoClick();
  void menuObjectosInseririmagemClick();
  void menuObjectosEditartextoseleccionadoClick();
  void opcaoEditarAlterarimagemClick();
  void menuObjectosAlterarfonteecorClick();
  void menuObjectosAlterarimagemClick();
  void menuEditarAlinharEsquerdaClick();
  void menuEditarCentrarClick();
  void menuEditarAlinharDireitaClick();
  void menuObjectosRodar90EsquerdaClick();
  void menuObjectosRodar90DireitaClick();
  void menuEditarApagarClick();
  void menuObjectosImagemdefundoClick();
  void menuObjectosCordefundoClick();
  void manuObjectosLimparImagemFundoClick();
  void opcaoAlinharAgrelhaClick();

  // ---- Cover files and recent files ----
  bool GravarFicheiro(const QString& nome);
  // True when the whole file was read (missing pictures are only reported).
  bool AbrirFicheiro(const QString& nome);
  void ActualizarRecentes(const QString& nome);
  void MostrarRecentes();
  void menuFicheiroNovoClick();
  void manuFicheiroAbrirClick();
  void menuFicheiroGravarClick();
  void menuFicheiroGravarComoClick();
  void menuFicheirosFicheiroClick(int i);
  // True when the window may close (asks about unsaved changes).
  bool FormCloseQuery();
  // A cover handed over by another copy of the program (a double-click on a
  // cover in the file manager while the program runs): opened as one named
  // on the command line at start-up, after the question about unsaved
  // changes.  While a modal dialog is open or the window is not shown yet
  // it waits, and is opened as soon as the window is free.
  void AbrirEntregue(const QString& nome);

  // Runs the window's start-up steps that need the window shown.
  void FormShow();

  // The help context number a menu entry or control carries.
  static int HelpContext(const QObject* o);

  // The printing commands (printing/ComandosImpressao).
  TComandosImpressao& Impressao() { return *impressao_; }

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Window events and handlers (uLurn.cpp).
  void FormActivate();
  // The lamps and the enabled state of the object commands, as each tick
  // derives them.
  void ActualizarComandos();
  // Shows the lamps for the current flag.
  void MostrarLampadas();
  void pageFolhasChange();
  void LibertarSeleccao();  // background clicks
  void checkLombadaClick();
  void menuFicheiroSairClick();
  void menuFicheiroConfigurarImpressoraClick();
  void menuFicheiroImprimirClick();
  void menuFicheiroPreverImpressoClick();
  // Loads the language module of the language setting and reloads the forms.
  void MudarLingua();

  // Object mouse handlers, given to every text and picture control
  // (uLurnVista.cpp).
  void textoMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void textoMouseMove(QObject* Sender, TShiftState Shift, int X, int Y);
  void textoMouseUp(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void imagemMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  // Building (uLurnDesenho.cpp, FormCreate in uLurn.cpp).
  void FormCreate();
  void CriarControlos();
  void CriarMenu();
  void CriarBarraFerramentas();
  void CriarFolhas();
  void CriarBarraEstado();
  void CriarMenuObjectos();

  // The view (uLurnVista.cpp).
  void ActualizarVista();
  void ActualizarFundos();
  void ActualizarObjectos(int folha);
  QWidget* CriarControlo(const TObjecto& o, TPanel* painel);
  void ActualizarTexto(TProLabel* texto, const TObjecto& o);
  void ActualizarImagem(TProImage* imagem, const TObjecto& o);
  void LigarTexto(TProLabel* texto);
  void LigarImagem(TProImage* imagem);
  // Writes the bounds of the selected control back to its object, after
  // the handle moved or resized it.
  void EscreverLimites(QWidget* controlo);
  const TObjecto* ObjectoSeleccionado() const;
  void MostrarFundoTras();
  void MostrarMensagens(const QList<TMensagem>& mensagens);

  // Object commands (uLurnObjectos.cpp).
  void CriarTexto(int folha);
  void EditarTexto(std::uint64_t id);
  void Alinhar(int modo);
  void Rodar(bool esquerda);
  // Loads a picture file; shows the loader's message and returns false
  // when it cannot be read.
  bool LerImagem(const QString& ficheiro, TPicture& imagem);

  // File commands (uLurnFicheiros.cpp).  Before the document is replaced
  // or the window closes: nothing to ask (Gravado), "Ficheiro alterado.
  // Gravar?" answered Yes and saved (Gravado) or No (SemGravar), or stop
  // (Cancel, or the save failed).
  enum class TSeguir { Gravado, SemGravar, Parar };
  TSeguir PodeSeguir();
  // Saves to a name chosen in the save dialog; false when cancelled or failed.
  bool GravarComDialogo();
  // Green lamp, red hidden.
  void MostrarGravado();
  std::optional<QString> DialogoAbrir();
  std::optional<QString> DialogoGravar();
  void AbrirRecente(const QString& nome);
  // Opens a cover as the current file (Abrir, a recent file): a file read
  // whole becomes the current file; one that could not be read whole does
  // not, and the document counts as changed when something of it is shown.
  void AbrirComoActual(const QString& nome);
  // Opens a cover without making it the current file (command line, a
  // cover handed over).
  void AbrirSemNome(const QString& nome);
  // Opens the covers other copies handed over, when the window is free.
  void AbrirPendentes();
  // Edits the document without marking it changed (opening, clearing).
  template <class F> void SemMarcar(F f) {
    struct TRepor {
      bool& valor;
      bool antes;
      ~TRepor() { valor = antes; }
    } repor{semMarcar_, semMarcar_};
    semMarcar_ = true;
    f();
  }

  TDocumento documento_;
  std::unique_ptr<TComandosImpressao> impressao_;

  // The texts of the window's design, reloaded when the language changes.
  std::unique_ptr<TFormDesign> desenho;
  QWidget *ToolBar1, *barraEstado;
  QToolButton *botaoAbrir, *botaoGravar, *botaoImprimirFrente, *botaoImprimirTras, *botaoInserirImagem,
      *botaoSair;
  QWidget *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet4;
  TProImage *ProImage1, *imgCD;
  TBarPopupMenu* popUpMenuHandles;
  QTimer* temporizador;
  QMenu *menuEditar, *menuObjectos, *menuAjuda;
  QAction *menuFicheiroNovo, *manuFicheiroAbrir, *menuFicheiroGravar, *menuFicheiroGravarComo, *N1,
      *menuFicheiroConfigurarImpressora, *menuFicheiroImprimir, *menuFicheiroPreverImpresso, *N2, *N3,
      *menuObjectosCordefundo, *menuObjectosInseririmagem, *manuObjectosLimparImagemFundo, *N4,
      *menuAjudaParametros, *N5, *menuAjudaSobre;
  QAction *opcaoEditarAlterarimagem, *opcaoAlterarfonte, *opcaoApagar, *opcaoCopiar, *opcaoColar,
      *opcaoRodar45esquerda, *opcaoRodar45direita;

  // The font and colour dialogs remember the last choice between uses.
  TFont dlgAlterarFonteFont;
  TColor dlgAlterarCorColor = clBlack;

  bool shown_ = false;
  bool semMarcar_ = false;
  QStringList entregues_;
};

// The splash window while it exists (destroyed at the first timer tick).
extern QPointer<QWidget> frmSplash;
