// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ImpressaoCapa.h"

#include "platform/ScopedFlag.h"

#include "document/Registo.h"
#include "printing/BuilderControls.h"
#include "printing/uCentroCD.h"
#include "printing/uFrenteCD.h"
#include "printing/uTrasCD.h"
#include "report/ppBands.h"
#include "report/ppCtrls.h"
#include "report/ppFormIntf.h"
#include "report/ppPrnDev.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

static_assert(PixelsPorPolegada == DesignPixelsPerInch,
              "cover pixels and report design pixels must be the same unit");

// ---------------------------------------------------------------------------
// Pages

int PaginaDaFolha(int folha) {
  switch (folha) {
    case folhaFrente:
    case folhaInterior: return paginaFrente;
    case folhaTras: return paginaTras;
    case folhaCD: return paginaCD;
    default: return 0;
  }
}

QString NomePagina(int pagina) {
  switch (pagina) {
    case paginaFrente: return QStringLiteral("Interior e Frente");
    case paginaTras: return QStringLiteral("Trás");
    case paginaCD: return QStringLiteral("CD");
    default: return QString();
  }
}

std::vector<int> PaginasEscolhidas(const TEscolhaPaginas& e) {
  switch (e.Tipo) {
    case TEscolhaPaginas::Todas: return {paginaFrente, paginaTras, paginaCD};
    case TEscolhaPaginas::Seleccao: {
      const int p = PaginaDaFolha(e.Folha);
      return p ? std::vector<int>{p} : std::vector<int>{};
    }
    case TEscolhaPaginas::Intervalo: break;
  }
  // The ranges the print dialog can give within 1-3; any other pair
  // prints nothing.
  if (e.De < 1 || e.De > e.Ate || e.Ate > NumeroPaginas) return {};
  std::vector<int> pages;
  for (int p = e.De; p <= e.Ate; ++p) pages.push_back(p);
  return pages;
}

// ---------------------------------------------------------------------------
// Geometry

int MargemEmPixels(int milimetros) {
  // mm x 3.77 exactly, in hundredths, rounded half to even: 50 mm is
  // 188.5 and gives 188.
  const long long hundredths = (long long)milimetros * 377;
  long long q = hundredths / 100, r = hundredths % 100;
  if (r < 0) {
    r += 100;
    --q;
  }
  if (r > 50 || (r == 50 && (q % 2 != 0))) ++q;
  return int(q);
}

QPoint OrigemFolha(int folha, int margemSuperiorPx, int margemEsquerdaPx) {
  switch (folha) {
    case folhaFrente: return {529, 72};
    case folhaInterior: return {72, 72};
    case folhaTras: return {72, 72};
    case folhaCD: return {48 + margemEsquerdaPx, 104 + margemSuperiorPx};
    default: return {};
  }
}

namespace {

// A rectangle of cover pixels on a band, in thousandths: each edge
// converted on its own, so that neighbours share their edges.
TppRect EmMilesimos(int left, int top, int right, int bottom) {
  return {DesignPixelsToMMThousandths(left), DesignPixelsToMMThousandths(top),
          DesignPixelsToMMThousandths(right), DesignPixelsToMMThousandths(bottom)};
}

void Pintar(TppShape* shape, TColor color) {
  TBrush b = shape->Brush();
  b.Style = bsSolid;
  b.Color = color;
  shape->SetBrush(b);
}

// A sheet as the user knows it.
QString NomeFolha(int folha) {
  switch (folha) {
    case folhaFrente: return QStringLiteral("Frente");
    case folhaInterior: return QStringLiteral("Interior");
    case folhaTras: return QStringLiteral("Trás");
    case folhaCD: return QStringLiteral("CD");
    default: return QString();
  }
}

TppRect EmMilesimos(const QRect& r) {
  return EmMilesimos(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

// A rectangle of a report's band on its paper.
TppRect NoPapel(TppReport* report, const TppRect& r) {
  const TppPageDef& page = report->PrinterSetup()->PageDef();
  return {r.Left + page.mmMarginLeft, r.Top + page.mmMarginTop, r.Right + page.mmMarginLeft,
          r.Bottom + page.mmMarginTop};
}

QString Fundo(int folha) { return QStringLiteral("Fundo (%1)").arg(NomeFolha(folha)); }

TppRect Interseccao(const TppRect& a, const TppRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

}  // namespace

// ---------------------------------------------------------------------------
// Printers

TImpressora& ImpressoraActual() {
  static TImpressora impressora;
  return impressora;
}

QString ResolverImpressora(const QString& nome) {
  ResetPrinterList();
  TppPrinterList* list = PrinterList();
  if (nome.isEmpty() || nome == QLatin1String("Default") || nome == QLatin1String("Current"))
    return list->DefaultPrinterName().isEmpty() ? QString() : QStringLiteral("Default");
  auto find = [list](const QString& n) {
    for (int i = 0; i < list->Count(); ++i)
      if (list->Names(i).compare(n, Qt::CaseInsensitive) == 0) return list->Names(i);
    return QString();
  };
  QString found = find(nome);
  // An instance is a set of options of its queue: it prints on the queue.
  if (found.isEmpty() && nome.contains(QLatin1Char('/'))) found = find(nome.section(QLatin1Char('/'), 0, 0));
  return found;
}

// ---------------------------------------------------------------------------
// The reports

TImpressaoCapa::TImpressaoCapa() {
  if (!DeviceClassForName(TppPrinterDevice::DeviceName())) RegisterDeviceClass<TppPrinterDevice>();
  if (!IsClassRegistered(TDrawRotatedText::StaticClassName())) RegisterBuilderControls();
  // Every job on a queue is printed with the calibration the user made
  // for it, kept in the settings store.
  if (!HasPrinterCalibrationSource())
    SetPrinterCalibrationSource([](const QString& fila) {
      auto registo = AbrirRegisto();
      return LerCalibracao(*registo, fila);
    });
  frente_ = std::make_unique<TfrmReportFrenteCD>();
  tras_ = std::make_unique<TfrmReportTrasCD>();
  centro_ = std::make_unique<TfrmReportCentroCD>();
  // The designs' own components, named as the user knows them.
  frente_->rptImagemInterior->SetDescription(Fundo(folhaInterior));
  frente_->rptQuadradoInterior->SetDescription(Fundo(folhaInterior));
  frente_->rptImagemLurn->SetDescription(Fundo(folhaFrente));
  frente_->rptQuadradoLurn->SetDescription(Fundo(folhaFrente));
  for (TppPrintable* c : std::initializer_list<TppPrintable*>{
           tras_->rptImagemTras, tras_->rptImagemTrasLombada, tras_->rptQuadradoTras1,
           tras_->rptQuadradoTras2, tras_->rptQuadradoTras3})
    c->SetDescription(Fundo(folhaTras));
  centro_->centroCDShape->SetDescription(QStringLiteral("Disco (CD)"));
  centro_->centroCDImage->SetDescription(QStringLiteral("Disco (CD)"));
}

TImpressaoCapa::~TImpressaoCapa() { LimparRelatorios(); }

TppReport* TImpressaoCapa::Relatorio(int pagina) const {
  switch (pagina) {
    case paginaFrente: return frente_->reportFrenteCD;
    case paginaTras: return tras_->reportTrasCD;
    case paginaCD: return centro_->reportCentroCD;
    default: return nullptr;
  }
}

std::vector<TppPrintable*> TImpressaoCapa::Transitorios(int pagina) const {
  std::vector<TppPrintable*> out;
  if (pagina < 1 || pagina > NumeroPaginas) return out;
  for (const auto& ref : transitorios_[pagina - 1])
    if (TppPrintable* c = ref.Get()) out.push_back(c);
  return out;
}

void TImpressaoCapa::LimparRelatorios() {
  for (auto& list : transitorios_) {
    // Destroying a component takes it out of its band and its container.
    for (auto it = list.rbegin(); it != list.rend(); ++it) delete it->Get();
    list.clear();
  }
  imagens_.clear();
}

TPicture TImpressaoCapa::Unica(const TPicture& imagem) {
  if (imagem.Empty()) return imagem;
  const QByteArray bytes = imagem.Data();
  if (bytes.isEmpty()) return imagem;
  const auto it = imagens_.constFind(bytes);
  if (it != imagens_.constEnd() && it->Format() == imagem.Format()) return *it;
  imagens_.insert(bytes, imagem);
  return imagem;
}

void TImpressaoCapa::Objectos(const TDocumento& d, int folha, int pagina, QPoint origem,
                              const TRecorte* recorte, QPoint deslocamento) {
  TppReport* report = Relatorio(pagina);
  TppBand* band = report->DetailBand();
  TComponent* container = report->Owner();
  const QSize size = TamanhoFolha(folha);
  // Every object stays inside its sheet, as the editor shows it.
  TRecorte folhaInteira;
  folhaInteira.Rect =
      EmMilesimos(origem.x(), origem.y(), origem.x() + size.width(), origem.y() + size.height());
  if (!recorte) recorte = &folhaInteira;
  // Made the way a design is read: positions are kept as they are, left
  // or above the band too (an object partly off its sheet stays where it
  // is, clipped).
  TComponentReader reader(container);
  for (const TObjecto& o : d.Objectos(folha)) {
    TppPrintable* c = nullptr;
    if (o.EhTexto()) {
      auto* t = reader.Add<TRotatedLabel>(QString(), band);
      t->SetCaption(o.Texto);
      t->SetAngle(unsigned(std::max(0, o.Angulo)));
      t->SetFont(o.Fonte.ParaTFont());
      t->SetAutoSize(false);
      t->SetTransparent(true);
      c = t;
    } else {
      // The picture the document holds (what the editor shows), not the
      // file read again; an object without one prints nothing.
      auto* i = reader.Add<TppImage>(QString(), band);
      const TPicture picture = Unica(o.Imagem.Imagem);
      i->SetAutoSize(false);
      i->SetStretch(true);
      i->SetPicture(picture);
      i->SetVisible(!picture.Empty());
      c = i;
    }
    // Named as the user knows the object, should it not print.
    const QString nome = !o.Nome.isEmpty() ? o.Nome : o.EhTexto() ? QStringLiteral("Texto") : QStringLiteral("Imagem");
    c->SetDescription(QStringLiteral("%1 (%2)").arg(nome, NomeFolha(folha)));
    TppRect r = EmMilesimos(origem.x() + o.Left, origem.y() + o.Top,
                            origem.x() + o.Left + o.Width, origem.y() + o.Top + o.Height);
    r = {r.Left + deslocamento.x(), r.Top + deslocamento.y(), r.Right + deslocamento.x(),
         r.Bottom + deslocamento.y()};
    c->SetMMBounds(r.Left, r.Top, r.Bottom - r.Top, r.Right - r.Left);
    c->SetClip(recorte->Rect, recorte->Elipse);
    c->SetClipHole(recorte->Furo);
    transitorios_[pagina - 1].emplace_back(c);
  }
  reader.Finish();
}

void TImpressaoCapa::PrepararFrente(const TDocumento& d) {
  TfrmReportFrenteCD& f = *frente_;
  f.rptImagemInterior->SetStretch(true);
  f.rptImagemInterior->SetPicture(Unica(d.Fundo(fundoInterior).Imagem));
  Pintar(f.rptQuadradoInterior, d.Cor(folhaInterior));
  f.rptImagemLurn->SetStretch(true);
  f.rptImagemLurn->SetPicture(Unica(d.Fundo(fundoFrente).Imagem));
  Pintar(f.rptQuadradoLurn, d.Cor(folhaFrente));
  Objectos(d, folhaFrente, paginaFrente, OrigemFolha(folhaFrente));
  Objectos(d, folhaInterior, paginaFrente, OrigemFolha(folhaInterior));
  // Interior and Frente side by side are one piece of paper, cut round
  // both and folded between them.
  const QRect interior(OrigemFolha(folhaInterior), TamanhoFolha(folhaInterior));
  const QRect frente(OrigemFolha(folhaFrente), TamanhoFolha(folhaFrente));
  f.reportFrenteCD->TrimBox = NoPapel(f.reportFrenteCD, EmMilesimos(interior.united(frente)));
}

void TImpressaoCapa::PrepararTras(const TDocumento& d, bool comLombada) {
  TfrmReportTrasCD& f = *tras_;
  // Both of the editor's back pictures hold the same picture; which of
  // them shows decides where it prints.
  const TPicture picture = Unica(d.Fundo(fundoTras).Imagem);
  TppImage* shown = comLombada ? f.rptImagemTras : f.rptImagemTrasLombada;
  TppImage* hidden = comLombada ? f.rptImagemTrasLombada : f.rptImagemTras;
  shown->SetStretch(true);
  shown->SetPicture(picture);
  hidden->SetPicture(TPicture());
  for (TppShape* s : {f.rptQuadradoTras1, f.rptQuadradoTras2, f.rptQuadradoTras3}) Pintar(s, d.Cor(folhaTras));
  Objectos(d, folhaTras, paginaTras, OrigemFolha(folhaTras));
  f.reportTrasCD->TrimBox =
      NoPapel(f.reportTrasCD, EmMilesimos(QRect(OrigemFolha(folhaTras), TamanhoFolha(folhaTras))));
}

void TImpressaoCapa::PrepararCD(const TDocumento& d, int superior, int esquerda) {
  TfrmReportCentroCD& f = *centro_;
  // Whole millimetres from 0 to 100, as the settings hold them.
  const int mx = MargemEmPixels(std::clamp(esquerda, 0, 100));
  const int my = MargemEmPixels(std::clamp(superior, 0, 100));
  // From the layout's place on every command, so that repeated commands
  // put the disc in the same place.
  const QPoint origem = OrigemFolha(folhaCD, my, mx);
  const int left = DesignPixelsToMMThousandths(origem.x());
  const int top = DesignPixelsToMMThousandths(origem.y());
  for (TppPrintable* disc : {static_cast<TppPrintable*>(f.centroCDShape), static_cast<TppPrintable*>(f.centroCDImage)})
    disc->SetMMBounds(left, top, disc->mmHeight(), disc->mmWidth());

  const TPicture picture = Unica(d.Fundo(fundoCD).Imagem);
  if (d.PreenchimentoDisco() == tfsImageStretch && !picture.Empty()) {
    // The picture inside the circle only, and the circle's outline (the
    // cutting line) over it.
    f.centroCDImage->SetPicture(picture);
    f.centroCDImage->SetStretch(true);
    f.centroCDImage->SetVisible(true);
    f.centroCDImage->SetClip({left, top, left + f.centroCDImage->mmWidth(), top + f.centroCDImage->mmHeight()},
                             true);
    TBrush clear = f.centroCDShape->Brush();
    clear.Style = bsClear;
    f.centroCDShape->SetBrush(clear);
    f.centroCDShape->SetVisible(true);
    f.centroCDImage->BringToFront();
    f.centroCDShape->BringToFront();
  } else {
    // Every other fill prints as the solid circle in the disc's colour.
    f.centroCDImage->SetVisible(false);
    f.centroCDImage->SetPicture(TPicture());
    Pintar(f.centroCDShape, d.Cor(folhaCD));
    f.centroCDShape->SetVisible(true);
    f.centroCDShape->BringToFront();
  }
  Objectos(d, folhaCD, paginaCD, origem);
  // The disc is cut round its circle: the page is cut at the circle's box.
  f.reportCentroCD->TrimBox = NoPapel(
      f.reportCentroCD, {left, top, left + f.centroCDShape->mmWidth(), top + f.centroCDShape->mmHeight()});
}

void TImpressaoCapa::PrepararEtiqueta(const TDocumento& d, const TEtiquetaDisco& e, TPosicaoDisco posicao) {
  TfrmReportCentroCD& f = *centro_;
  TppReport* report = f.reportCentroCD;
  // The design's disc stays out of it: each disc of the sheet is made
  // here, where the stock has it.
  f.centroCDImage->SetVisible(false);
  f.centroCDImage->SetPicture(TPicture());
  f.centroCDShape->SetVisible(false);
  const TppPageDef& page = report->PrinterSetup()->PageDef();
  TppBand* band = report->DetailBand();
  const TPicture picture = Unica(d.Fundo(fundoCD).Imagem);
  const bool comImagem = d.PreenchimentoDisco() == tfsImageStretch && !picture.Empty();
  // The editor's disc is 443 pixels across from the sheet's corner: its
  // centre lands on the stock's centre.
  const int meio = DesignPixelsToMMThousandths(443) / 2;
  const int raio = int(std::lround(e.Exterior * 500)), raioFuro = int(std::lround(e.Furo * 500));
  report->TrimBox = {};
  for (int i = 0; i < 2; ++i) {
    if (posicao != TPosicaoDisco::Ambas && int(posicao) != i + 1) continue;
    // Band thousandths: the paper's less the page's margins.
    const int cx = int(std::lround(e.Centros[i].x() * 1000)) - page.mmMarginLeft;
    const int cy = int(std::lround(e.Centros[i].y() * 1000)) - page.mmMarginTop;
    TRecorte recorte;
    recorte.Rect = {cx - raio, cy - raio, cx + raio, cy + raio};
    recorte.Elipse = true;
    if (raioFuro > 0) recorte.Furo = {cx - raioFuro, cy - raioFuro, cx + raioFuro, cy + raioFuro};
    const TppRect& r = recorte.Rect;
    TComponentReader reader(report->Owner());
    const QString nome = QStringLiteral("Disco (CD, posição %1)").arg(i + 1);
    if (comImagem) {
      auto* imagem = reader.Add<TppImage>(QString(), band);
      imagem->SetDescription(nome);
      imagem->SetAutoSize(false);
      imagem->SetStretch(true);
      imagem->SetMaintainAspectRatio(false);
      imagem->SetPicture(picture);
      imagem->SetMMBounds(r.Left, r.Top, r.Bottom - r.Top, r.Right - r.Left);
      imagem->SetClip(r, true);
      imagem->SetClipHole(recorte.Furo);
      transitorios_[paginaCD - 1].emplace_back(imagem);
    }
    // The disc's colour, or over the picture its outline only.
    auto* disco = reader.Add<TppShape>(QString(), band);
    disco->SetDescription(nome);
    disco->SetShape(stCircle);
    if (comImagem) {
      TBrush clear = disco->Brush();
      clear.Style = bsClear;
      disco->SetBrush(clear);
    } else {
      Pintar(disco, d.Cor(folhaCD));
    }
    disco->SetMMBounds(r.Left, r.Top, r.Bottom - r.Top, r.Right - r.Left);
    disco->SetClip(r, true);
    disco->SetClipHole(recorte.Furo);
    transitorios_[paginaCD - 1].emplace_back(disco);
    reader.Finish();
    Objectos(d, folhaCD, paginaCD, QPoint(), &recorte, QPoint(cx - meio, cy - meio));
    // One disc: the page is cut round it.  Two: no one box says where.
    report->TrimBox = posicao == TPosicaoDisco::Ambas ? TppRect() : NoPapel(report, r);
  }
}

void TImpressaoCapa::Preparar(const TDocumento& d, const TOpcoesCapa& opcoes) {
  LimparRelatorios();
  PrepararFrente(d);
  PrepararTras(d, opcoes.ComLombada);
  if (opcoes.Etiqueta)
    PrepararEtiqueta(d, *opcoes.Etiqueta, opcoes.Posicao);
  else
    PrepararCD(d, opcoes.Superior, opcoes.Esquerda);
  for (int p = 1; p <= NumeroPaginas; ++p) Relatorio(p)->BleedBox = {};
  if (opcoes.Marcas) PrepararAcabamento(d, opcoes);
}

namespace {
constexpr int kSangria = 3000;     // the bleed, thousandths
constexpr int kMarca = 5000;       // a mark's length
constexpr int kTracoMarca = 150;   // a mark's width
TppRect Alargado(const TppRect& r, int left, int top, int right, int bottom) {
  return {r.Left - left, r.Top - top, r.Right + right, r.Bottom + bottom};
}
}  // namespace

void TImpressaoCapa::Barra(int pagina, const TppRect& r, TColor cor, bool circulo) {
  TppReport* report = Relatorio(pagina);
  TComponentReader reader(report->Owner());
  auto* s = reader.Add<TppShape>(QString(), report->DetailBand());
  s->SetDescription(QStringLiteral("Marcas (%1)").arg(NomePagina(pagina)));
  if (circulo) s->SetShape(stCircle);
  Pintar(s, cor);
  TPen pen = s->Pen();
  pen.Style = psClear;
  s->SetPen(pen);
  s->SetMMBounds(r.Left, r.Top, r.Bottom - r.Top, r.Right - r.Left);
  reader.Finish();
  transitorios_[pagina - 1].emplace_back(s);
}

void TImpressaoCapa::Marcas(int pagina, const TppRect& f, const std::vector<int>& dobras, int a) {
  const int m = kMarca, t = kTracoMarca / 2;
  // Each corner: a mark along the top or bottom edge's line and one along
  // the side's, both beyond the frame.
  for (int x : {f.Left, f.Right})
    for (int y : {f.Top, f.Bottom}) {
      const int outX = x == f.Left ? -1 : 1, outY = y == f.Top ? -1 : 1;
      const int x0 = x + outX * a, x1 = x + outX * (a + m);
      const int y0 = y + outY * a, y1 = y + outY * (a + m);
      Barra(pagina, {std::min(x0, x1), y - t, std::max(x0, x1), y + t}, clBlack);
      Barra(pagina, {x - t, std::min(y0, y1), x + t, std::max(y0, y1)}, clBlack);
    }
  for (int x : dobras) {
    Barra(pagina, {x - t, f.Top - a - m, x + t, f.Top - a}, clBlack);
    Barra(pagina, {x - t, f.Bottom + a, x + t, f.Bottom + a + m}, clBlack);
  }
}

void TImpressaoCapa::Sangria(int pagina, const TppRect& area, TColor cor, const TPicture& imagem, bool circulo) {
  TppReport* report = Relatorio(pagina);
  TComponentReader reader(report->Owner());
  if (!imagem.Empty()) {
    auto* i = reader.Add<TppImage>(QString(), report->DetailBand());
    i->SetDescription(QStringLiteral("Sangria (%1)").arg(NomePagina(pagina)));
    i->SetAutoSize(false);
    i->SetStretch(true);
    i->SetMaintainAspectRatio(false);
    i->SetPicture(imagem);
    i->SetMMBounds(area.Left, area.Top, area.Bottom - area.Top, area.Right - area.Left);
    if (circulo) i->SetClip(area, true);
    i->SendToBack();
    transitorios_[pagina - 1].emplace_back(i);
  }
  reader.Finish();
  Barra(pagina, area, cor, circulo);
  static_cast<TppShape*>(transitorios_[pagina - 1].back().Get())->SendToBack();
}

void TImpressaoCapa::PrepararAcabamento(const TDocumento& d, const TOpcoesCapa& opcoes) {
  const bool sangria = opcoes.Sangria;
  // Beyond the bleed when there is one: never over what is printed.
  const int a = sangria ? kSangria + 1000 : 2000;
  // Page 1: Interior and Frente, one piece folded between them.
  const TppRect interior = EmMilesimos(QRect(OrigemFolha(folhaInterior), TamanhoFolha(folhaInterior)));
  const TppRect frente = EmMilesimos(QRect(OrigemFolha(folhaFrente), TamanhoFolha(folhaFrente)));
  const TppRect pagina1{interior.Left, interior.Top, frente.Right, std::max(interior.Bottom, frente.Bottom)};
  if (sangria) {
    Sangria(paginaFrente, Alargado(interior, kSangria, kSangria, 0, kSangria), d.Cor(folhaInterior),
            d.Fundo(fundoInterior).Imagem);
    Sangria(paginaFrente, Alargado(frente, 0, kSangria, kSangria, kSangria), d.Cor(folhaFrente),
            d.Fundo(fundoFrente).Imagem);
    frente_->reportFrenteCD->BleedBox = NoPapel(frente_->reportFrenteCD, Alargado(pagina1, kSangria, kSangria, kSangria, kSangria));
  }
  Marcas(paginaFrente, pagina1, {frente.Left}, a);
  // Page 2: the back inlay, folded at its spines.
  const TppRect tras = EmMilesimos(QRect(OrigemFolha(folhaTras), TamanhoFolha(folhaTras)));
  TfrmReportTrasCD& t = *tras_;
  const int dobra1 = t.rptQuadradoTras1->mmLeft() + t.rptQuadradoTras1->mmWidth();
  const int dobra2 = t.rptQuadradoTras3->mmLeft();
  if (sangria) {
    const TppRect area = Alargado(tras, kSangria, kSangria, kSangria, kSangria);
    const TPicture imagem = d.Fundo(fundoTras).Imagem;
    if (opcoes.ComLombada) {
      Sangria(paginaTras, area, d.Cor(folhaTras), imagem);
    } else {
      // The picture between the spines only, over the colour (each call
      // goes behind what the page has).
      Sangria(paginaTras, {dobra1, area.Top, dobra2, area.Bottom}, d.Cor(folhaTras), imagem);
      Sangria(paginaTras, area, d.Cor(folhaTras), TPicture());
    }
    t.reportTrasCD->BleedBox = NoPapel(t.reportTrasCD, area);
  }
  Marcas(paginaTras, tras, {dobra1, dobra2}, a);
  // Page 3 on plain paper: the disc's square; a label sheet is cut by its
  // maker.
  if (opcoes.Etiqueta) return;
  TfrmReportCentroCD& c = *centro_;
  const TppRect disco{c.centroCDShape->mmLeft(), c.centroCDShape->mmTop(),
                      c.centroCDShape->mmLeft() + c.centroCDShape->mmWidth(),
                      c.centroCDShape->mmTop() + c.centroCDShape->mmHeight()};
  if (sangria) {
    const TppRect area = Alargado(disco, kSangria, kSangria, kSangria, kSangria);
    const bool imagem = d.PreenchimentoDisco() == tfsImageStretch && !d.Fundo(fundoCD).Imagem.Empty();
    Sangria(paginaCD, area, d.Cor(folhaCD), imagem ? d.Fundo(fundoCD).Imagem : TPicture(), true);
    c.reportCentroCD->BleedBox = NoPapel(c.reportCentroCD, area);
  }
  Marcas(paginaCD, disco, {}, a);
}

QStringList TImpressaoCapa::ForaDaAreaImprimivel() const {
  QStringList out;
  for (int pagina = 1; pagina <= NumeroPaginas; ++pagina) {
    TppReport* report = Relatorio(pagina);
    const TppPageDef& page = report->PrinterSetup()->PageDef();
    const TppRect area{0, 0, page.mmPrintableWidth(), page.mmPrintableHeight()};
    const TppBand* band = report->DetailBand();
    bool fora = false;
    for (int i = 0; band && i < band->ObjectCount() && !fora; ++i) {
      const TppPrintable* c = band->Objects(i);
      if (!c || !c->Visible()) continue;
      if (auto* image = dynamic_cast<const TppImage*>(c); image && image->Picture().Empty()) continue;
      TppRect r{c->mmLeft(), c->mmTop(), c->mmLeft() + c->mmWidth(), c->mmTop() + c->mmHeight()};
      if (c->HasClip()) r = Interseccao(r, c->ClipRect());
      if (r.Right <= r.Left || r.Bottom <= r.Top) continue;
      fora = r.Left < area.Left || r.Top < area.Top || r.Right > area.Right || r.Bottom > area.Bottom;
    }
    if (!fora) continue;
    QString line = QStringLiteral("Parte da página %1 (%2) fica fora da área imprimível do papel e não será impressa.")
                       .arg(pagina)
                       .arg(NomePagina(pagina));
    if (pagina == paginaCD) line += QStringLiteral(" Reduza as margens do CD nos Parâmetros.");
    out << line;
  }
  return out;
}

// ---------------------------------------------------------------------------
// Printing and previewing

namespace {

// The paper, paper source and sides of a print on the reports' setups for
// the print's length, put back however it ends: every page carries them.
class TPapel {
 public:
  TPapel(const std::vector<TppReport*>& reports, const QString& printer, const QString& paper,
         const QString& bin, int duplex) {
    int width = 0, height = 0;
    if (!paper.isEmpty()) {
      if (TppPrinterInfo* info = PrinterList()->FindPrinterInfo(printer)) {
        const TppPrinterCapabilities* caps = info->Capabilities();
        const int i = caps->PaperNames.indexOf(paper);
        if (i >= 0 && i < caps->PaperWidths.size() && i < caps->PaperHeights.size()) {
          width = caps->PaperWidths[i].toInt() * 100;  // tenths of a mm, portrait
          height = caps->PaperHeights[i].toInt() * 100;
        }
      }
    }
    for (TppReport* r : reports) {
      TppPrinterSetup* s = r->PrinterSetup();
      saved_.push_back({s, s->mmPaperWidth(), s->mmPaperHeight(), s->PaperName(), s->BinName(), s->Duplex()});
      if (width > 0 && height > 0) {
        const bool landscape = s->Orientation() == poLandscape;
        s->SetmmPaperWidth(landscape ? height : width);
        s->SetmmPaperHeight(landscape ? width : height);
        // The paper goes to the printer by its name (its code): the name
        // comes with the size.
        StoreName(s, paper);
      }
      if (!bin.isEmpty()) s->SetBinName(bin);
      if (duplex >= 1 && duplex <= 3) s->SetDuplex(TppDuplexType(duplex - 1));
    }
  }
  ~TPapel() {
    for (const auto& s : saved_) {
      s.setup->SetmmPaperWidth(s.width);
      s.setup->SetmmPaperHeight(s.height);
      StoreName(s.setup, s.paper);
      s.setup->SetBinName(s.bin);
      s.setup->SetDuplex(s.duplex);
    }
  }
  TPapel(const TPapel&) = delete;
  TPapel& operator=(const TPapel&) = delete;

 private:
  static void StoreName(TppPrinterSetup* s, const QString& name) {
    const bool notify = s->NotificationsEnabled();
    s->SetNotificationsEnabled(false);
    s->SetPaperName(name);
    s->SetNotificationsEnabled(notify);
  }
  struct TGuardado {
    TppPrinterSetup* setup;
    int width, height;
    QString paper;
    QString bin;
    TppDuplexType duplex;
  };
  std::vector<TGuardado> saved_;
};

}  // namespace

bool TImpressaoCapa::Imprimir(const TPedidoImpressao& pedido) {
  if (ocupado_) return false;
  TScopedFlag ocupado(ocupado_);
  naoImpressos_.clear();
  std::vector<TppReport*> reports;
  for (int p : pedido.Paginas)
    if (TppReport* r = Relatorio(p)) reports.push_back(r);
  if (reports.empty()) throw EPrintError(EngineMessage(msgNoPagesToPrint));

  // The printer by the name the system knows it by now, never another one
  // in its place.
  QString printer = QStringLiteral("Default");
  const bool naImpressora = pedido.Ficheiro.isEmpty() && !pedido.Exportador;
  if (naImpressora) {
    printer = ResolverImpressora(pedido.Impressora);
    if (printer.isEmpty())
      throw EPrintError(pedido.Impressora.isEmpty() || pedido.Impressora == QLatin1String("Default")
                            ? QStringLiteral("Não há nenhuma impressora instalada.")
                            : QStringLiteral("A impressora «%1» não está instalada.").arg(pedido.Impressora));
  }
  for (int p = 1; p <= NumeroPaginas; ++p) {
    TppReport* r = Relatorio(p);
    r->SetDeviceType(TppPrinterDevice::DeviceName());
    r->PrinterSetup()->SetPrinterName(printer);
  }
  const TPapel paper(reports, printer, pedido.Papel, pedido.Tabuleiro, pedido.FrenteVerso);

  // One device for every report: one printer document.
  TppPrinterDevice device;
  device.SetExclusive(true);
  TppPrinterSetup setup;
  setup.Assign(*frente_->reportFrenteCD->PrinterSetup());
  setup.SetPrinterName(printer);
  setup.SetDocumentName(pedido.NomeDocumento);
  setup.SetOutputFileName(pedido.Exportador ? QString() : pedido.Ficheiro);
  device.Printer()->ApplySetup(setup);
  device.Printer()->SetExporter(pedido.Exportador);
  if (naImpressora) device.Printer()->SetQueueOptions(pedido.Cores, pedido.OpcoesFila);
  // A queue's calibration is for its paper; never for a file.
  if (naImpressora) device.CalibrationOverride = pedido.Ajuste;
  if (naImpressora && !device.Printer()->DC())
    throw EPrintError(EngineMessage(msgPrinterSetupProblem));
  std::vector<TppProducer*> producers(reports.begin(), reports.end());
  return PrintReports(device, producers, std::max(1, pedido.Copias), pedido.Agrupar, &naoImpressos_);
}

bool TImpressaoCapa::PrevisaoDisponivel() {
  return EngineFormClass(ppCustomPreviewer) && DeviceClassForName(QStringLiteral("Screen"));
}

bool TImpressaoCapa::Prever(int folha, const QString& nomeDocumento) {
  TppReport* report = Relatorio(PaginaDaFolha(folha));
  if (ocupado_ || !report || !PrevisaoDisponivel()) return false;
  TScopedFlag ocupado(ocupado_);
  for (int p = 1; p <= NumeroPaginas; ++p) {
    Relatorio(p)->SetDeviceType(QStringLiteral("Screen"));
    // A print from the preview is the cover's job, named as the main
    // print names it.
    Relatorio(p)->PrinterSetup()->SetDocumentName(nomeDocumento);
  }
  report->Print();
  return true;
}
