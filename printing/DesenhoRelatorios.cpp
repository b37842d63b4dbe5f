// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/DesenhoRelatorios.h"

#include "report/ppTypes.h"

namespace desenho {

TppReport* Relatorio(TComponentReader& reader, const QString& name, bool landscape) {
  auto* report = reader.Add<TppReport>(name);
  TppPrinterSetup* s = report->PrinterSetup();
  // Published properties first, then the page in thousandths (the stream's
  // order: the orientation swaps the size it finds, the stored size then
  // stands).
  s->SetBinName(QStringLiteral("Default"));
  s->SetDocumentName(QStringLiteral("Report"));
  s->SetPaperName(QStringLiteral("A4"));
  if (landscape) s->SetOrientation(poLandscape);
  s->ReadStreamProperty(QStringLiteral("mmMarginBottom"), 6350);
  s->ReadStreamProperty(QStringLiteral("mmMarginLeft"), 6350);
  s->ReadStreamProperty(QStringLiteral("mmMarginRight"), 6350);
  s->ReadStreamProperty(QStringLiteral("mmMarginTop"), 6350);
  s->ReadStreamProperty(QStringLiteral("mmPaperHeight"), landscape ? 210000 : 297000);
  s->ReadStreamProperty(QStringLiteral("mmPaperWidth"), landscape ? 297000 : 210000);
  s->ReadStreamProperty(QStringLiteral("PaperSize"), 9);
  report->SetUnits(utScreenPixels);
  report->SetDeviceType(QStringLiteral("Screen"));
  report->SetmmColumnWidth(0);
  report->SetVersion(QStringLiteral("5.5"));
  return report;
}

TppDetailBand* Banda(TComponentReader& reader, TppReport* report, int mmHeight,
                     TppPrintHeightType printHeight) {
  auto* band = reader.Add<TppDetailBand>(QStringLiteral("ppDetailBand1"), report);
  band->SetmmBottomOffset(0);
  band->SetmmHeight(mmHeight);
  band->SetmmPrintPosition(0);
  band->SetPrintHeight(printHeight);
  return band;
}

namespace {
void Colocar(TppPrintable* c, const QString& userName, TGeometria g) {
  c->SetUserName(userName);
  c->SetmmLeft(g.Left);
  c->SetmmTop(g.Top);
  c->SetmmWidth(g.Width);
  c->SetmmHeight(g.Height);
  c->SetBandType(btDetail);
}
}  // namespace

TppShape* Forma(TComponentReader& reader, TppDetailBand* band, const QString& name,
                const QString& userName, TGeometria g) {
  auto* shape = reader.Add<TppShape>(name, band);
  Colocar(shape, userName, g);
  return shape;
}

TppImage* Imagem(TComponentReader& reader, TppDetailBand* band, const QString& name,
                 const QString& userName, TGeometria g, bool stretch) {
  auto* image = reader.Add<TppImage>(name, band);
  Colocar(image, userName, g);
  image->SetStretch(stretch);
  image->SetMaintainAspectRatio(false);
  return image;
}

TppLabel* Credito(TComponentReader& reader, TppDetailBand* band, TGeometria g) {
  auto* label = reader.Add<TppLabel>(QStringLiteral("ppLabel1"), band);
  Colocar(label, QStringLiteral("Label1"), g);
  TFont f;
  f.Name = QStringLiteral("Arial");
  f.Charset = DEFAULT_CHARSET;
  f.Color = clBlack;
  f.Style = 0;
  f.SetSize(10);
  label->SetFont(f);
  label->SetTransparent(true);
  label->SetTextAlignment(taLeftJustified);
  label->SetCaption(QStringLiteral("Impresso com Lurns para CD"));
  return label;
}

}  // namespace desenho
