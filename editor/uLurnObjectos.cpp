// The object and background commands of the main window: inserting,
// editing, restyling, aligning, turning and deleting objects, background
// pictures and colours, the back spine switch and grid snapping.  Each
// changes the document; the controls follow it.
#include "components/BarPopupMenu.h"
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "editor/uLurn.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QCheckBox>

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

void TfrmLurn::menuObjectosInserirtextoClick() { CriarTexto(FolhaActual()); }

void TfrmLurn::menuObjectosInseririmagemClick() {
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
  // A text without a visible character would be an invisible object a few
  // pixels wide, found again only by luck: such a caption is refused and
  // asked for again.  Cancel (the box gives back the caption it was given)
  // leaves the caption as it was.
  for (;;) {
    const QString novo =
        Dialogs().InputBox(QStringLiteral("Introdução"), QStringLiteral("Introduza o texto"), texto);
    if (novo == texto) break;
    if (novo.trimmed().isEmpty()) {
      Dialogs().Warning(QStringLiteral("O texto não pode ficar vazio."));
      continue;
    }
    documento_.DefinirTexto(id, novo);
    break;
  }
  // Attached again, the handle fits the new size.
  StretchHandle1->Attach(Controlo(id));
}

void TfrmLurn::menuObjectosEditartextoseleccionadoClick() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  if (o->EhTexto()) EditarTexto(o->Id);
}

void TfrmLurn::opcaoEditarAlterarimagemClick() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
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
    if (const auto ficheiro = Dialogs().OpenPicture(TituloImagem())) {
      TImagemDoc imagem{*ficheiro, TPicture()};
      if (LerImagem(*ficheiro, imagem.Imagem)) documento_.DefinirImagem(id, imagem);
    }
  }
  StretchHandle1->Attach(sel);
}

namespace {
// "Centrar": the object's left edge for its middle on the sheet's middle;
// on the CD sheet, on the disc's centre (its 443-pixel circle starts at
// the sheet's corner, which is 446 pixels wide).
int EsquerdaCentrada(int folha, int largura) {
  const int W = folha == folhaCD ? 443 : LarguraReferencia(folha);
  return (W - largura) / 2;  // C++ division truncates toward zero
}
}  // namespace

void TfrmLurn::Alinhar(int modo) {
  QWidget* sel = Seleccionado();
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  const int W = LarguraReferencia(documento_.FolhaDe(o->Id));
  int left = 1;
  if (modo == 1) left = EsquerdaCentrada(documento_.FolhaDe(o->Id), o->Width);
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
  StretchHandle1->Detach();
  documento_.Rodar90(o->Id, esquerda);
  StretchHandle1->Attach(sel);
}

void TfrmLurn::menuObjectosRodar90EsquerdaClick() { Rodar(true); }
void TfrmLurn::menuObjectosRodar90DireitaClick() { Rodar(false); }

void TfrmLurn::menuEditarApagarClick() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  const std::uint64_t id = o->Id;
  StretchHandle1->Detach();
  documento_.Apagar(id);
}

void TfrmLurn::menuObjectosImagemdefundoClick() {
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
  if (const auto cor = Dialogs().ChooseColor(dlgAlterarCorColor)) {
    dlgAlterarCorColor = *cor;
    documento_.DefinirCor(FolhaActual(), *cor);
  }
  FundosParaTras();
}

void TfrmLurn::manuObjectosLimparImagemFundoClick() {
  documento_.LimparFundo(FolhaActual());
}

void TfrmLurn::checkLombadaClick() {
  // Which of the two back pictures shows is the window's choice, not part
  // of the cover (no file keeps it): the document is not changed by it.
  MostrarFundoTras();
}

void TfrmLurn::opcaoAlinharAgrelhaClick() {
  const bool v = !opcaoAlinharAgrelha->isChecked();
  StretchHandle1->SetSnapToGrid(v);
  opcaoAlinharAgrelha->setChecked(v);
}
