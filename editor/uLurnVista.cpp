// The main window as a view of its document: the background controls and
// one control per object follow the document whenever it changes; the
// selection, the lamps and the objects' mouse handlers.
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "document/FicheiroCapa.h"
#include "editor/GuiaCD.h"
#include "editor/uLurn.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QHash>
#include <QTabWidget>

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
  // Whether the document then counts as saved is for the callers to say.
  SemMarcar([this] { documento_.LimparDocumento(); });
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
    // A picture not found shows as a frame with its file name.
    img->SetPlaceholder(f.Imagem.Empty() ? f.Ficheiro : QString());
  }

  const TImagemDoc& disco = documento_.Fundo(fundoCD);
  if (!(centroCD->Image() == disco.Imagem)) centroCD->SetImage(disco.Imagem.Empty() ? nullptr : &disco.Imagem);
  centroCD->SetHint(disco.Ficheiro);
  centroCD->SetPlaceholder(disco.Imagem.Empty() ? disco.Ficheiro : QString());
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
  const TObjecto* o = documento_.Objecto(id);
  if (o && o->Limites() != controlo->geometry()) documento_.DefinirLimites(id, controlo->geometry());
  // What the document did not take (the size of a text that sizes itself)
  // is undone on the control too.
  o = documento_.Objecto(id);
  if (o && o->Limites() != controlo->geometry()) controlo->setGeometry(o->Limites());
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
  // it is written back.
  StretchHandle1->Detach();
  origemX = X;
  origemY = Y;
  StretchHandle1->Attach(qobject_cast<QWidget*>(Sender));
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
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
  StretchHandle1->Attach(qobject_cast<QWidget*>(Sender));
}
