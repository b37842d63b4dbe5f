#include "editor/uLurn.h"

#include "components/BarPopupMenu.h"
#include "components/Handles.h"
#include "components/ObjectStream.h"
#include "components/OneInstance.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "editor/CoverRecord.h"
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
#include <QMimeData>
#include <QCloseEvent>
#include <QFile>
#include <QHash>
#include <QScopeGuard>
#include <QSaveFile>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
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
  connect(checkLombada, &QCheckBox::toggled, this, [this] { checkLombadaClick(); });
  connect(pageFolhas, &QTabWidget::currentChanged, this, [this] { pageFolhasChange(); });

  StretchHandle1 = new TStretchHandle(client);
  StretchHandle1->setObjectName(QStringLiteral("StretchHandle1"));
  StretchHandle1->setGeometry(504, 88, 24, 24);
  StretchHandle1->SetSnapToGrid(true);
  StretchHandle1->SetPopupMenu(popUpMenuHandles);
  StretchHandle1->OnDblClick = [this](QObject*) { menuObjectosEditartextoseleccionadoClick(); };

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

  transferencia = QGuiApplication::clipboard();
  nadaCopiado = true;
  // The commands start in the state the timer keeps them in; the splash
  // window stays until the first real tick.
  ActualizarComandos();
}

// ---------------------------------------------------------------------------
// Building the window

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

  QWidget* sel = Seleccionado();
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

// ---------------------------------------------------------------------------
// The document

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

QString TfrmLurn::NovoNome(const QString& prefixo, int folha) const {
  const TPanel* p = Painel(folha);
  if (!p) return QString();
  int n = p->Owned.ComponentCount();
  QString candidato = prefixo + QString::number(n);
  while (p->Owned.FindComponent(candidato)) candidato = prefixo + QString::number(++n);
  return candidato;
}

void TfrmLurn::MostrarLampadas() {
  lampadaVerde->setVisible(ficheiroGravado);
  lampadaVermelha->setVisible(!ficheiroGravado);
}

void TfrmLurn::MarcarAlterado() {
  ficheiroGravado = false;
  MostrarLampadas();
}

void TfrmLurn::LigarTexto(TProLabel* texto) {
  texto->OnMouseDown = [this](QObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    textoMouseDown(s, b, sh, x, y);
  };
  texto->OnMouseMove = [this](QObject* s, TShiftState sh, int x, int y) { textoMouseMove(s, sh, x, y); };
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

void TfrmLurn::imagemMouseDown(QObject* Sender, TMouseButton, TShiftState, int, int) {
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
  MarcarAlterado();
  StretchHandle1->Attach(qobject_cast<QWidget*>(Sender));
}

void TfrmLurn::LimparDocumento() {
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
  for (TProImage* img : {imgFrente, imgInterior, imgTras, imgTrasLombada}) {
    img->SetPicture(TPicture());
    img->SetHint(QString());
  }
  centroCD->SetFillColor(clWhite);
  centroCD->SetFillStyle(tfsSolid);
  centroCD->SetImage(nullptr);
  centroCD->SetHint(QString());
  for (TShape* s : {corFrente, corInterior, corTras}) s->SetBrushColor(clWhite);
  for (TPanel* p : {painelFrente, painelInterior, painelTras, painelCD}) {
    for (int i = p->Owned.ComponentCount() - 1; i >= 0; --i) {
      QObject* c = p->Owned.Components(i);
      const QString cls = TOwnedComponents::ClassName(c);
      if (cls == QLatin1String("TProLabel") || cls == QLatin1String("TProImage")) delete c;
    }
  }
}

void TfrmLurn::FundosParaTras() {
  for (QWidget* w : std::initializer_list<QWidget*>{imgFrente, imgInterior, imgTras, imgTrasLombada, corFrente,
                                                    corInterior, corTras})
    w->lower();
}

// ---------------------------------------------------------------------------
// Object editing commands

namespace {
bool EhTexto(const QObject* o) { return TOwnedComponents::ClassName(o) == QLatin1String("TProLabel"); }
bool EhImagem(const QObject* o) { return TOwnedComponents::ClassName(o) == QLatin1String("TProImage"); }
}  // namespace

bool TfrmLurn::LerImagem(const QString& ficheiro, TPicture& imagem) {
  // While a cover is being read, a picture file named by several records
  // is decoded once and its picture shared.
  if (imagensLidas_) {
    auto it = imagensLidas_->find(ficheiro);
    if (it != imagensLidas_->end()) {
      imagem = it.value();
      return true;
    }
  }
  try {
    imagem.LoadFromFile(ficheiro);
  } catch (const Exception& e) {
    Dialogs().Warning(e.Message);
    return false;
  }
  if (imagensLidas_) imagensLidas_->insert(ficheiro, imagem);
  return true;
}

bool TfrmLurn::CarregarImagem(TProImage* img, const QString& ficheiro) {
  TPicture imagem;
  if (!LerImagem(ficheiro, imagem)) return false;
  img->SetPicture(imagem);
  return true;
}

TProLabel* TfrmLurn::CriarTexto(int folha) {
  TPanel* p = Painel(folha);
  auto* texto = new TProLabel(p);
  p->Owned.InsertComponent(texto);
  const int n = p->Owned.ComponentCount();
  texto->move(0, 0);
  texto->SetAutoSize(true);
  LigarTexto(texto);
  texto->SetCaption(QStringLiteral("Texto ") + QString::number(n));
  texto->setObjectName(NovoNome(QStringLiteral("Texto"), folha));
  if (auto f = Dialogs().ChooseFont(dlgAlterarFonteFont)) {
    dlgAlterarFonteFont = *f;
    texto->SetFont(*f);
  }
  texto->SetTransparent(true);
  texto->show();
  return texto;
}

void TfrmLurn::menuObjectosInserirtextoClick() {
  MarcarAlterado();
  CriarTexto(FolhaActual());
}

void TfrmLurn::menuObjectosInseririmagemClick() {
  MarcarAlterado();
  const auto ficheiro = Dialogs().OpenPicture(QStringLiteral("Adicionar Imagem"));
  if (!ficheiro) return;
  const int folha = FolhaActual();
  TPanel* p = Painel(folha);
  auto* img = new TProImage(p);
  p->Owned.InsertComponent(img);
  img->setGeometry(1, 1, 100, 100);
  img->SetStretch(true);
  img->setObjectName(NovoNome(QStringLiteral("Imagem"), folha));
  if (!CarregarImagem(img, *ficheiro)) {
    // An object without a picture could neither be selected nor saved
    // meaningfully: take it away again once the user has read why.
    delete img;
    return;
  }
  img->SetHint(*ficheiro);
  LigarImagem(img);
  img->SetTransparent(true);
  img->show();
}

void TfrmLurn::EditarTexto(TProLabel* texto) {
  StretchHandle1->Detach();
  texto->SetCaption(
      Dialogs().InputBox(QStringLiteral("Introdução"), QStringLiteral("Introduza o texto"), texto->Caption()));
  StretchHandle1->Attach(texto);
}

void TfrmLurn::menuObjectosEditartextoseleccionadoClick() {
  QWidget* sel = Seleccionado();
  if (!sel) return;
  MarcarAlterado();
  if (EhTexto(sel)) EditarTexto(static_cast<TProLabel*>(sel));
}

void TfrmLurn::opcaoEditarAlterarimagemClick() {
  QWidget* sel = Seleccionado();
  if (!sel) return;
  MarcarAlterado();
  if (EhTexto(sel)) {
    EditarTexto(static_cast<TProLabel*>(sel));
    return;
  }
  auto* img = qobject_cast<TProImage*>(sel);
  if (!img) return;
  if (const auto ficheiro = Dialogs().OpenPicture(QStringLiteral("Adicionar Imagem"))) {
    img->SetStretch(true);
    if (CarregarImagem(img, *ficheiro)) img->SetHint(*ficheiro);
    StretchHandle1->Attach(img);
  }
}

void TfrmLurn::menuObjectosAlterarfonteecorClick() {
  QWidget* sel = Seleccionado();
  if (!sel) return;
  StretchHandle1->Detach();
  if (EhTexto(sel)) {
    auto* texto = static_cast<TProLabel*>(sel);
    MarcarAlterado();
    dlgAlterarFonteFont = texto->Font();
    if (auto f = Dialogs().ChooseFont(dlgAlterarFonteFont)) {
      dlgAlterarFonteFont = *f;
      texto->SetFont(*f);
    }
  }
  StretchHandle1->Attach(sel);
}

void TfrmLurn::menuObjectosAlterarimagemClick() {
  QWidget* sel = Seleccionado();
  if (!sel) return;
  StretchHandle1->Detach();
  if (EhImagem(sel)) {
    auto* img = static_cast<TProImage*>(sel);
    MarcarAlterado();
    if (const auto ficheiro = Dialogs().OpenPicture(QStringLiteral("Adicionar Imagem"))) {
      img->SetStretch(true);
      if (CarregarImagem(img, *ficheiro)) img->SetHint(*ficheiro);
    }
  }
  StretchHandle1->Attach(sel);
}

void TfrmLurn::Alinhar(int modo) {
  QWidget* sel = Seleccionado();
  if (!sel) return;
  MarcarAlterado();
  const QWidget* painel = sel->parentWidget();
  const int W = painel && painel->objectName() == QLatin1String("painelTras") ? 572 : 458;
  int left = 1;
  if (modo == 1) left = (W - sel->width()) / 2;  // C++ division truncates toward zero
  if (modo == 2) left = W - sel->width() - 1;
  sel->move(left, sel->y());
  StretchHandle1->Detach();
  StretchHandle1->Attach(sel);
}

void TfrmLurn::menuEditarAlinharEsquerdaClick() { Alinhar(0); }
void TfrmLurn::menuEditarCentrarClick() { Alinhar(1); }
void TfrmLurn::menuEditarAlinharDireitaClick() { Alinhar(2); }

void TfrmLurn::Rodar(bool esquerda) {
  QWidget* sel = Seleccionado();
  if (!sel || !EhTexto(sel)) return;
  auto* texto = static_cast<TProLabel*>(sel);
  MarcarAlterado();
  StretchHandle1->Detach();
  const int w = texto->width(), h = texto->height();
  switch (texto->Angle()) {
    case 0: texto->SetAngle(esquerda ? 90 : 270); break;
    case 90: texto->SetAngle(esquerda ? 180 : 0); break;
    case 180: texto->SetAngle(esquerda ? 270 : 90); break;
    case 270: texto->SetAngle(esquerda ? 0 : 180); break;
    default: break;
  }
  texto->resize(h, w);
  StretchHandle1->Attach(texto);
}

void TfrmLurn::menuObjectosRodar90EsquerdaClick() { Rodar(true); }
void TfrmLurn::menuObjectosRodar90DireitaClick() { Rodar(false); }

void TfrmLurn::menuEditarApagarClick() {
  QWidget* sel = Seleccionado();
  if (!sel) return;
  MarcarAlterado();
  StretchHandle1->Detach();
  delete sel;
}

void TfrmLurn::MostrarFundoTras() {
  imgTras->setVisible(checkLombada->isChecked());
  imgTrasLombada->setVisible(!checkLombada->isChecked());
  Shape1->show();
  Shape2->show();
}

void TfrmLurn::menuObjectosImagemdefundoClick() {
  MarcarAlterado();
  const auto ficheiro = Dialogs().OpenPicture(QStringLiteral("Adicionar Imagem"));
  if (!ficheiro) return;
  auto fundo = [&](TProImage* img, int x, int w, int h) {
    img->move(x, 0);
    if (!CarregarImagem(img, *ficheiro)) return false;
    img->SetHint(*ficheiro);
    img->SetStretch(true);
    img->resize(w, h);
    return true;
  };
  switch (FolhaActual()) {
    case folhaFrente:
      if (fundo(imgFrente, 0, 458, 455)) imgFrente->show();
      break;
    case folhaInterior:
      if (fundo(imgInterior, 0, 458, 455)) imgInterior->show();
      break;
    case folhaTras:
      if (fundo(imgTras, 0, 572, 447) && fundo(imgTrasLombada, 24, 524, 447)) MostrarFundoTras();
      break;
    case folhaCD:
      if (!LerImagem(*ficheiro, centroCD->ImageRef())) return;
      centroCD->SetFillStyle(tfsImageStretch);
      centroCD->SetHint(*ficheiro);
      centroCD->update();
      break;
  }
}

void TfrmLurn::menuObjectosCordefundoClick() {
  MarcarAlterado();
  if (const auto cor = Dialogs().ChooseColor(dlgAlterarCorColor)) {
    dlgAlterarCorColor = *cor;
    switch (FolhaActual()) {
      case folhaFrente: corFrente->SetBrushColor(*cor); break;
      case folhaInterior: corInterior->SetBrushColor(*cor); break;
      case folhaTras: corTras->SetBrushColor(*cor); break;
      case folhaCD:
        centroCD->SetImage(nullptr);
        centroCD->SetHint(QString());
        centroCD->SetFillStyle(tfsSolid);
        centroCD->SetFillColor(*cor);
        break;
    }
  }
  FundosParaTras();
}

void TfrmLurn::manuObjectosLimparImagemFundoClick() {
  MarcarAlterado();
  auto limpar = [](TProImage* img) {
    img->SetPicture(TPicture());
    img->SetHint(QString());
  };
  switch (FolhaActual()) {
    case folhaFrente: limpar(imgFrente); break;
    case folhaInterior: limpar(imgInterior); break;
    case folhaTras:
      limpar(imgTras);
      limpar(imgTrasLombada);
      break;
    case folhaCD:
      centroCD->SetImage(nullptr);
      centroCD->SetHint(QString());
      centroCD->SetFillStyle(tfsSolid);
      break;
  }
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

// ---------------------------------------------------------------------------
// Cover files

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

bool Escrever(QIODevice& f, const TCoverRecord& r, bool& perdidos) {
  const QByteArray b = r.Codificar(&perdidos);
  return f.write(b) == b.size();
}

TCoverRecord RegistoFundo(const QString& codigo, const TProImage* img) {
  TCoverRecord r;
  r.Tipo = QStringLiteral("TProImage");
  r.Folha = codigo;
  r.Texto = img->Hint();
  r.Left = img->x();
  r.Top = img->y();
  r.Height = img->height();
  r.Width = img->width();
  return r;
}

TCoverRecord RegistoCor(const QString& codigo, TColor cor) {
  TCoverRecord r;
  r.Tipo = QStringLiteral("TShape");
  r.Folha = codigo;
  r.Cor = cor;
  return r;
}
}  // namespace

bool TfrmLurn::ExisteFicheiro(const QString& nome) {
  if (nome.isEmpty()) return false;
  QFile f(nome);
  return f.open(QIODevice::ReadOnly);
}

bool TfrmLurn::GravarFolha(QIODevice& f, int folha, bool& perdidos) {
  erroGravacao = true;
  QList<TCoverRecord> registos;
  const QString codigo = CodigoFolha(folha);
  switch (folha) {
    case folhaFrente:
      registos << RegistoCor(codigo, corFrente->BrushColor()) << RegistoFundo("FrenteP", imgFrente);
      break;
    case folhaInterior:
      registos << RegistoCor(codigo, corInterior->BrushColor()) << RegistoFundo("InteriorP", imgInterior);
      break;
    case folhaTras:
      registos << RegistoCor(codigo, corTras->BrushColor()) << RegistoFundo("TrasP", imgTras)
               << RegistoFundo("TrasL", imgTrasLombada);
      break;
    case folhaCD:
      if (centroCD->FillStyle() == tfsSolid) {
        registos << RegistoCor(codigo, centroCD->FillColor());
      } else {
        TCoverRecord r;
        r.Tipo = QStringLiteral("TProImage");
        r.Folha = QStringLiteral("CDP");
        r.Texto = centroCD->Hint();
        registos << r;
      }
      break;
  }
  const TPanel* p = Painel(folha);
  for (int i = 0; i < p->Owned.ComponentCount(); ++i) {
    QObject* c = p->Owned.Components(i);
    TCoverRecord r;
    r.Folha = codigo;
    if (auto* t = qobject_cast<TProLabel*>(c)) {
      r.Tipo = QStringLiteral("TProLabel");
      r.Texto = t->Caption();
      r.Angulo = t->Angle();
      const TFont& fonte = t->Font();
      r.NomeFonte = fonte.Name;
      r.Charset = fonte.Charset;
      r.TamanhoFonte = fonte.Size();
      r.Cor = fonte.Color;
      r.Estilo = fonte.Style;
    } else if (auto* img = qobject_cast<TProImage*>(c); img && EhImagem(img)) {
      r.Tipo = QStringLiteral("TProImage");
      r.Texto = img->Hint();
    } else {
      continue;
    }
    auto* w = static_cast<QWidget*>(c);
    r.Left = w->x();
    r.Top = w->y();
    r.Height = w->height();
    r.Width = w->width();
    registos << r;
  }
  for (const TCoverRecord& r : registos) {
    if (!Escrever(f, r, perdidos)) {
      Dialogs().Warning(QStringLiteral("Erro de escrita no ficheiro."));
      return false;
    }
  }
  erroGravacao = false;
  return true;
}

bool TfrmLurn::GravarFicheiro(const QString& nome) {
  const QString base = nome.mid(nome.lastIndexOf(QLatin1Char('/')) + 1);
  const int ponto = base.lastIndexOf(QLatin1Char('.'));
  bool perdidos = false;
  if (ponto < 0 || base.mid(ponto) != QLatin1String(".lrn")) {
    Dialogs().ShowMessage(QStringLiteral("Função ainda não implementada."));
    erroGravacao = true;
  } else {
    erroGravacao = false;
    // The cover is written beside the old file and put in its place only
    // when every record was written, so a failed save never destroys the
    // last good copy.
    QSaveFile f(nome);
    if (!f.open(QIODevice::WriteOnly)) {
      Dialogs().Warning(QStringLiteral("Erro ao criar o ficheiro."));
      erroGravacao = true;
      return false;
    }
    TCoverRecord cabecalho;
    cabecalho.Tipo = QStringLiteral("Lurns CD");
    cabecalho.Texto = QStringLiteral("Quelto Sanir");
    if (!Escrever(f, cabecalho, perdidos)) {
      f.cancelWriting();
      Dialogs().Warning(QStringLiteral("Erro de escrita no ficheiro."));
      erroGravacao = true;
      return false;
    }
    bool tudo = true;
    for (int folha = folhaFrente; folha <= folhaCD && tudo; ++folha) tudo = GravarFolha(f, folha, perdidos);
    if (tudo) {
      // Flushed here so that a full disk is seen before the new file
      // takes the place of the old one.
      if (!f.flush() || !f.commit()) {
        f.cancelWriting();
        Dialogs().Warning(QStringLiteral("Erro de escrita no ficheiro."));
        erroGravacao = true;
      } else {
        ActualizarRecentes(nome);
      }
    } else {
      f.cancelWriting();
      erroGravacao = true;
    }
  }
  if (erroGravacao) {
    ficheiroGravado = false;
  } else {
    ficheiroGravado = true;
    if (perdidos)
      Dialogs().Warning(QStringLiteral(
          "Alguns caracteres não existem no conjunto de caracteres dos ficheiros Lurns (Windows-1252) "
          "e foram gravados como \"?\"."));
  }
  MostrarLampadas();
  return !erroGravacao;
}

bool TfrmLurn::AbrirFicheiro(const QString& nome) {
  LimparDocumento();
  QFile f(nome);
  if (!f.open(QIODevice::ReadOnly)) {
    Dialogs().Warning(QStringLiteral("Erro ao abrir o ficheiro."));
    return false;
  }
  const QByteArray primeiro = f.read(kTamanhoRegisto);
  if (f.error() != QFileDevice::NoError) {
    Dialogs().Warning(QStringLiteral("Erro de leitura do ficheiro."));
    return false;
  }
  const TCoverRecord cabecalho = TCoverRecord::Descodificar(primeiro);
  if (cabecalho.Tipo != QLatin1String("Lurns CD") && cabecalho.Texto != QLatin1String("Quelto Sanir")) {
    Dialogs().Warning(QStringLiteral("Ficheiro inválido!"));
    return false;
  }
  QHash<QString, TPicture> imagens;
  imagensLidas_ = &imagens;
  const auto fim = qScopeGuard([this] { imagensLidas_ = nullptr; });
  while (!f.atEnd()) {
    const QByteArray b = f.read(kTamanhoRegisto);
    if (f.error() != QFileDevice::NoError) {
      Dialogs().Warning(QStringLiteral("Erro de leitura do ficheiro."));
      return false;
    }
    LerRegisto(TCoverRecord::Descodificar(b));
  }
  f.close();
  ActualizarRecentes(nome);
  return true;
}

void TfrmLurn::LerRegisto(const TCoverRecord& r) {
  if (r.Tipo == QLatin1String("TProLabel")) {
    int folha = 0;
    const char16_t inicial = r.Folha.isEmpty() ? u'\0' : r.Folha.at(0).unicode();
    switch (inicial) {
      case 'C': folha = folhaCD; break;
      case 'F': folha = folhaFrente; break;
      case 'I': folha = folhaInterior; break;
      case 'T': folha = folhaTras; break;
      default: return;
    }
    TPanel* p = Painel(folha);
    auto* texto = new TProLabel(p);
    p->Owned.InsertComponent(texto);
    const int n = p->Owned.ComponentCount();
    // In this order the label's automatic sizing decides the final size:
    // a level label takes the size of its text, a turned one (automatic
    // sizing off) keeps the stored size.
    texto->move(r.Left, r.Top);
    texto->SetCaption(r.Texto);
    texto->resize(r.Width, r.Height);
    texto->SetAngle(r.Angulo);
    TFont fonte = texto->Font();
    fonte.Name = r.NomeFonte;
    fonte.Charset = r.Charset;
    fonte.SetSize(r.TamanhoFonte);
    fonte.Color = r.Cor;
    fonte.Style = r.Estilo & 0x0F;
    texto->SetFont(fonte);
    LigarTexto(texto);
    texto->setObjectName(QStringLiteral("Texto") + QString::number(n));
    texto->SetTransparent(true);
    texto->show();
    return;
  }
  if (r.Tipo == QLatin1String("TProImage")) {
    if (!ExisteFicheiro(r.Texto)) {
      if (!r.Texto.isEmpty()) Dialogs().Warning(QStringLiteral("Imagem não encontrada."));
      return;
    }
    auto fundo = [&](TProImage* img) {
      if (!CarregarImagem(img, r.Texto)) return false;
      img->SetHint(r.Texto);
      img->SetStretch(true);
      return true;
    };
    if (r.Folha == QLatin1String("FrenteP")) {
      fundo(imgFrente);
    } else if (r.Folha == QLatin1String("InteriorP")) {
      fundo(imgInterior);
    } else if (r.Folha == QLatin1String("TrasP")) {
      if (fundo(imgTras)) MostrarFundoTras();
    } else if (r.Folha == QLatin1String("TrasL")) {
      if (fundo(imgTrasLombada)) MostrarFundoTras();
    } else if (r.Folha == QLatin1String("CDP")) {
      if (!LerImagem(r.Texto, centroCD->ImageRef())) return;
      centroCD->SetHint(r.Texto);
      centroCD->SetFillStyle(tfsImageStretch);
      centroCD->update();
    } else {
      int folha = 0;
      for (int i = folhaFrente; i <= folhaCD; ++i)
        if (r.Folha == CodigoFolha(i)) folha = i;
      if (!folha) return;
      // The picture is read first: an object whose picture cannot be read
      // would be an empty, unselectable rectangle on the sheet.
      TPicture imagem;
      if (!LerImagem(r.Texto, imagem)) return;
      TPanel* p = Painel(folha);
      auto* img = new TProImage(p);
      p->Owned.InsertComponent(img);
      const int n = p->Owned.ComponentCount();
      img->setGeometry(r.Left, r.Top, r.Width, r.Height);
      img->SetStretch(true);
      img->setObjectName(QStringLiteral("Imagem") + QString::number(n));
      img->SetPicture(imagem);
      img->SetHint(r.Texto);
      LigarImagem(img);
      img->SetTransparent(true);
      img->show();
    }
    return;
  }
  if (r.Tipo == QLatin1String("TShape")) {
    if (r.Folha == QLatin1String("Frente")) corFrente->SetBrushColor(r.Cor);
    else if (r.Folha == QLatin1String("Interior")) corInterior->SetBrushColor(r.Cor);
    else if (r.Folha == QLatin1String("Tras")) corTras->SetBrushColor(r.Cor);
    else if (r.Folha == QLatin1String("CD")) {
      centroCD->SetFillColor(r.Cor);
      centroCD->SetImage(nullptr);
      centroCD->SetHint(QString());
      centroCD->SetFillStyle(tfsSolid);
    }
  }
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

// ---------------------------------------------------------------------------
// Copy and paste

void TfrmLurn::menuEditarCopiarClick() {
  QWidget* sel = Seleccionado();
  if (!sel) return;
  nadaCopiado = false;
  tipoCopiado = sel->objectName().startsWith(QLatin1Char('T')) ? QStringLiteral("TProLabel")
                                                                : QStringLiteral("TProImage");
  // The copy carries no name: the paste names it for its own sheet.
  const QString nome = sel->objectName();
  sel->setObjectName(QString());
  auto* dados = new QMimeData;
  dados->setData(QString::fromLatin1(ObjectMimeType), WriteObject(sel));
  transferencia->setMimeData(dados);
  sel->setObjectName(nome);
}

void TfrmLurn::menuEditarColarClick() {
  if (nadaCopiado) return;
  MarcarAlterado();
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
  const QMimeData* dados = transferencia->mimeData();
  const QString formato = QString::fromLatin1(ObjectMimeType);
  // Another program may have put something else there since the copy.
  if (!dados || !dados->hasFormat(formato)) return;
  const int folha = FolhaActual();
  TPanel* p = Painel(folha);
  QString erro;
  QWidget* objecto = ReadObject(dados->data(formato), p, &erro);
  if (!objecto) {
    Dialogs().Warning(erro);
    return;
  }
  p->Owned.InsertComponent(objecto);
  // Named and wired by what was really read: the clipboard may hold an
  // object that another copy of the program put there.
  if (auto* texto = qobject_cast<TProLabel*>(objecto)) {
    texto->setObjectName(NovoNome(QStringLiteral("Texto"), folha));
    LigarTexto(texto);
  } else if (auto* imagem = qobject_cast<TProImage*>(objecto)) {
    imagem->setObjectName(NovoNome(QStringLiteral("Imagem"), folha));
    LigarImagem(imagem);
  }
  objecto->raise();
  objecto->show();
}
