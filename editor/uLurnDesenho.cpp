// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls as designed: the client area, the main menu,
// the tool bar, the four sheets with their background controls, the status
// bar, the object popup menu, the "Trás com lombada" box and the stretch
// handle, with their component names, captions, hints, shortcuts, pictures
// and help context numbers, and the session command (or window action)
// each calls.
#include "components/BarPopupMenu.h"
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "editor/GuiaCD.h"
#include "editor/ReInit.h"
#include "editor/uLurn.h"
#include "printing/ComandosImpressao.h"
#include "session/Sessao.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTabWidget>
#include <QToolButton>

namespace {
constexpr int kClientWidth = 587;
constexpr int kClientHeight = 529;
const char* const kHelpContext = "HelpContext";

QIcon Icone(const char* name) { return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name))); }

void SetHelp(QObject* o, int context) { o->setProperty(kHelpContext, context); }
}  // namespace

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
  // In the row of the sheets' tabs, right of them: the tool bar takes the
  // whole width of its own row.
  checkLombada->setGeometry(456, 30, 129, 17);
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
    std::function<void()> handler;
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
            {{&menuFicheiroNovo, "menuFicheiroNovo", "&Novo", "Criação de uma nova lurn", {}, 4, [this] { sessao_->Novo(); }},
             {&manuFicheiroAbrir, "manuFicheiroAbrir", "&Abrir", "Abrir uma lurn gravada em disco", {}, 4, [this] { sessao_->Abrir(); }},
             {&menuFicheiroGravar, "menuFicheiroGravar", "&Gravar", "Gravar uma lurn em disco",
              QKeySequence(Qt::CTRL | Qt::Key_S), 4, [this] { sessao_->Gravar(); }},
             {&menuFicheiroGravarComo, "menuFicheiroGravarComo", "Gravar &Como",
              "Gravar uma lurn em disco com novo nome", {}, 4, [this] { sessao_->GravarComo(); }},
             {&N1, "N1", nullptr, nullptr, {}, 4, {}},
             {&menuFicheiroConfigurarImpressora, "menuFicheiroConfigurarImpressora", "C&onfigurar Impressora",
              "Configuração da impressora", {}, 4, [this] { impressao_->ConfigurarImpressora(); }},
             {&menuFicheiroImprimir, "menuFicheiroImprimir", "&Imprimir", "Imprime a lurn actual",
              QKeySequence(Qt::CTRL | Qt::Key_P), 4, [this] { menuFicheiroImprimirClick(); }},
             {&menuFicheiroPreverImpresso, "menuFicheiroPreverImpresso", "&Prever Impressão",
              "Previsão no monitor da impressão da lurn", {}, 4, [this] { menuFicheiroPreverImpressoClick(); }},
             {&menuFicheiroExportar, "menuFicheiroExportar", "&Exportar…",
              "Exporta as páginas da lurn para PDF, PNG ou SVG", {}, 4, [this] { menuFicheiroExportarClick(); }},
             {&N2, "N2", nullptr, nullptr, {}, 4, {}},
             {&menuFicheirosFicheiro1, "menuFicheirosFicheiro1", "", nullptr, {}, 4, {}},
             {&menuFicheirosFicheiro2, "menuFicheirosFicheiro2", "", nullptr, {}, 4, {}},
             {&menuFicheirosFicheiro3, "menuFicheirosFicheiro3", "", nullptr, {}, 4, {}},
             {&menuFicheirosFicheiro4, "menuFicheirosFicheiro4", "", nullptr, {}, 4, {}},
             {&menuFicheirosFicheiro5, "menuFicheirosFicheiro5", "", nullptr, {}, 4, {}},
             {&separadorFicheiros, "separadorFicheiros", nullptr, nullptr, {}, 4, {}},
             {&menuFicheiroSair, "menuFicheiroSair", "&Sair",
              "Está farto de fazer lurns e quer dar de \"frosques\"?", QKeySequence(Qt::CTRL | Qt::Key_X), 4,
              [this] { close(); }}});
  for (QAction* a : {menuFicheirosFicheiro1, menuFicheirosFicheiro2, menuFicheirosFicheiro3,
                     menuFicheirosFicheiro4, menuFicheirosFicheiro5, separadorFicheiros})
    a->setVisible(false);
  // The recent entries show the list as the store holds it each time the
  // menu opens (and whenever the session changes it).
  connect(menuFicheiros, &QMenu::aboutToShow, this, &TfrmLurn::MostrarRecentes);
  for (QAction* a : {menuFicheirosFicheiro1, menuFicheirosFicheiro2, menuFicheirosFicheiro3,
                     menuFicheirosFicheiro4, menuFicheirosFicheiro5}) {
    connect(a, &QAction::triggered, this, [this, a] { sessao_->AbrirRecente(a->data().toString()); });
  }

  novoMenu(menuEditar, "menuEditar", "&Editar", nullptr, 5);
  construir(menuEditar,
            {{&menuEditarDesfazer, "menuEditarDesfazer", "Des&fazer", "Desfaz a última alteração",
              QKeySequence(Qt::CTRL | Qt::Key_Z), 5, [this] { sessao_->Desfazer(); }},
             {&menuEditarRefazer, "menuEditarRefazer", "Refa&zer", "Refaz a alteração desfeita",
              QKeySequence(Qt::CTRL | Qt::Key_Y), 5, [this] { sessao_->Refazer(); }},
             {&N6, "N6", nullptr, nullptr, {}, 5, {}},
             {&menuEditarCortar, "menuEditarCortar", "Co&rtar",
              "Copia o objecto seleccionado para a transferência e apaga-o", QKeySequence(Qt::SHIFT | Qt::Key_Delete),
              5, [this] { sessao_->Cortar(); }},
             {&menuEditarApagar, "menuEditarApagar", "&Apagar", "Apaga o objecto seleccionado",
              QKeySequence(Qt::CTRL | Qt::Key_Delete), 5, [this] { sessao_->Apagar(); }},
             {&menuEditarCopiar, "menuEditarCopiar", "&Copiar", "Copia o objecto seleccionado para a transferência",
              QKeySequence(Qt::CTRL | Qt::Key_C), 5, [this] { sessao_->Copiar(); }},
             {&menuEditarColar, "menuEditarColar", "C&olar", "Copia da transferência para o painel actual",
              QKeySequence(Qt::CTRL | Qt::Key_V), 5, [this] { sessao_->Colar(); }},
             {&N3, "N3", nullptr, nullptr, {}, 5, {}},
             {&menuEditarAlinharEsquerda, "menuEditarAlinharEsquerda", "Alinhar &Esquerda",
              "Alinha o texto à esquerda", {}, 5, [this] { sessao_->Alinhar(TAlinhamento::Esquerda); }},
             {&menuEditarAlinharDireita, "menuEditarAlinharDireita", "Alinhar &Direita", "Alinha o texto à direita",
              {}, 5, [this] { sessao_->Alinhar(TAlinhamento::Direita); }},
             {&menuEditarCentrar, "menuEditarCentrar", "Cen&trar", "Centra o texto", {}, 5,
              [this] { sessao_->Alinhar(TAlinhamento::Centro); }}});
  // The Delete key deletes the selected object too; the menu shows Ctrl+Del.
  menuEditarApagar->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Delete), QKeySequence(Qt::Key_Delete)});
  // Redo answers Ctrl+Shift+Z as well; the menu shows Ctrl+Y.
  menuEditarRefazer->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  // "Desfazer" and "Refazer" are followed by the name of the step, each in
  // the language in use.
  desenho->Set("Des&fazer", [this](const QString& t) {
    textoDesfazer_ = t;
    if (lampadaVerde) ActualizarComandos();
  });
  desenho->Set("Refa&zer", [this](const QString& t) {
    textoRefazer_ = t;
    if (lampadaVerde) ActualizarComandos();
  });
  for (const char* nome : TSessao::NomesPassos()) {
    desenho->Set(nome, [this, nome](const QString& t) {
      nomesPassos_.insert(QString::fromUtf8(nome), t);
      if (lampadaVerde) ActualizarComandos();
    });
  }

  novoMenu(menuObjectos, "menuObjectos", "&Objectos", nullptr, 2);
  construir(menuObjectos,
            {{&menuObjectosImagemdefundo, "menuObjectosImagemdefundo", "&Imagem de fundo",
              "Altera a imagem de fundo da lurn", {}, 8, [this] { sessao_->ImagemDeFundo(); }},
             {&menuObjectosCordefundo, "menuObjectosCordefundo", "&Cor de fundo", "Altera a cor de fundo da lurn", {},
              10, [this] { sessao_->CorDeFundo(); }},
             {&menuObjectosInserirtexto, "menuObjectosInserirtexto", "Inserir &texto", "Insere um campo de texto", {},
              15, [this] { sessao_->InserirTexto(); }},
             {&menuObjectosInseririmagem, "menuObjectosInseririmagem", "Inserir i&magem", "Insere uma nova imagem",
              {}, 11, [this] { sessao_->InserirImagem(); }},
             {&menuObjectosRodar90Esquerda, "menuObjectosRodar90Esquerda", "Rodar 90º &Esquerda",
              "Roda o texto 90º para a esquerda", {}, 2, [this] { sessao_->Rodar(true); }},
             {&menuObjectosRodar90Direita, "menuObjectosRodar90Direita", "Rodar 90º &Direita",
              "Roda o texto 90º para a direita", {}, 2, [this] { sessao_->Rodar(false); }},
             {&menuObjectosEditartextoseleccionado, "menuObjectosEditartextoseleccionado",
              "Editar texto &seleccionado", "Editar o texto seleccionado", {}, 2,
              [this] { sessao_->EditarTexto(); }},
             {&menuObjectosAlterarfonteecor, "menuObjectosAlterarfonteecor", "Alterar &fonte e cor",
              "Alterar a fonte e/ou cor do texto seleccionado", {}, 2, [this] { sessao_->AlterarFonte(); }},
             {&menuObjectosAlterarimagem, "menuObjectosAlterarimagem", "Alterar ima&gem",
              "Alterar a imagem seleccionada", {}, 2, [this] { sessao_->AlterarImagem(); }},
             {&manuObjectosLimparImagemFundo, "manuObjectosLimparImagemFundo", "Limpar Imagem Fundo",
              "Remover a imagem de fundo", {}, 2, [this] { sessao_->LimparImagemDeFundo(); }},
             {&menuObjectosImportarfaixas, "menuObjectosImportarfaixas", "Importar &faixas…",
              "Coloca a lista de faixas de um álbum (pasta de música, folha CUE ou lista de texto) na capa", {}, 17,
              [this] { sessao_->ImportarFaixas(); }}});

  novoMenu(menuAjuda, "menuAjuda", "&Ajuda", "Ajuda do programa", 3);
  construir(menuAjuda,
            {{&menuAjudaAjuda, "menuAjudaAjuda", "&Ajuda", "Ajuda do programa", QKeySequence(Qt::Key_F1), 3,
              [this] { menuAjudaAjudaClick(); }},
             {&N4, "N4", nullptr, nullptr, {}, 4, {}},
             {&menuAjudaParametros, "menuAjudaParametros", "&Parametros", "Parametros do programa", {}, 7, [this] { menuAjudaParametrosClick(); }},
             {&N5, "N5", nullptr, nullptr, {}, 4, {}},
             {&menuAjudaSobre, "menuAjudaSobre", "&Sobre...", "Sobre o programa", {}, 3,
              [this] { menuAjudaSobreClick(); }}});
  const QList<QAction*> icones = {menuFicheiroNovo, manuFicheiroAbrir, menuFicheiroGravar,
                                  menuFicheiroConfigurarImpressora, menuFicheiroImprimir,
                                  menuFicheiroPreverImpresso, menuFicheiroSair, menuEditarDesfazer,
                                  menuEditarRefazer, menuEditarCortar, menuEditarApagar,
                                  menuEditarCopiar, menuEditarColar, menuEditarAlinharEsquerda,
                                  menuEditarAlinharDireita, menuEditarCentrar, menuObjectosImagemdefundo,
                                  menuObjectosCordefundo, menuObjectosInserirtexto, menuObjectosInseririmagem,
                                  menuObjectosRodar90Esquerda, menuObjectosRodar90Direita,
                                  menuObjectosEditartextoseleccionado, menuObjectosAlterarfonteecor,
                                  menuObjectosAlterarimagem, manuObjectosLimparImagemFundo, menuAjudaAjuda,
                                  menuAjudaParametros, menuAjudaSobre};
  const char* const nomes[] = {"novo", "abrir", "gravar", "configurar-impressora", "imprimir", "prever", "sair",
                               "desfazer", "refazer", "cortar", "apagar", "copiar", "colar", "esquerda", "direita", "centrar", "fundo-imagem",
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
    std::function<void()> handler;
  };
  const Botao botoes[] = {
      {&botaoNovo, "botaoNovo", "&Novo", "Criação de uma nova lurn", "novo", [this] { sessao_->Novo(); }},
      {&botaoAbrir, "botaoAbrir", "&Abrir", "Abrir uma lurn gravada em disco", "abrir", [this] { sessao_->Abrir(); }},
      {&botaoGravar, "botaoGravar", "&Gravar", "Gravar uma lurn em disco", "gravar", [this] { sessao_->Gravar(); }},
      {&botaoImprimirFrente, "botaoImprimirFrente", "&Imprimir", "Imprime a lurn actual", "imprimir", [this] { menuFicheiroImprimirClick(); }},
      {&botaoImprimirTras, "botaoImprimirTras", "&Prever Impressão", "Previsão no monitor da impressão da lurn",
       "prever", [this] { menuFicheiroPreverImpressoClick(); }},
      {nullptr, nullptr, nullptr, nullptr, nullptr, {}},
      {&botaoInserirImagem, "botaoInserirImagem", "Inserir i&magem", "Insere uma nova imagem", "imagem",
       [this] { sessao_->InserirImagem(); }},
      {&botaoTexto, "botaoTexto", "Inserir &texto", "Insere um campo de texto", "texto",
       [this] { sessao_->InserirTexto(); }},
      {nullptr, nullptr, nullptr, nullptr, nullptr, {}},
      {&botaoApagar, "botaoApagar", "&Apagar", "Apaga o objecto seleccionado", "apagar",
       [this] { sessao_->Apagar(); }},
      {&botaoCopiar, "botaoCopiar", "&Copiar", "Copia o objecto seleccionado para a transferência", "copiar",
       [this] { sessao_->Copiar(); }},
      {&botaoColar, "botaoColar", "C&olar", "Copia da transferência para o painel actual", "colar", [this] { sessao_->Colar(); }},
      {nullptr, nullptr, nullptr, nullptr, nullptr, {}},
      {&botaoDesfazer, "botaoDesfazer", "Des&fazer", "Desfaz a última alteração", "desfazer",
       [this] { sessao_->Desfazer(); }},
      {&botaoRefazer, "botaoRefazer", "Refa&zer", "Refaz a alteração desfeita", "refazer",
       [this] { sessao_->Refazer(); }},
      {nullptr, nullptr, nullptr, nullptr, nullptr, {}},
      {&botaoEditar, "botaoEditar", "Editar texto &seleccionado", "Editar o texto seleccionado", "editar",
       [this] { sessao_->EditarTexto(); }},
      {&botaoEsquerda, "botaoEsquerda", "Alinhar &Esquerda", "Alinha o texto à esquerda", "esquerda",
       [this] { sessao_->Alinhar(TAlinhamento::Esquerda); }},
      {&botaoCentrar, "botaoCentrar", "Cen&trar", "Centra o texto", "centrar", [this] { sessao_->Alinhar(TAlinhamento::Centro); }},
      {&botaoDireita, "botaoDireita", "Alinhar &Direita", "Alinha o texto à direita", "direita",
       [this] { sessao_->Alinhar(TAlinhamento::Direita); }},
      {&botao90GEsquerda, "botao90GEsquerda", "Rodar 90º &Esquerda", "Roda o texto 90º para a esquerda",
       "rodar-esquerda", [this] { sessao_->Rodar(true); }},
      {&botao90GDireita, "botao90GDireita", "Rodar 90º &Direita", "Roda o texto 90º para a direita",
       "rodar-direita", [this] { sessao_->Rodar(false); }},
      {nullptr, nullptr, nullptr, nullptr, nullptr, {}},
      {&botaoSair, "botaoSair", "&Sair", "Está farto de fazer lurns e quer dar de \"frosques\"?", "sair",
       [this] { close(); }},
  };
  int x = 0;
  for (const Botao& b : botoes) {
    if (!b.slot) {
      x += 8;  // separator
      continue;
    }
    auto* btn = new QToolButton(ToolBar1);
    btn->setObjectName(QString::fromLatin1(b.nome));
    // The buttons show only their pictures.  Their captions are kept (and
    // follow the language) but give no access key: a button's "&Abrir"
    // would take Alt+A from the "&Ajuda" menu, and Alt+G would save and
    // Alt+S quit.  Only the menus carry access keys.
    QPointer<QToolButton> p(btn);
    desenho->Set(b.caption, [p](const QString& t) {
      if (!p) return;
      p->setText(t);
      p->setShortcut(QKeySequence());
    });
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
    painel->OnClick = [this](QObject*) { sessao_->Seleccionar(0); };
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
    img->OnClick = [this](QObject*) { sessao_->Seleccionar(0); };
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
    // The fold lines show from the start, whatever happens to the back's
    // picture afterwards.
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
  centroCD->OnClick = [this](QObject*) { sessao_->Seleccionar(0); };
  guiaCD = new TGuiaCD(painelCD, 443);
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
    std::function<void()> handler;
  };
  const Opcao opcoes[] = {
      {&opcaoEditarAlterarimagem, "opcaoEditarAlterarimagem", "Editar/Alterar imagem",
       [this] { sessao_->EditarObjecto(); }},
      {&opcaoAlterarfonte, "opcaoAlterarfonte", "Alterar fonte", [this] { sessao_->AlterarFonte(); }},
      {&opcaoCortar, "opcaoCortar", "Cortar", [this] { sessao_->Cortar(); }},
      {&opcaoApagar, "opcaoApagar", "Apagar", [this] { sessao_->Apagar(); }},
      {&opcaoCopiar, "opcaoCopiar", "Copiar", [this] { sessao_->Copiar(); }},
      {&opcaoColar, "opcaoColar", "Colar", [this] { sessao_->Colar(); }},
      {&opcaoRodar45esquerda, "opcaoRodar45esquerda", "Rodar 90º esquerda",
       [this] { sessao_->Rodar(true); }},
      {&opcaoRodar45direita, "opcaoRodar45direita", "Rodar 90º direita", [this] { sessao_->Rodar(false); }},
      {&opcaoAlinharAgrelha, "opcaoAlinharAgrelha", "Alinhar à grelha", [this] { opcaoAlinharAgrelhaClick(); }},
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
