// The main window: menu, tool bar, the four sheets of the cover and the
// status bar.  The cover document lives in the controls of this window:
// each sheet is a panel whose background controls are placed at start-up
// and whose text and picture objects are created at run time, owned by
// the panel in creation order.
#pragma once

#include "document/Documento.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QVector>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QClipboard;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class QToolButton;
class TBarPopupMenu;
class TDSShape;
class TProImage;
class TProLabel;
class TStretchHandle;
class TFormDesign;
class TOneInstance;

class TfrmLurn : public QMainWindow {
  Q_OBJECT
 public:
  // With umaInstancia the single-instance guard runs while the window is
  // built (the program); tools that only read and write covers leave it out.
  explicit TfrmLurn(QWidget* parent = nullptr, bool umaInstancia = true);
  ~TfrmLurn() override;

  // ---- Window-level state that belongs to the document ----
  bool ficheiroGravado = true;
  bool erroGravacao = false;
  QString nomeFicheiro;
  bool nadaCopiado = true;
  QString tipoCopiado;
  qint32 origemX = 0, origemY = 0;

  // The texts of the window's design, reloaded when the language changes.
  std::unique_ptr<TFormDesign> desenho;

  // ---- Controls ----
  QWidget* client;  // the 587 x 529 client area
  QWidget* ToolBar1;
  QToolButton *botaoNovo, *botaoAbrir, *botaoGravar, *botaoImprimirFrente, *botaoImprimirTras,
      *botaoInserirImagem, *botaoTexto, *botaoApagar, *botaoCopiar, *botaoColar, *botaoEditar,
      *botaoEsquerda, *botaoCentrar, *botaoDireita, *botao90GEsquerda, *botao90GDireita, *botaoSair;
  QCheckBox* checkLombada;
  QTabWidget* pageFolhas;
  QWidget *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet4;
  TPanel *painelFrente, *painelInterior, *painelTras, *painelCD;
  TShape *corFrente, *corInterior, *corTras;
  TProImage *imgFrente, *imgInterior, *imgTras, *imgTrasLombada;
  TShape *Shape1, *Shape2;
  TDSShape* centroCD;
  TProImage *ProImage1, *imgCD;
  QPointer<TStretchHandle> StretchHandle1;
  QWidget* barraEstado;
  QLabel* painelFicheiro;  // status bar panel 1: the current file name
  TShape *lampadaVerde = nullptr, *lampadaVermelha = nullptr;
  QTimer* temporizador;
  TOneInstance* oneInstance1 = nullptr;
  TBarPopupMenu* popUpMenuHandles;

  // Main menu entries, by their component names.
  QMenu *menuFicheiros, *menuEditar, *menuObjectos, *menuAjuda;
  QAction *menuFicheiroNovo, *manuFicheiroAbrir, *menuFicheiroGravar, *menuFicheiroGravarComo,
      *N1, *menuFicheiroConfigurarImpressora, *menuFicheiroImprimir, *menuFicheiroPreverImpresso, *N2,
      *menuFicheirosFicheiro1, *menuFicheirosFicheiro2, *menuFicheirosFicheiro3,
      *menuFicheirosFicheiro4, *menuFicheirosFicheiro5, *separadorFicheiros, *menuFicheiroSair;
  QAction *menuEditarApagar, *menuEditarCopiar, *menuEditarColar, *N3, *menuEditarAlinharEsquerda,
      *menuEditarAlinharDireita, *menuEditarCentrar;
  QAction *menuObjectosImagemdefundo, *menuObjectosCordefundo, *menuObjectosInserirtexto,
      *menuObjectosInseririmagem, *menuObjectosRodar90Esquerda, *menuObjectosRodar90Direita,
      *menuObjectosEditartextoseleccionado, *menuObjectosAlterarfonteecor,
      *menuObjectosAlterarimagem, *manuObjectosLimparImagemFundo;
  QAction *menuAjudaAjuda, *N4, *menuAjudaParametros, *N5, *menuAjudaSobre;
  // Object popup menu entries.
  QAction *opcaoEditarAlterarimagem, *opcaoAlterarfonte, *opcaoApagar, *opcaoCopiar, *opcaoColar,
      *opcaoRodar45esquerda, *opcaoRodar45direita, *opcaoAlinharAgrelha;

  // The font and colour dialogs remember the last choice between uses.
  TFont dlgAlterarFonteFont;
  TColor dlgAlterarCorColor = clBlack;

  // ---- Document operations ----
  TPanel* Painel(int folha) const;
  // The sheet of the active tab page.
  int FolhaActual() const;
  // The selected object, or nullptr.
  QWidget* Seleccionado() const;
  // A name for a new object of a sheet, unique within its panel.
  QString NovoNome(const QString& prefixo, int folha) const;
  void LimparDocumento();
  void FundosParaTras();
  // Marks the document changed: flag false, red lamp.
  void MarcarAlterado();
  // Shows the lamps for the current flag.
  void MostrarLampadas();

  // Object mouse handlers, given to every text and picture object.
  void textoMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void textoMouseMove(QObject* Sender, TShiftState Shift, int X, int Y);
  void imagemMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  // Gives an object its handlers by its kind.
  void LigarTexto(TProLabel* texto);
  void LigarImagem(TProImage* imagem);

  // ---- Handlers ----
  void temporizadorTimer();
  // The lamps and the enabled state of the object commands, as each tick
  // derives them.
  void ActualizarComandos();
  void pageFolhasChange();
  void LibertarSeleccao();  // background clicks
  void menuFicheiroSairClick();
  void menuFicheiroConfigurarImpressoraClick();
  void menuFicheiroImprimirClick();
  void menuFicheiroPreverImpressoClick();
  void menuAjudaAjudaClick();
  void menuAjudaSobreClick();
  void menuAjudaParametrosClick();
  // Loads the language module of the language setting and reloads the forms.
  void MudarLingua();

  // Clipboard.
  void menuEditarCopiarClick();
  void menuEditarColarClick();
  QClipboard* transferencia = nullptr;

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
  void checkLombadaClick();
  void opcaoAlinharAgrelhaClick();

  // ---- Cover files and recent files ----
  bool GravarFicheiro(const QString& nome);
  bool GravarFolha(class QIODevice& f, int folha, bool& perdidos);
  // True when the whole file was read (missing pictures are only reported).
  bool AbrirFicheiro(const QString& nome);
  void LerRegisto(const struct TCoverRecord& r);
  static bool ExisteFicheiro(const QString& nome);
  void ActualizarRecentes(const QString& nome);
  void MostrarRecentes();
  void AbrirRecente(const QString& nome);
  void menuFicheiroNovoClick();
  void manuFicheiroAbrirClick();
  void menuFicheiroGravarClick();
  void menuFicheiroGravarComoClick();
  void menuFicheirosFicheiroClick(int i);
  // True when the window may close (asks about unsaved changes).
  bool FormCloseQuery();
  // Whether reading and saving put the file at the head of the recent list
  // (the command-line tool leaves the user's list alone).
  bool usarRecentes = true;
  // The arguments the program was started with (without the program name).
  QStringList linhaComandos;

  // Runs the window's start-up steps that need the window shown.
  void FormShow();
  void FormActivate();

  // The help context number a menu entry or control carries.
  static int HelpContext(const QObject* o);

 protected:
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void FormCreate();
  void CriarMenu();
  void CriarBarraFerramentas();
  void CriarFolhas();
  void CriarBarraEstado();
  void CriarMenuObjectos();
  TProLabel* CriarTexto(int folha);
  void EditarTexto(TProLabel* texto);
  void Alinhar(int modo);
  void Rodar(bool esquerda);
  bool CarregarImagem(TProImage* img, const QString& ficheiro);
  // Loads a picture file; shows the loader's message and returns false
  // when it cannot be read.
  bool LerImagem(const QString& ficheiro, TPicture& imagem);
  void MostrarFundoTras();
  // Before the document is replaced or the window closes: nothing to ask
  // (Gravado), "Ficheiro alterado. Gravar?" answered Yes and saved
  // (Gravado) or No (SemGravar), or stop (Cancel, or the save failed).
  enum class TSeguir { Gravado, SemGravar, Parar };
  TSeguir PodeSeguir();
  // Saves to a name chosen in the save dialog; false when cancelled or failed.
  bool GravarComDialogo();
  // Green lamp, red hidden.
  void MostrarGravado();
  std::optional<QString> DialogoAbrir();

  bool shown_ = false;
  // The pictures decoded so far while a cover file is being read.
  QHash<QString, TPicture>* imagensLidas_ = nullptr;
};

// The splash window while it exists (destroyed at the first timer tick).
extern QPointer<QWidget> frmSplash;
