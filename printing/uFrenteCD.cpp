// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/uFrenteCD.h"

#include "printing/DesenhoRelatorios.h"
#include "report/ppFormIntf.h"

using desenho::TGeometria;

TfrmReportFrenteCD::TfrmReportFrenteCD(TComponent* owner) : TComponent(owner) {
  SetName(QStringLiteral("frmReportFrenteCD"));
  TComponentReader reader(this);
  reportFrenteCD = desenho::Relatorio(reader, QStringLiteral("reportFrenteCD"), true);
  // Designed with the engine's English texts; without that language's
  // module the report falls back to the built-in ones.
  reportFrenteCD->SetLanguage(lgEnglish);
  reportFrenteCD->OnPreviewFormCreate = [this](TComponent* sender) {
    reportFrenteCDPreviewFormCreate(sender);
  };
  ppDetailBand1 = desenho::Banda(reader, reportFrenteCD, 185738, phDynamic);
  rptQuadradoLurn = desenho::Forma(reader, ppDetailBand1, QStringLiteral("rptQuadradoLurn"),
                                   QStringLiteral("QuadradoLurn"),
                                   TGeometria{139965, 19050, 121179, 120386});
  rptQuadradoInterior = desenho::Forma(reader, ppDetailBand1, QStringLiteral("rptQuadradoInterior"),
                                       QStringLiteral("QuadradoInterior"),
                                       TGeometria{19050, 19050, 121179, 120386});
  rptImagemLurn = desenho::Imagem(reader, ppDetailBand1, QStringLiteral("rptImagemLurn"),
                                  QStringLiteral("rptImagemLurn"),
                                  TGeometria{140229, 19315, 120650, 119856}, true);
  rptImagemInterior = desenho::Imagem(reader, ppDetailBand1, QStringLiteral("rptImagemInterior"),
                                      QStringLiteral("rptImagemInterior"),
                                      TGeometria{19315, 19315, 120650, 119856}, true);
  ppLabel1 = desenho::Credito(reader, ppDetailBand1, TGeometria{19050, 167217, 115094, 3969});
  reader.Finish();
}

void TfrmReportFrenteCD::reportFrenteCDPreviewFormCreate(TComponent*) {
  if (TppPreviewerIntf* preview = reportFrenteCD->PreviewForm()) preview->SetWindowState(wsMaximized);
}
