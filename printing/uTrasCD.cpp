// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/uTrasCD.h"

#include "printing/DesenhoRelatorios.h"
#include "report/ppFormIntf.h"

using desenho::TGeometria;

TfrmReportTrasCD::TfrmReportTrasCD(TComponent* owner) : TComponent(owner) {
  SetName(QStringLiteral("frmReportTrasCD"));
  TComponentReader reader(this);
  reportTrasCD = desenho::Relatorio(reader, QStringLiteral("reportTrasCD"), true);
  reportTrasCD->OnPreviewFormCreate = [this](TComponent* sender) {
    reportTrasCDPreviewFormCreate(sender);
  };
  ppDetailBand1 = desenho::Banda(reader, reportTrasCD, 169863, phStatic);
  ppLabel1 = desenho::Credito(reader, ppDetailBand1, TGeometria{21167, 152400, 115094, 3969});
  rptQuadradoTras1 = desenho::Forma(reader, ppDetailBand1, QStringLiteral("rptQuadradoTras1"),
                                    QStringLiteral("rptQuadradoTras1"),
                                    TGeometria{19050, 19050, 6085, 118269});
  rptQuadradoTras2 = desenho::Forma(reader, ppDetailBand1, QStringLiteral("rptQuadradoTras2"),
                                    QStringLiteral("rptQuadradoTras2"),
                                    TGeometria{24871, 19050, 139171, 118269});
  rptQuadradoTras3 = desenho::Forma(reader, ppDetailBand1, QStringLiteral("rptQuadradoTras3"),
                                    QStringLiteral("rptQuadradoTras3"),
                                    TGeometria{163777, 19050, 6085, 118269});
  rptImagemTras = desenho::Imagem(reader, ppDetailBand1, QStringLiteral("rptImagemTras"),
                                  QStringLiteral("rptImagemTras"),
                                  TGeometria{19315, 19315, 150284, 117740}, false);
  rptImagemTrasLombada = desenho::Imagem(reader, ppDetailBand1, QStringLiteral("rptImagemTrasLombada"),
                                         QStringLiteral("rptImagemTrasLombada"),
                                         TGeometria{25135, 19315, 138642, 117740}, false);
  reader.Finish();
}

void TfrmReportTrasCD::reportTrasCDPreviewFormCreate(TComponent*) {
  if (TppPreviewerIntf* preview = reportTrasCD->PreviewForm()) preview->SetWindowState(wsMaximized);
}
