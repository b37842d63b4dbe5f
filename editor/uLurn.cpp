// The main window TfrmLurn: its construction and events, its controls as
// designed, the controls following the document, the object commands,
// the file commands with recent files, and copy and paste.
#include "editor/uLurn.h"

#include "components/BarPopupMenu.h"
#include "components/Handles.h"
#include "components/OneInstance.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "document/FicheiroCapa.h"
#include "document/ObjectStream.h"
#include "editor/ReInit.h"
#include "editor/uDefParametros.h"
#include "editor/uParametros.h"
#include "editor/uSobre.h"
#include "platform/Dialogs.h"
#include "platform/HelpViewer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
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

TfrmLurn::TfrmLurn(QWidget* parent, bool umaInstancia) : QMainWindow(parent) {
  RegistarRecursos();
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

  connect(checkLombada, &QCheckBox::toggled, this, [this] { checkLombadaClick(); });
  connect(pageFolhas, &QTabWidget::currentChanged, this, [this] { pageFolhasChange(); });
  StretchHandle1->OnDblClick = [this](QObject*) { menuObjectosEditartextoseleccionadoClick(); };
  // What the handle moved or resized goes back to the document when the
  // drag ends, and after each nudge of an arrow key.
  StretchHandle1->OnMouseUp = [this](QObject*, TMouseButton, TShiftState, int, int) {
    EscreverLimites(Seleccionado());
  };
  StretchHandle1->OnKeyDown = [this](QObject*, int& key, TShiftState) {
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down)
      EscreverLimites(Seleccionado());
  };

  temporizador = new QTimer(this);
  temporizador->setObjectName(QStringLiteral("temporizador"));
  temporizador->setInterval(1000);
  connect(temporizador, &QTimer::timeout, this, &TfrmLurn::temporizadorTimer);
  temporizador->start();

  if (umaInstancia) {
    oneInstance1 = new TOneInstance(this);
    oneInstance1->setObjectName(QStringLiteral("oneInstance1"));
    oneInstance1->Loaded();
  }

  dlgAlterarFonteFont.Name = QStringLiteral("Arial");
  dlgAlterarFonteFont.Height = -16;
  dlgAlterarFonteFont.Charset = DEFAULT_CHARSET;
  dlgAlterarFonteFont.Color = clWindowText;

  // The controls follow the document from here on.
  documento_.AoAlterar([this] { ActualizarVista(); });

  adjustSize();
  setFixedSize(sizeHint());
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

  FormCreate();
}

TfrmLurn::~TfrmLurn() {
  // The handle may have no parent while it holds nothing.
  delete StretchHandle1.data();
}

void TfrmLurn::FormCreate() {
  if (frmSplash) frmSplash->raise();
  pageFolhas->setCurrentIndex(0);
  ficheiroGravado = true;
  nomeFicheiro.clear();
  erroGravacao = false;

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

  nadaCopiado = true;
  // The commands start in the state the timer keeps them in; the splash
  // window stays until the first real tick.
  ActualizarComandos();
}

// ---------------------------------------------------------------------------
// Window events

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
  if (LoadLanguageModule(Parametros().Lingua == 0 ? 2070 : 1033)) ReloadForms();
}

void TfrmLurn::FormShow() {
  LerParametros();
  StretchHandle1->SetGridX(Parametros().GrelhaX);
  StretchHandle1->SetGridY(Parametros().GrelhaY);
  MudarLingua();
  if (linhaComandos.size() == 1) AbrirFicheiro(linhaComandos.first());
  MostrarRecentes();
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
}

void TfrmLurn::ActualizarComandos() {
  MostrarLampadas();

  const QWidget* sel = Seleccionado();
  const bool texto = sel && TOwnedComponents::ClassName(sel) == QLatin1String("TProLabel");
  const bool algum = sel != nullptr;
  for (QAction* a : {menuEditarApagar, menuEditarCopiar, menuEditarAlinharEsquerda, menuEditarAlinharDireita,
                     menuEditarCentrar})
    a->setEnabled(algum);
  for (QAction* a : {menuObjectosRodar90Esquerda, menuObjectosRodar90Direita, menuObjectosEditartextoseleccionado,
                     menuObjectosAlterarfonteecor})
    a->setEnabled(texto);
  menuObjectosAlterarimagem->setEnabled(algum && !texto);
  for (QToolButton* b : {botaoApagar, botaoCopiar, botaoEsquerda, botaoCentrar, botaoDireita}) b->setEnabled(algum);
  for (QToolButton* b : {botaoEditar, botao90GEsquerda, botao90GDireita}) b->setEnabled(texto);

  botaoColar->setEnabled(!nadaCopiado);
  menuEditarColar->setEnabled(!nadaCopiado);
}

void TfrmLurn::pageFolhasChange() { checkLombada->setVisible(pageFolhas->currentIndex() == 2); }

void TfrmLurn::LibertarSeleccao() {
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
}

void TfrmLurn::menuFicheiroSairClick() { close(); }

void TfrmLurn::menuFicheiroConfigurarImpressoraClick() { Dialogs().PrinterSetup(); }

// Printing the cover and its preview come with the cover reports; until
// then the commands say so instead of doing nothing.
void TfrmLurn::menuFicheiroImprimirClick() {
  Dialogs().ShowMessage(QStringLiteral("A impressão da lurn ainda não está disponível nesta versão."));
}

void TfrmLurn::menuFicheiroPreverImpressoClick() {
  Dialogs().ShowMessage(QStringLiteral("A previsão da impressão ainda não está disponível nesta versão."));
}

void TfrmLurn::menuAjudaAjudaClick() {
  if (!HelpContents()) Dialogs().Warning(QStringLiteral("Não foi possível abrir a ajuda."));
}

void TfrmLurn::menuAjudaParametrosClick() {
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
  if (!frmParametros) frmParametros = new TfrmParametros(this);
  frmParametros->exec();
  // Applied however the dialog was closed, from the record as it is now.
  MudarLingua();
  StretchHandle1->SetGridX(Parametros().GrelhaX);
  StretchHandle1->SetGridY(Parametros().GrelhaY);
  Shape1->SetPenColor(Parametros().Dobra);
  Shape2->SetPenColor(Parametros().Dobra);
}

void TfrmLurn::menuAjudaSobreClick() {
  if (!AboutBox) AboutBox = new TAboutBox(this);
  AboutBox->exec();
}

// ===========================================================================
// The main window's controls as designed: the client area, the main menu,
// the tool bar, the four sheets with their background controls, the status
// bar, the object popup menu, the "Trás com lombada" box and the stretch
// handle, with their component names, captions, hints, shortcuts, pictures
// and help context numbers.  What they do is wired in the constructor.
namespace {
constexpr int kClientWidth = 587;
constexpr int kClientHeight = 529;
const char* const kHelpContext = "HelpContext";

QIcon Icone(const char* name) { return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name))); }

void SetHelp(QObject* o, int context) { o->setProperty(kHelpContext, context); }
}  // namespace

int TfrmLurn::HelpContext(const QObject* o) {
  const QVariant v = o ? o->property(kHelpContext) : QVariant();
  return v.isValid() ? v.toInt() : 0;
}

void TfrmLurn::CriarControlos() {
  SetHelp(this, 1);
  client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  CriarMenu();
  CriarBarraFerramentas();
  CriarFolhas();
  CriarBarraEstado();
  CriarMenuObjectos();

  checkLombada = new QCheckBox(client);
  desenho->Caption(checkLombada, "Trás com lombada");
  checkLombada->setObjectName(QStringLiteral("checkLombada"));
  checkLombada->setGeometry(464, 8, 129, 17);
  desenho->Hint(checkLombada, "Seleccione para que a imagem não ocupe a lombada");
  checkLombada->setChecked(true);
  checkLombada->hide();
  SetHelp(checkLombada, 16);

  StretchHandle1 = new TStretchHandle(client);
  StretchHandle1->setObjectName(QStringLiteral("StretchHandle1"));
  StretchHandle1->setGeometry(504, 88, 24, 24);
  StretchHandle1->SetSnapToGrid(true);
  StretchHandle1->SetPopupMenu(popUpMenuHandles);
}

void TfrmLurn::CriarMenu() {
  struct Entrada {
    QAction** slot;
    const char* nome;
    const char* caption;  // nullptr for a separator
    const char* hint;
    QKeySequence atalho;
    int ajuda;
    void (TfrmLurn::*handler)();
  };
  auto construir = [this](QMenu* menu, std::initializer_list<Entrada> entradas) {
    for (const Entrada& e : entradas) {
      QAction* a = e.caption ? menu->addAction(QString()) : menu->addSeparator();
      a->setObjectName(QString::fromLatin1(e.nome));
      // The recent-file entries get their captions at run time.
      if (e.caption && *e.caption) desenho->Caption(a, e.caption);
      if (e.hint) desenho->Hint(a, e.hint);
      if (!e.atalho.isEmpty()) {
        a->setShortcut(e.atalho);
        a->setShortcutContext(Qt::WindowShortcut);
      }
      SetHelp(a, e.ajuda);
      if (e.handler) connect(a, &QAction::triggered, this, e.handler);
      *e.slot = a;
    }
  };
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("menuPrincipal"));
  auto novoMenu = [&](QMenu*& slot, const char* nome, const char* caption, const char* hint, int ajuda) {
    slot = bar->addMenu(QString());
    desenho->Caption(slot, caption);
    slot->setObjectName(QString::fromLatin1(nome));
    slot->menuAction()->setObjectName(QString::fromLatin1(nome));
    slot->setToolTipsVisible(true);
    if (hint) desenho->Hint(slot->menuAction(), hint);
    SetHelp(slot, ajuda);
    SetHelp(slot->menuAction(), ajuda);
  };

  novoMenu(menuFicheiros, "menuFicheiros", "&Ficheiros", nullptr, 4);
  construir(menuFicheiros,
            {{&menuFicheiroNovo, "menuFicheiroNovo", "&Novo", "Criação de uma nova lurn", {}, 4, &TfrmLurn::menuFicheiroNovoClick},
             {&manuFicheiroAbrir, "manuFicheiroAbrir", "&Abrir", "Abrir uma lurn gravada em disco", {}, 4, &TfrmLurn::manuFicheiroAbrirClick},
             {&menuFicheiroGravar, "menuFicheiroGravar", "&Gravar", "Gravar uma lurn em disco",
              QKeySequence(Qt::CTRL | Qt::Key_S), 4, &TfrmLurn::menuFicheiroGravarClick},
             {&menuFicheiroGravarComo, "menuFicheiroGravarComo", "Gravar &Como",
              "Gravar uma lurn em disco com novo nome", {}, 4, &TfrmLurn::menuFicheiroGravarComoClick},
             {&N1, "N1", nullptr, nullptr, {}, 4, nullptr},
             {&menuFicheiroConfigurarImpressora, "menuFicheiroConfigurarImpressora", "C&onfigurar Impressora",
              "Configuração da impressora", {}, 4, &TfrmLurn::menuFicheiroConfigurarImpressoraClick},
             {&menuFicheiroImprimir, "menuFicheiroImprimir", "&Imprimir", "Imprime a lurn actual",
              QKeySequence(Qt::CTRL | Qt::Key_P), 4, &TfrmLurn::menuFicheiroImprimirClick},
             {&menuFicheiroPreverImpresso, "menuFicheiroPreverImpresso", "&Prever Impressão",
              "Previsão no monitor da impressão da lurn", {}, 4, &TfrmLurn::menuFicheiroPreverImpressoClick},
             {&N2, "N2", nullptr, nullptr, {}, 4, nullptr},
             {&menuFicheirosFicheiro1, "menuFicheirosFicheiro1", "", nullptr, {}, 4, nullptr},
             {&menuFicheirosFicheiro2, "menuFicheirosFicheiro2", "", nullptr, {}, 4, nullptr},
             {&menuFicheirosFicheiro3, "menuFicheirosFicheiro3", "", nullptr, {}, 4, nullptr},
             {&menuFicheirosFicheiro4, "menuFicheirosFicheiro4", "", nullptr, {}, 4, nullptr},
             {&menuFicheirosFicheiro5, "menuFicheirosFicheiro5", "", nullptr, {}, 4, nullptr},
             {&separadorFicheiros, "separadorFicheiros", nullptr, nullptr, {}, 4, nullptr},
             {&menuFicheiroSair, "menuFicheiroSair", "&Sair",
              "Está farto de fazer lurns e quer dar de \"frosques\"?", QKeySequence(Qt::CTRL | Qt::Key_X), 4,
              &TfrmLurn::menuFicheiroSairClick}});
  for (QAction* a : {menuFicheirosFicheiro1, menuFicheirosFicheiro2, menuFicheirosFicheiro3,
                     menuFicheirosFicheiro4, menuFicheirosFicheiro5, separadorFicheiros})
    a->setVisible(false);
  int i = 0;
  for (QAction* a : {menuFicheirosFicheiro1, menuFicheirosFicheiro2, menuFicheirosFicheiro3,
                     menuFicheirosFicheiro4, menuFicheirosFicheiro5}) {
    ++i;
    connect(a, &QAction::triggered, this, [this, i] { menuFicheirosFicheiroClick(i); });
  }

  novoMenu(menuEditar, "menuEditar", "&Editar", nullptr, 5);
  construir(menuEditar,
            {{&menuEditarApagar, "menuEditarApagar", "&Apagar", "Apaga o objecto seleccionado",
              QKeySequence(Qt::CTRL | Qt::Key_Delete), 5, &TfrmLurn::menuEditarApagarClick},
             {&menuEditarCopiar, "menuEditarCopiar", "&Copiar", "Copia o objecto seleccionado para a transferência",
              QKeySequence(Qt::CTRL | Qt::Key_C), 5, &TfrmLurn::menuEditarCopiarClick},
             {&menuEditarColar, "menuEditarColar", "C&olar", "Copia da transferência para o painel actual",
              QKeySequence(Qt::CTRL | Qt::Key_V), 5, &TfrmLurn::menuEditarColarClick},
             {&N3, "N3", nullptr, nullptr, {}, 5, nullptr},
             {&menuEditarAlinharEsquerda, "menuEditarAlinharEsquerda", "Alinhar &Esquerda",
              "Alinha o texto à esquerda", {}, 5, &TfrmLurn::menuEditarAlinharEsquerdaClick},
             {&menuEditarAlinharDireita, "menuEditarAlinharDireita", "Alinhar &Direita", "Alinha o texto à direita",
              {}, 5, &TfrmLurn::menuEditarAlinharDireitaClick},
             {&menuEditarCentrar, "menuEditarCentrar", "Cen&trar", "Centra o texto", {}, 5,
              &TfrmLurn::menuEditarCentrarClick}});

  novoMenu(menuObjectos, "menuObjectos", "&Objectos", nullptr, 2);
  construir(menuObjectos,
            {{&menuObjectosImagemdefundo, "menuObjectosImagemdefundo", "&Imagem de fundo",
              "Altera a imagem de fundo da lurn", {}, 8, &TfrmLurn::menuObjectosImagemdefundoClick},
             {&menuObjectosCordefundo, "menuObjectosCordefundo", "&Cor de fundo", "Altera a cor de fundo da lurn", {},
              10, &TfrmLurn::menuObjectosCordefundoClick},
             {&menuObjectosInserirtexto, "menuObjectosInserirtexto", "Inserir &texto", "Insere um campo de texto", {},
              15, &TfrmLurn::menuObjectosInserirtextoClick},
             {&menuObjectosInseririmagem, "menuObjectosInseririmagem", "Inserir i&magem", "Insere uma nova imagem",
              {}, 11, &TfrmLurn::menuObjectosInseririmagemClick},
             {&menuObjectosRodar90Esquerda, "menuObjectosRodar90Esquerda", "Rodar 90º &Esquerda",
              "Roda o texto 90º para a esquerda", {}, 2, &TfrmLurn::menuObjectosRodar90EsquerdaClick},
             {&menuObjectosRodar90Direita, "menuObjectosRodar90Direita", "Rodar 90º &Direita",
              "Roda o texto 90º para a direita", {}, 2, &TfrmLurn::menuObjectosRodar90DireitaClick},
             {&menuObjectosEditartextoseleccionado, "menuObjectosEditartextoseleccionado",
              "Editar texto &seleccionado", "Editar o texto seleccionado", {}, 2,
              &TfrmLurn::menuObjectosEditartextoseleccionadoClick},
             {&menuObjectosAlterarfonteecor, "menuObjectosAlterarfonteecor", "Alterar &fonte e cor",
              "Alterar a fonte e/ou cor do texto seleccionado", {}, 2, &TfrmLurn::menuObjectosAlterarfonteecorClick},
             {&menuObjectosAlterarimagem, "menuObjectosAlterarimagem", "Alterar ima&gem",
              "Alterar a imagem seleccionada", {}, 2, &TfrmLurn::menuObjectosAlterarimagemClick},
             {&manuObjectosLimparImagemFundo, "manuObjectosLimparImagemFundo", "Limpar Imagem Fundo",
              "Remover a imagem de fundo", {}, 2, &TfrmLurn::manuObjectosLimparImagemFundoClick}});

  novoMenu(menuAjuda, "menuAjuda", "&Ajuda", "Ajuda do programa", 3);
  construir(menuAjuda,
            {{&menuAjudaAjuda, "menuAjudaAjuda", "&Ajuda", "Ajuda do programa", QKeySequence(Qt::Key_F1), 3,
              &TfrmLurn::menuAjudaAjudaClick},
             {&N4, "N4", nullptr, nullptr, {}, 4, nullptr},
             {&menuAjudaParametros, "menuAjudaParametros", "&Parametros", "Parametros do programa", {}, 7, &TfrmLurn::menuAjudaParametrosClick},
             {&N5, "N5", nullptr, nullptr, {}, 4, nullptr},
             {&menuAjudaSobre, "menuAjudaSobre", "&Sobre...", "Sobre o programa", {}, 3,
              &TfrmLurn::menuAjudaSobreClick}});
  const QList<QAction*> icones = {menuFicheiroNovo, manuFicheiroAbrir, menuFicheiroGravar,
                                  menuFicheiroConfigurarImpressora, menuFicheiroImprimir,
                                  menuFicheiroPreverImpresso, menuFicheiroSair, menuEditarApagar,
                                  menuEditarCopiar, menuEditarColar, menuEditarAlinharEsquerda,
                                  menuEditarAlinharDireita, menuEditarCentrar, menuObjectosImagemdefundo,
                                  menuObjectosCordefundo, menuObjectosInserirtexto, menuObjectosInseririmagem,
                                  menuObjectosRodar90Esquerda, menuObjectosRodar90Direita,
                                  menuObjectosEditartextoseleccionado, menuObjectosAlterarfonteecor,
                                  menuObjectosAlterarimagem, manuObjectosLimparImagemFundo, menuAjudaAjuda,
                                  menuAjudaParametros, menuAjudaSobre};
  const char* const nomes[] = {"novo", "abrir", "gravar", "configurar-impressora", "imprimir", "prever", "sair",
                               "apagar", "copiar", "colar", "esquerda", "direita", "centrar", "fundo-imagem",
                               "fundo-cor", "texto", "imagem", "rodar-esquerda", "rodar-direita", "editar",
                               "fonte", "alterar-imagem", "limpar-fundo", "ajuda", "parametros", "sobre"};
  for (int i = 0; i < icones.size(); ++i) icones[i]->setIcon(Icone(nomes[i]));
}

void TfrmLurn::CriarBarraFerramentas() {
  ToolBar1 = new QFrame(client);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setGeometry(0, 0, kClientWidth, 25);
  SetHelp(ToolBar1, 9);
  struct Botao {
    QToolButton** slot;
    const char* nome;
    const char* caption;
    const char* hint;
    const char* icone;
    void (TfrmLurn::*handler)();
  };
  const Botao botoes[] = {
      {&botaoNovo, "botaoNovo", "&Novo", "Criação de uma nova lurn", "novo", &TfrmLurn::menuFicheiroNovoClick},
      {&botaoAbrir, "botaoAbrir", "&Abrir", "Abrir uma lurn gravada em disco", "abrir", &TfrmLurn::manuFicheiroAbrirClick},
      {&botaoGravar, "botaoGravar", "&Gravar", "Gravar uma lurn em disco", "gravar", &TfrmLurn::menuFicheiroGravarClick},
      {&botaoImprimirFrente, "botaoImprimirFrente", "&Imprimir", "Imprime a lurn actual", "imprimir", &TfrmLurn::menuFicheiroImprimirClick},
      {&botaoImprimirTras, "botaoImprimirTras", "&Prever Impressão", "Previsão no monitor da impressão da lurn",
       "prever", &TfrmLurn::menuFicheiroPreverImpressoClick},
      {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
      {&botaoInserirImagem, "botaoInserirImagem", "Inserir i&magem", "Insere uma nova imagem", "imagem",
       &TfrmLurn::menuObjectosInseririmagemClick},
      {&botaoTexto, "botaoTexto", "Inserir &texto", "Insere um campo de texto", "texto",
       &TfrmLurn::menuObjectosInserirtextoClick},
      {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
      {&botaoApagar, "botaoApagar", "&Apagar", "Apaga o objecto seleccionado", "apagar",
       &TfrmLurn::menuEditarApagarClick},
      {&botaoCopiar, "botaoCopiar", "&Copiar", "Copia o objecto seleccionado para a transferência", "copiar",
       &TfrmLurn::menuEditarCopiarClick},
      {&botaoColar, "botaoColar", "C&olar", "Copia da transferência para o painel actual", "colar", &TfrmLurn::menuEditarColarClick},
      {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
      {&botaoEditar, "botaoEditar", "Editar texto &seleccionado", "Editar o texto seleccionado", "editar",
       &TfrmLurn::menuObjectosEditartextoseleccionadoClick},
      {&botaoEsquerda, "botaoEsquerda", "Alinhar &Esquerda", "Alinha o texto à esquerda", "esquerda",
       &TfrmLurn::menuEditarAlinharEsquerdaClick},
      {&botaoCentrar, "botaoCentrar", "Cen&trar", "Centra o texto", "centrar", &TfrmLurn::menuEditarCentrarClick},
      {&botaoDireita, "botaoDireita", "Alinhar &Direita", "Alinha o texto à direita", "direita",
       &TfrmLurn::menuEditarAlinharDireitaClick},
      {&botao90GEsquerda, "botao90GEsquerda", "Rodar 90º &Esquerda", "Roda o texto 90º para a esquerda",
       "rodar-esquerda", &TfrmLurn::menuObjectosRodar90EsquerdaClick},
      {&botao90GDireita, "botao90GDireita", "Rodar 90º &Direita", "Roda o texto 90º para a direita",
       "rodar-direita", &TfrmLurn::menuObjectosRodar90DireitaClick},
      {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
      {&botaoSair, "botaoSair", "&Sair", "Está farto de fazer lurns e quer dar de \"frosques\"?", "sair",
       &TfrmLurn::menuFicheiroSairClick},
  };
  int x = 0;
  for (const Botao& b : botoes) {
    if (!b.slot) {
      x += 8;  // separator
      continue;
    }
    auto* btn = new QToolButton(ToolBar1);
    btn->setObjectName(QString::fromLatin1(b.nome));
    desenho->Caption(btn, b.caption);
    desenho->Hint(btn, b.hint);
    btn->setIcon(Icone(b.icone));
    btn->setIconSize(QSize(16, 16));
    btn->setAutoRaise(true);
    btn->setToolButtonStyle(Qt::ToolButtonIconOnly);
    btn->setFocusPolicy(Qt::NoFocus);
    btn->setGeometry(x, 1, 25, 23);
    if (b.handler) connect(btn, &QToolButton::clicked, this, b.handler);
    *b.slot = btn;
    x += 25;
  }
}

void TfrmLurn::CriarFolhas() {
  pageFolhas = new QTabWidget(client);
  pageFolhas->setObjectName(QStringLiteral("pageFolhas"));
  pageFolhas->setGeometry(0, 27, 585, 485);
  pageFolhas->setIconSize(QSize(16, 16));

  struct Folha {
    QWidget** tab;
    const char* tabNome;
    const char* caption;
    const char* icone;
    TPanel** painel;
    const char* painelNome;
    int w, h;
  };
  const Folha folhas[] = {
      {&TabSheet1, "TabSheet1", "Frente", "tab-frente", &painelFrente, "painelFrente", 458, 455},
      {&TabSheet2, "TabSheet2", "Interior", "tab-interior", &painelInterior, "painelInterior", 458, 455},
      {&TabSheet3, "TabSheet3", "Trás", "tab-tras", &painelTras, "painelTras", 572, 447},
      {&TabSheet4, "TabSheet4", "CD", "tab-cd", &painelCD, "painelCD", 446, 446},
  };
  for (const Folha& f : folhas) {
    auto* tab = new QWidget;
    tab->setObjectName(QString::fromLatin1(f.tabNome));
    const int indice = pageFolhas->addTab(tab, Icone(f.icone), QString());
    QTabWidget* abas = pageFolhas;
    desenho->Set(f.caption, [abas, indice](const QString& t) { abas->setTabText(indice, t); });
    auto* painel = new TPanel(tab);
    painel->setObjectName(QString::fromLatin1(f.painelNome));
    painel->BevelOuter = bvNone;
    painel->setGeometry(0, 0, f.w, f.h);
    painel->OnClick = [this](QObject*) { LibertarSeleccao(); };
    *f.tab = tab;
    *f.painel = painel;
  }

  auto cor = [](TPanel* p, const char* nome, int w, int h) {
    auto* s = new TShape(p);
    s->setObjectName(QString::fromLatin1(nome));
    s->setGeometry(0, 0, w, h);
    s->SetBrushColor(clWhite);
    return s;
  };
  auto imagem = [this](QWidget* p, const char* nome, int x, int y, int w, int h) {
    auto* img = new TProImage(p);
    img->setObjectName(QString::fromLatin1(nome));
    img->setGeometry(x, y, w, h);
    img->SetStretch(true);
    img->OnClick = [this](QObject*) { LibertarSeleccao(); };
    return img;
  };
  corFrente = cor(painelFrente, "corFrente", 458, 455);
  imgFrente = imagem(painelFrente, "imgFrente", 0, 0, 458, 455);
  corInterior = cor(painelInterior, "corInterior", 458, 455);
  imgInterior = imagem(painelInterior, "imgInterior", 0, 0, 458, 455);
  corTras = cor(painelTras, "corTras", 572, 447);
  imgTras = imagem(painelTras, "imgTras", 0, 0, 572, 447);
  imgTrasLombada = imagem(painelTras, "imgTrasLombada", 24, 0, 524, 447);
  imgTrasLombada->hide();
  auto guia = [this](const char* nome, int x) {
    auto* s = new TShape(painelTras);
    s->setObjectName(QString::fromLatin1(nome));
    s->setGeometry(x, 1, 1, 445);
    s->SetPenColor(0x00FF00);
    s->SetPenStyle(psDot);
    s->SetBrushStyle(bsClear);
    s->hide();
    return s;
  };
  Shape2 = guia("Shape2", 547);
  Shape1 = guia("Shape1", 24);

  // Two picture controls of the disc page that nothing fills.
  ProImage1 = imagem(TabSheet4, "ProImage1", 0, 0, 353, 385);
  ProImage1->OnClick = nullptr;
  ProImage1->lower();
  imgCD = imagem(painelCD, "imgCD", 0, 0, 443, 443);
  imgCD->OnClick = nullptr;
  centroCD = new TDSShape(painelCD);
  centroCD->setObjectName(QStringLiteral("centroCD"));
  centroCD->setGeometry(0, 0, 443, 443);
  centroCD->SetShapeType(tstCircle);
  centroCD->SetFillStyle(tfsSolid);
  centroCD->SetFillColor(clWhite);
  centroCD->OnClick = [this](QObject*) { LibertarSeleccao(); };
}

void TfrmLurn::CriarBarraEstado() {
  barraEstado = new QWidget(client);
  barraEstado->setObjectName(QStringLiteral("barraEstado"));
  barraEstado->setGeometry(0, kClientHeight - 18, kClientWidth, 18);
  auto* painel0 = new QFrame(barraEstado);
  painel0->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  painel0->setGeometry(0, 2, 50, 16);
  // The last panel reaches the right edge of the bar.
  painelFicheiro = new QLabel(barraEstado);
  painelFicheiro->setObjectName(QStringLiteral("painelFicheiro"));
  painelFicheiro->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  painelFicheiro->setGeometry(52, 2, kClientWidth - 52, 16);
  painelFicheiro->setContentsMargins(2, 0, 2, 0);
}

void TfrmLurn::CriarMenuObjectos() {
  popUpMenuHandles = new TBarPopupMenu(this);
  popUpMenuHandles->setObjectName(QStringLiteral("popUpMenuHandles"));
  TBarPopupMenu* menu = popUpMenuHandles;
  desenho->Set("Lurns CD", [menu](const QString& t) { menu->SetVerticalText(t); });
  TFont barra;
  barra.Name = QStringLiteral("Tahoma");
  barra.Height = -19;
  barra.Color = clWhite;
  barra.Style = fsBold | fsItalic;
  popUpMenuHandles->SetVerticalFont(barra);
  struct Opcao {
    QAction** slot;
    const char* nome;
    const char* caption;
    void (TfrmLurn::*handler)();
  };
  const Opcao opcoes[] = {
      {&opcaoEditarAlterarimagem, "opcaoEditarAlterarimagem", "Editar/Alterar imagem",
       &TfrmLurn::opcaoEditarAlterarimagemClick},
      {&opcaoAlterarfonte, "opcaoAlterarfonte", "Alterar fonte", &TfrmLurn::menuObjectosAlterarfonteecorClick},
      {&opcaoApagar, "opcaoApagar", "Apagar", &TfrmLurn::menuEditarApagarClick},
      {&opcaoCopiar, "opcaoCopiar", "Copiar", &TfrmLurn::menuEditarCopiarClick},
      {&opcaoColar, "opcaoColar", "Colar", &TfrmLurn::menuEditarColarClick},
      {&opcaoRodar45esquerda, "opcaoRodar45esquerda", "Rodar 90º esquerda",
       &TfrmLurn::menuObjectosRodar90EsquerdaClick},
      {&opcaoRodar45direita, "opcaoRodar45direita", "Rodar 90º direita", &TfrmLurn::menuObjectosRodar90DireitaClick},
      {&opcaoAlinharAgrelha, "opcaoAlinharAgrelha", "Alinhar à grelha", &TfrmLurn::opcaoAlinharAgrelhaClick},
  };
  for (const Opcao& o : opcoes) {
    QAction* a = popUpMenuHandles->addAction(QString());
    desenho->Caption(a, o.caption);
    a->setObjectName(QString::fromLatin1(o.nome));
    if (o.handler) connect(a, &QAction::triggered, this, o.handler);
    *o.slot = a;
  }
  // The check mark is drawn by the menu; the handler decides its state.
  opcaoAlinharAgrelha->setCheckable(true);
  opcaoAlinharAgrelha->setChecked(true);
  disconnect(opcaoAlinharAgrelha, &QAction::triggered, this, nullptr);
  connect(opcaoAlinharAgrelha, &QAction::triggered, this, [this] {
    // Qt has already flipped the mark; put it back so the handler reads the
    // state the user saw.
    opcaoAlinharAgrelha->setChecked(!opcaoAlinharAgrelha->isChecked());
    opcaoAlinharAgrelhaClick();
  });
}

// ===========================================================================
// The main window as a view of its document: the background controls and
// one control per object follow the document whenever it changes; the
// selection, the lamps and the objects' mouse handlers.
namespace {
// The identity of the object a control shows, kept on the control.
const char* const kIdObjecto = "IdObjecto";

bool MesmaFonte(const TFont& a, const TFont& b) {
  return a.Name == b.Name && a.Charset == b.Charset && a.Color == b.Color && a.Style == b.Style &&
         a.Height == b.Height && a.PixelsPerInch == b.PixelsPerInch;
}
}  // namespace

TPanel* TfrmLurn::Painel(int folha) const {
  switch (folha) {
    case folhaFrente: return painelFrente;
    case folhaInterior: return painelInterior;
    case folhaTras: return painelTras;
    case folhaCD: return painelCD;
    default: return nullptr;
  }
}

int TfrmLurn::FolhaActual() const { return pageFolhas->currentIndex() + 1; }

QWidget* TfrmLurn::Seleccionado() const {
  return StretchHandle1 && StretchHandle1->IsAttached() ? StretchHandle1->Children(0) : nullptr;
}

std::uint64_t TfrmLurn::IdObjecto(const QWidget* controlo) const {
  return controlo ? controlo->property(kIdObjecto).toULongLong() : 0;
}

QWidget* TfrmLurn::Controlo(std::uint64_t id) const {
  const TPanel* p = Painel(documento_.FolhaDe(id));
  if (!p) return nullptr;
  for (int i = 0; i < p->Owned.ComponentCount(); ++i) {
    auto* w = qobject_cast<QWidget*>(p->Owned.Components(i));
    if (w && IdObjecto(w) == id) return w;
  }
  return nullptr;
}

const TObjecto* TfrmLurn::ObjectoSeleccionado() const { return documento_.Objecto(IdObjecto(Seleccionado())); }

QString TfrmLurn::NovoNome(const QString& prefixo, int folha) const { return documento_.NovoNome(prefixo, folha); }

void TfrmLurn::MostrarLampadas() {
  lampadaVerde->setVisible(ficheiroGravado);
  lampadaVermelha->setVisible(!ficheiroGravado);
}

void TfrmLurn::MarcarAlterado() {
  ficheiroGravado = false;
  MostrarLampadas();
}

void TfrmLurn::MostrarMensagens(const QList<TMensagem>& mensagens) {
  for (const TMensagem& m : mensagens) {
    if (m.Tipo == TMensagem::Simples) Dialogs().ShowMessage(m.Texto);
    else Dialogs().Warning(m.Texto);
  }
}

void TfrmLurn::LimparDocumento() {
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
  documento_.LimparDocumento();
}

void TfrmLurn::FundosParaTras() {
  for (QWidget* w : std::initializer_list<QWidget*>{imgFrente, imgInterior, imgTras, imgTrasLombada, corFrente,
                                                    corInterior, corTras})
    w->lower();
}

void TfrmLurn::MostrarFundoTras() {
  imgTras->setVisible(checkLombada->isChecked());
  imgTrasLombada->setVisible(!checkLombada->isChecked());
  Shape1->show();
  Shape2->show();
}

// ---------------------------------------------------------------------------
// Following the document

void TfrmLurn::ActualizarVista() {
  ActualizarFundos();
  for (int folha = folhaFrente; folha <= folhaCD; ++folha) ActualizarObjectos(folha);
}

void TfrmLurn::ActualizarFundos() {
  const TColor cores[] = {documento_.Cor(folhaFrente), documento_.Cor(folhaInterior), documento_.Cor(folhaTras)};
  TShape* const formas[] = {corFrente, corInterior, corTras};
  for (int i = 0; i < 3; ++i)
    if (formas[i]->BrushColor() != cores[i]) formas[i]->SetBrushColor(cores[i]);

  const std::pair<TProImage*, TFundo> imagens[] = {
      {imgFrente, fundoFrente}, {imgInterior, fundoInterior}, {imgTras, fundoTras}, {imgTrasLombada, fundoTrasLombada}};
  for (const auto& [img, fundo] : imagens) {
    const TImagemDoc& f = documento_.Fundo(fundo);
    if (!(img->Picture() == f.Imagem)) img->SetPicture(f.Imagem);
    if (img->Hint() != f.Ficheiro) img->SetHint(f.Ficheiro);
  }

  const TImagemDoc& disco = documento_.Fundo(fundoCD);
  if (!(centroCD->Image() == disco.Imagem)) centroCD->SetImage(disco.Imagem.Empty() ? nullptr : &disco.Imagem);
  centroCD->SetHint(disco.Ficheiro);
  centroCD->SetFillStyle(documento_.PreenchimentoDisco());
  centroCD->SetFillColor(documento_.Cor(folhaCD));
}

void TfrmLurn::ActualizarObjectos(int folha) {
  TPanel* p = Painel(folha);
  const std::vector<TObjecto>& objectos = documento_.Objectos(folha);

  QHash<std::uint64_t, QWidget*> porId;
  for (int i = 0; i < p->Owned.ComponentCount(); ++i)
    if (auto* w = qobject_cast<QWidget*>(p->Owned.Components(i))) porId.insert(IdObjecto(w), w);
  // Controls whose object left the sheet go (the handle lets go of a
  // control that is destroyed).
  QHash<std::uint64_t, const TObjecto*> noDocumento;
  for (const TObjecto& o : objectos) noDocumento.insert(o.Id, &o);
  for (auto it = porId.begin(); it != porId.end();) {
    const TObjecto* o = noDocumento.value(it.key());
    const bool mesmoTipo = o && (o->EhTexto() ? qobject_cast<TProLabel*>(it.value()) != nullptr
                                              : qobject_cast<TProImage*>(it.value()) != nullptr);
    if (mesmoTipo) {
      ++it;
    } else {
      delete it.value();
      it = porId.erase(it);
    }
  }

  std::vector<QWidget*> controlos;
  controlos.reserve(objectos.size());
  bool emOrdem = true;
  for (std::size_t i = 0; i < objectos.size(); ++i) {
    const TObjecto& o = objectos[i];
    QWidget* w = porId.value(o.Id);
    if (!w) w = CriarControlo(o, p);
    if (o.EhTexto()) ActualizarTexto(static_cast<TProLabel*>(w), o);
    else ActualizarImagem(static_cast<TProImage*>(w), o);
    controlos.push_back(w);
    emOrdem = emOrdem && p->Owned.Components(int(i)) == w;
  }
  // The panel owns the controls in the document's order (objects are only
  // ever appended, so this is the rare case).
  if (!emOrdem) {
    for (QWidget* w : controlos) {
      p->Owned.RemoveComponent(w);
      p->Owned.InsertComponent(w);
    }
  }
}

QWidget* TfrmLurn::CriarControlo(const TObjecto& o, TPanel* painel) {
  QWidget* w;
  if (o.EhTexto()) {
    auto* t = new TProLabel(painel);
    LigarTexto(t);
    t->SetTransparent(true);
    w = t;
  } else {
    auto* i = new TProImage(painel);
    i->SetStretch(true);
    LigarImagem(i);
    i->SetTransparent(true);
    w = i;
  }
  w->setProperty(kIdObjecto, QVariant::fromValue<qulonglong>(o.Id));
  painel->Owned.InsertComponent(w);
  // Later objects are drawn above earlier ones.
  w->raise();
  w->show();
  return w;
}

void TfrmLurn::ActualizarTexto(TProLabel* t, const TObjecto& o) {
  if (t->objectName() != o.Nome) t->setObjectName(o.Nome);
  const TFont fonte = o.Fonte.ParaTFont();
  if (t->Caption() != o.Texto || !MesmaFonte(t->Font(), fonte) || t->Angle() != o.Angulo ||
      t->AutoSize() != o.TamanhoAutomatico) {
    // The label sizes itself as the document does (both measure through
    // the same text layout); the document's bounds are put last in any case.
    t->SetAutoSize(false);
    t->SetCaption(o.Texto);
    if (!MesmaFonte(t->Font(), fonte)) t->SetFont(fonte);
    t->SetAngle(o.Angulo);
    if (o.TamanhoAutomatico) t->SetAutoSize(true);
  }
  if (t->geometry() != o.Limites()) t->setGeometry(o.Limites());
}

void TfrmLurn::ActualizarImagem(TProImage* i, const TObjecto& o) {
  if (i->objectName() != o.Nome) i->setObjectName(o.Nome);
  if (!(i->Picture() == o.Imagem.Imagem)) i->SetPicture(o.Imagem.Imagem);
  if (i->Hint() != o.Imagem.Ficheiro) i->SetHint(o.Imagem.Ficheiro);
  if (i->geometry() != o.Limites()) i->setGeometry(o.Limites());
}

void TfrmLurn::EscreverLimites(QWidget* controlo) {
  const std::uint64_t id = IdObjecto(controlo);
  const TObjecto* o = documento_.Objecto(id);
  if (o && o->Limites() != controlo->geometry()) documento_.DefinirLimites(id, controlo->geometry());
}

// ---------------------------------------------------------------------------
// The objects' mouse handlers

void TfrmLurn::LigarTexto(TProLabel* texto) {
  texto->OnMouseDown = [this](QObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    textoMouseDown(s, b, sh, x, y);
  };
  texto->OnMouseMove = [this](QObject* s, TShiftState sh, int x, int y) { textoMouseMove(s, sh, x, y); };
  texto->OnMouseUp = [this](QObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    textoMouseUp(s, b, sh, x, y);
  };
}

void TfrmLurn::LigarImagem(TProImage* imagem) {
  imagem->OnMouseDown = [this](QObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    imagemMouseDown(s, b, sh, x, y);
  };
}

void TfrmLurn::textoMouseDown(QObject* Sender, TMouseButton, TShiftState, int X, int Y) {
  StretchHandle1->Detach();
  origemX = X;
  origemY = Y;
  MarcarAlterado();
  StretchHandle1->Attach(qobject_cast<QWidget*>(Sender));
}

void TfrmLurn::textoMouseMove(QObject* Sender, TShiftState Shift, int X, int Y) {
  // Only a real move changes the document: passing the mouse over a text
  // object must not make the program ask to save.
  auto* w = qobject_cast<QWidget*>(Sender);
  if (!w || Shift != ssLeft) return;
  const int dx = X - origemX, dy = Y - origemY;
  if (dx == 0 && dy == 0) return;
  MarcarAlterado();
  w->move(w->x() + dx, w->y() + dy);
}

void TfrmLurn::textoMouseUp(QObject* Sender, TMouseButton, TShiftState, int, int) {
  // The end of a drag of the text itself.
  EscreverLimites(qobject_cast<QWidget*>(Sender));
}

void TfrmLurn::imagemMouseDown(QObject* Sender, TMouseButton, TShiftState, int, int) {
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
  MarcarAlterado();
  StretchHandle1->Attach(qobject_cast<QWidget*>(Sender));
}

// ===========================================================================
// The object and background commands of the main window: inserting,
// editing, restyling, aligning, turning and deleting objects, background
// pictures and colours, the back spine switch and grid snapping.  Each
// changes the document; the controls follow it.
namespace {
const QString& TituloImagem() {
  static const QString t = QStringLiteral("Adicionar Imagem");
  return t;
}
}  // namespace

bool TfrmLurn::LerImagem(const QString& ficheiro, TPicture& imagem) {
  try {
    imagem.LoadFromFile(ficheiro);
  } catch (const Exception& e) {
    Dialogs().Warning(e.Message);
    return false;
  }
  return true;
}

void TfrmLurn::CriarTexto(int folha) {
  // The control appears once, when the text is complete.
  TDocumento::TLote lote(documento_);
  const std::uint64_t id = documento_.Adicionar(folha, TObjecto::NovoTexto());
  const int n = int(documento_.Objectos(folha).size());
  documento_.DefinirTexto(id, QStringLiteral("Texto ") + QString::number(n));
  documento_.DefinirNome(id, NovoNome(QStringLiteral("Texto"), folha));
  if (auto f = Dialogs().ChooseFont(dlgAlterarFonteFont)) {
    dlgAlterarFonteFont = *f;
    documento_.DefinirFonte(id, TFonteDoc::DeTFont(*f));
  }
}

void TfrmLurn::menuObjectosInserirtextoClick() {
  MarcarAlterado();
  CriarTexto(FolhaActual());
}

void TfrmLurn::menuObjectosInseririmagemClick() {
  MarcarAlterado();
  const auto ficheiro = Dialogs().OpenPicture(TituloImagem());
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
  const int folha = FolhaActual();
  TDocumento::TLote lote(documento_);
  const std::uint64_t id = documento_.Adicionar(folha, std::move(o));
  documento_.DefinirNome(id, NovoNome(QStringLiteral("Imagem"), folha));
}

void TfrmLurn::EditarTexto(std::uint64_t id) {
  StretchHandle1->Detach();
  const QString texto = documento_.Objecto(id)->Texto;
  documento_.DefinirTexto(
      id, Dialogs().InputBox(QStringLiteral("Introdução"), QStringLiteral("Introduza o texto"), texto));
  // Attached again, the handle fits the new size.
  StretchHandle1->Attach(Controlo(id));
}

void TfrmLurn::menuObjectosEditartextoseleccionadoClick() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  MarcarAlterado();
  if (o->EhTexto()) EditarTexto(o->Id);
}

void TfrmLurn::opcaoEditarAlterarimagemClick() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  MarcarAlterado();
  const std::uint64_t id = o->Id;
  if (o->EhTexto()) {
    EditarTexto(id);
    return;
  }
  if (const auto ficheiro = Dialogs().OpenPicture(TituloImagem())) {
    TImagemDoc imagem{*ficheiro, TPicture()};
    if (LerImagem(*ficheiro, imagem.Imagem)) documento_.DefinirImagem(id, imagem);
    StretchHandle1->Attach(Controlo(id));
  }
}

void TfrmLurn::menuObjectosAlterarfonteecorClick() {
  QWidget* sel = Seleccionado();
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  const std::uint64_t id = o->Id;
  StretchHandle1->Detach();
  if (o->EhTexto()) {
    MarcarAlterado();
    dlgAlterarFonteFont = o->Fonte.ParaTFont();
    if (auto f = Dialogs().ChooseFont(dlgAlterarFonteFont)) {
      dlgAlterarFonteFont = *f;
      documento_.DefinirFonte(id, TFonteDoc::DeTFont(*f));
    }
  }
  StretchHandle1->Attach(sel);
}

void TfrmLurn::menuObjectosAlterarimagemClick() {
  QWidget* sel = Seleccionado();
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  const std::uint64_t id = o->Id;
  StretchHandle1->Detach();
  if (o->EhImagem()) {
    MarcarAlterado();
    if (const auto ficheiro = Dialogs().OpenPicture(TituloImagem())) {
      TImagemDoc imagem{*ficheiro, TPicture()};
      if (LerImagem(*ficheiro, imagem.Imagem)) documento_.DefinirImagem(id, imagem);
    }
  }
  StretchHandle1->Attach(sel);
}

void TfrmLurn::Alinhar(int modo) {
  QWidget* sel = Seleccionado();
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  MarcarAlterado();
  const int W = LarguraReferencia(documento_.FolhaDe(o->Id));
  int left = 1;
  if (modo == 1) left = (W - o->Width) / 2;  // C++ division truncates toward zero
  if (modo == 2) left = W - o->Width - 1;
  documento_.DefinirLimites(o->Id, QRect(left, o->Top, o->Width, o->Height));
  StretchHandle1->Detach();
  StretchHandle1->Attach(sel);
}

void TfrmLurn::menuEditarAlinharEsquerdaClick() { Alinhar(0); }
void TfrmLurn::menuEditarCentrarClick() { Alinhar(1); }
void TfrmLurn::menuEditarAlinharDireitaClick() { Alinhar(2); }

void TfrmLurn::Rodar(bool esquerda) {
  QWidget* sel = Seleccionado();
  const TObjecto* o = ObjectoSeleccionado();
  if (!o || !o->EhTexto()) return;
  MarcarAlterado();
  StretchHandle1->Detach();
  documento_.Rodar90(o->Id, esquerda);
  StretchHandle1->Attach(sel);
}

void TfrmLurn::menuObjectosRodar90EsquerdaClick() { Rodar(true); }
void TfrmLurn::menuObjectosRodar90DireitaClick() { Rodar(false); }

void TfrmLurn::menuEditarApagarClick() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  MarcarAlterado();
  StretchHandle1->Detach();
  documento_.Apagar(o->Id);
}

void TfrmLurn::menuObjectosImagemdefundoClick() {
  MarcarAlterado();
  const auto ficheiro = Dialogs().OpenPicture(TituloImagem());
  if (!ficheiro) return;
  TImagemDoc imagem{*ficheiro, TPicture()};
  if (!LerImagem(*ficheiro, imagem.Imagem)) return;
  switch (FolhaActual()) {
    case folhaFrente:
      documento_.DefinirFundo(fundoFrente, imagem);
      imgFrente->show();
      break;
    case folhaInterior:
      documento_.DefinirFundo(fundoInterior, imagem);
      imgInterior->show();
      break;
    case folhaTras: {
      TDocumento::TLote lote(documento_);
      documento_.DefinirFundo(fundoTras, imagem);
      documento_.DefinirFundo(fundoTrasLombada, imagem);
    }
      MostrarFundoTras();
      break;
    case folhaCD: documento_.DefinirFundo(fundoCD, imagem); break;
  }
}

void TfrmLurn::menuObjectosCordefundoClick() {
  MarcarAlterado();
  if (const auto cor = Dialogs().ChooseColor(dlgAlterarCorColor)) {
    dlgAlterarCorColor = *cor;
    documento_.DefinirCor(FolhaActual(), *cor);
  }
  FundosParaTras();
}

void TfrmLurn::manuObjectosLimparImagemFundoClick() {
  MarcarAlterado();
  documento_.LimparFundo(FolhaActual());
}

void TfrmLurn::checkLombadaClick() {
  ficheiroGravado = false;
  MostrarFundoTras();
}

void TfrmLurn::opcaoAlinharAgrelhaClick() {
  const bool v = !opcaoAlinharAgrelha->isChecked();
  StretchHandle1->SetSnapToGrid(v);
  opcaoAlinharAgrelha->setChecked(v);
}

// ===========================================================================
// The file commands of the main window (New, Open, Save, Save As, the
// question before unsaved changes are lost) and the recent-file list.
// Reading and writing the file itself is the document's (FicheiroCapa).
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
    entradas[i]->setText(nome);
    entradas[i]->setVisible(true);
    separadorFicheiros->setVisible(true);
  }
}

void TfrmLurn::menuFicheirosFicheiroClick(int i) {
  QAction* const entradas[] = {menuFicheirosFicheiro1, menuFicheirosFicheiro2, menuFicheirosFicheiro3,
                               menuFicheirosFicheiro4, menuFicheirosFicheiro5};
  QString nome = entradas[i - 1]->text();
  const int e = nome.indexOf(QLatin1Char('&'));
  if (e >= 0) nome.remove(e, 1);
  AbrirRecente(nome);
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

// ===========================================================================
// Copy and paste of cover objects through the system clipboard, in the
// program's own format (document/ObjectStream).
void TfrmLurn::menuEditarCopiarClick() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  nadaCopiado = false;
  tipoCopiado = o->Nome.startsWith(QLatin1Char('T')) ? QStringLiteral("TProLabel") : QStringLiteral("TProImage");
  // The copy carries no name (the stream never holds one): the paste names
  // it for its own sheet.
  auto* dados = new QMimeData;
  dados->setData(QString::fromLatin1(ObjectMimeType), WriteObject(*o));
  QGuiApplication::clipboard()->setMimeData(dados);
}

void TfrmLurn::menuEditarColarClick() {
  if (nadaCopiado) return;
  MarcarAlterado();
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
  const QMimeData* dados = QGuiApplication::clipboard()->mimeData();
  const QString formato = QString::fromLatin1(ObjectMimeType);
  // Another program may have put something else there since the copy.
  if (!dados || !dados->hasFormat(formato)) return;
  QString erro;
  std::optional<TObjecto> objecto = ReadObject(dados->data(formato), &erro);
  if (!objecto) {
    Dialogs().Warning(erro);
    return;
  }
  // Named by what was really read: the clipboard may hold an object that
  // another copy of the program put there.  It goes last on the sheet, so
  // it is drawn above the others.
  const int folha = FolhaActual();
  const QString prefixo = objecto->EhTexto() ? QStringLiteral("Texto") : QStringLiteral("Imagem");
  TDocumento::TLote lote(documento_);
  const std::uint64_t id = documento_.Adicionar(folha, std::move(*objecto));
  documento_.DefinirNome(id, NovoNome(prefixo, folha));
}
