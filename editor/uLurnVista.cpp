// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a view of its editing session: the background
// controls and one control per object follow the document whenever it
// changes, the stretch handle follows the selection, and the commands'
// enabled state and captions, the lamps, the file name and the recent
// files follow the session's state.  The mouse and the arrow keys on the
// objects are handed to the session.
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "editor/GuiaCD.h"
#include "editor/ReInit.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"

#include <QAction>
#include <QCheckBox>
#include <QHash>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>
#include <QUndoStack>

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
  const TPanel* p = Painel(sessao_->Documento().FolhaDe(id));
  if (!p) return nullptr;
  for (int i = 0; i < p->Owned.ComponentCount(); ++i) {
    auto* w = qobject_cast<QWidget*>(p->Owned.Components(i));
    if (w && IdObjecto(w) == id) return w;
  }
  return nullptr;
}

QString TfrmLurn::NomePasso(const QString& nome) const { return nomesPassos_.value(nome, nome); }

void TfrmLurn::ActualizarComandos() {
  const TSessao& s = *sessao_;
  lampadaVerde->setVisible(s.Gravado());
  lampadaVermelha->setVisible(!s.Gravado());
  if (painelFicheiro->text() != s.NomeFicheiro()) painelFicheiro->setText(s.NomeFicheiro());

  const TObjecto* o = s.ObjectoSeleccionado();
  const bool algum = o != nullptr;
  const bool texto = o && o->EhTexto();
  for (QAction* a : {menuEditarCortar, menuEditarApagar, menuEditarCopiar, menuEditarAlinharEsquerda,
                     menuEditarAlinharDireita, menuEditarCentrar})
    a->setEnabled(algum);
  for (QAction* a : {menuObjectosRodar90Esquerda, menuObjectosRodar90Direita, menuObjectosEditartextoseleccionado,
                     menuObjectosAlterarfonteecor})
    a->setEnabled(texto);
  menuObjectosAlterarimagem->setEnabled(algum && !texto);
  for (QToolButton* b : {botaoApagar, botaoCopiar, botaoEsquerda, botaoCentrar, botaoDireita}) b->setEnabled(algum);
  for (QToolButton* b : {botaoEditar, botao90GEsquerda, botao90GDireita}) b->setEnabled(texto);
  botaoColar->setEnabled(s.PodeColar());
  menuEditarColar->setEnabled(s.PodeColar());

  // "Desfazer Mover", "Refazer Apagar": the entries name the step they
  // take back or make again.
  const QUndoStack& h = s.Historia();
  const QString desfazer = h.canUndo() ? textoDesfazer_ + QLatin1Char(' ') + NomePasso(h.undoText()) : textoDesfazer_;
  const QString refazer = h.canRedo() ? textoRefazer_ + QLatin1Char(' ') + NomePasso(h.redoText()) : textoRefazer_;
  menuEditarDesfazer->setText(desfazer);
  menuEditarDesfazer->setEnabled(h.canUndo());
  menuEditarRefazer->setText(refazer);
  menuEditarRefazer->setEnabled(h.canRedo());
  botaoDesfazer->setToolTip(QString(desfazer).remove(QLatin1Char('&')));
  botaoDesfazer->setEnabled(h.canUndo());
  botaoRefazer->setToolTip(QString(refazer).remove(QLatin1Char('&')));
  botaoRefazer->setEnabled(h.canRedo());
}

void TfrmLurn::MostrarRecentes() {
  QAction* const entradas[] = {menuFicheirosFicheiro1, menuFicheirosFicheiro2, menuFicheirosFicheiro3,
                               menuFicheirosFicheiro4, menuFicheirosFicheiro5};
  for (QAction* a : entradas) a->setVisible(false);
  separadorFicheiros->setVisible(false);
  const QStringList recentes = sessao_->Recentes();
  for (int i = 0; i < recentes.size() && i < 5; ++i) {
    const QString& nome = recentes[i];
    // A menu takes "&" for the mark of an access key: doubled, it shows
    // as itself.  The entry keeps the name itself apart from its caption.
    entradas[i]->setText(QString(nome).replace(QLatin1Char('&'), QLatin1String("&&")));
    entradas[i]->setData(nome);
    entradas[i]->setVisible(true);
    separadorFicheiros->setVisible(true);
  }
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

void TfrmLurn::SeguirSeleccao() {
  QWidget* c = Controlo(sessao_->Seleccionado());
  if (!c) {
    if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
    return;
  }
  if (Seleccionado() != c) {
    if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
    StretchHandle1->Attach(c);
  } else {
    // The frame shows the object's real box after any change.
    StretchHandle1->Fit();
  }
}

// ---------------------------------------------------------------------------
// Following the document

void TfrmLurn::ActualizarVista() {
  ActualizarFundos();
  for (int folha = folhaFrente; folha <= folhaCD; ++folha) ActualizarObjectos(folha);
}

void TfrmLurn::ActualizarFundos() {
  const TDocumento& d = sessao_->Documento();
  const TColor cores[] = {d.Cor(folhaFrente), d.Cor(folhaInterior), d.Cor(folhaTras)};
  TShape* const formas[] = {corFrente, corInterior, corTras};
  for (int i = 0; i < 3; ++i)
    if (formas[i]->BrushColor() != cores[i]) formas[i]->SetBrushColor(cores[i]);

  const std::pair<TProImage*, TFundo> imagens[] = {
      {imgFrente, fundoFrente}, {imgInterior, fundoInterior}, {imgTras, fundoTras}, {imgTrasLombada, fundoTrasLombada}};
  for (const auto& [img, fundo] : imagens) {
    const TImagemDoc& f = d.Fundo(fundo);
    if (!(img->Picture() == f.Imagem)) img->SetPicture(f.Imagem);
    if (img->Hint() != f.Ficheiro) img->SetHint(f.Ficheiro);
    // A picture not found shows as a frame with its file name.
    img->SetPlaceholder(f.Imagem.Empty() ? f.Ficheiro : QString());
  }

  const TImagemDoc& disco = d.Fundo(fundoCD);
  if (!(centroCD->Image() == disco.Imagem)) centroCD->SetImage(disco.Imagem.Empty() ? nullptr : &disco.Imagem);
  centroCD->SetHint(disco.Ficheiro);
  centroCD->SetPlaceholder(disco.Imagem.Empty() ? disco.Ficheiro : QString());
  centroCD->SetFillStyle(d.PreenchimentoDisco());
  centroCD->SetFillColor(d.Cor(folhaCD));
  // The background controls stay behind the objects; of the back's two
  // pictures, the one "Trás com lombada" chooses shows.
  FundosParaTras();
  MostrarFundoTras();
}

void TfrmLurn::ActualizarObjectos(int folha) {
  TPanel* p = Painel(folha);
  const std::vector<TObjecto>& objectos = sessao_->Documento().Objectos(folha);

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
    // A caption is shown as it is written and printed: "&" is a character,
    // never the mark of an access key.
    t->SetShowAccelChar(false);
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
  // Later objects are drawn above earlier ones; the disc's guide above
  // them all.
  w->raise();
  guiaCD->raise();
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
  i->SetPlaceholder(o.Imagem.Imagem.Empty() ? o.Imagem.Ficheiro : QString());
  if (i->geometry() != o.Limites()) i->setGeometry(o.Limites());
}

void TfrmLurn::EscreverLimites(QWidget* controlo) {
  const std::uint64_t id = IdObjecto(controlo);
  if (!id) return;
  sessao_->MoverPara(id, controlo->geometry());
  // What the document did not take (the size of a text that sizes itself)
  // is undone on the control too, and the frame shows the object's real box.
  if (const TObjecto* o = sessao_->Documento().Objecto(id); o && o->Limites() != controlo->geometry())
    controlo->setGeometry(o->Limites());
  if (Seleccionado() == controlo) StretchHandle1->Fit();
}

void TfrmLurn::Nudge(int key) {
  if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down) return;
  // The handle moved the control; the session moves the object by as much.
  QWidget* controlo = Seleccionado();
  const TObjecto* o = sessao_->Documento().Objecto(IdObjecto(controlo));
  if (!o) return;
  sessao_->Seleccionar(o->Id);
  sessao_->Deslocar(controlo->x() - o->Left, controlo->y() - o->Top);
  if (const TObjecto* depois = sessao_->Documento().Objecto(IdObjecto(controlo));
      depois && depois->Limites() != controlo->geometry())
    controlo->setGeometry(depois->Limites());
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
  // Selecting is no change of the document; a move that follows is, when
  // it is handed to the session.  The handle takes the control again, and
  // with it the mouse for the drag.
  auto* w = qobject_cast<QWidget*>(Sender);
  StretchHandle1->Detach();
  origemX = X;
  origemY = Y;
  sessao_->Seleccionar(IdObjecto(w));
  if (Seleccionado() != w) StretchHandle1->Attach(w);
}

void TfrmLurn::textoMouseMove(QObject* Sender, TShiftState Shift, int X, int Y) {
  // Only a real move changes the document: passing the mouse over a text
  // object must not make the program ask to save.
  auto* w = qobject_cast<QWidget*>(Sender);
  if (!w || Shift != ssLeft) return;
  const int dx = X - origemX, dy = Y - origemY;
  if (dx == 0 && dy == 0) return;
  w->move(w->x() + dx, w->y() + dy);
}

void TfrmLurn::textoMouseUp(QObject* Sender, TMouseButton, TShiftState, int, int) {
  // The end of a drag of the text itself.
  EscreverLimites(qobject_cast<QWidget*>(Sender));
}

void TfrmLurn::imagemMouseDown(QObject* Sender, TMouseButton, TShiftState, int, int) {
  auto* w = qobject_cast<QWidget*>(Sender);
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
  sessao_->Seleccionar(IdObjecto(w));
  if (Seleccionado() != w) StretchHandle1->Attach(w);
}
