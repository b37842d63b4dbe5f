// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/uCentroCD.h"

#include "printing/DesenhoRelatorios.h"
#include "report/ppFormIntf.h"

using desenho::TGeometria;

TfrmReportCentroCD::TfrmReportCentroCD(TComponent* owner) : TComponent(owner) {
  SetName(QStringLiteral("frmReportCentroCD"));
  TComponentReader reader(this);
  reportCentroCD = desenho::Relatorio(reader, QStringLiteral("reportCentroCD"), false);
  reportCentroCD->OnPreviewFormCreate = [this](TComponent* sender) {
    reportCentroCDPreviewFormCreate(sender);
  };
  ppDetailBand1 = desenho::Banda(reader, reportCentroCD, 139965, phStatic);
  centroCDShape = desenho::Forma(reader, ppDetailBand1, QStringLiteral("centroCDShape"),
                                 QStringLiteral("centroCDShape"),
                                 TGeometria{12700, 27517, 117211, 117211});
  centroCDShape->SetShape(stCircle);
  centroCDImage = desenho::Imagem(reader, ppDetailBand1, QStringLiteral("centroCDImage"),
                                  QStringLiteral("centroCDImage"),
                                  TGeometria{12700, 27517, 117211, 117211}, true);
  reader.Finish();
}

void TfrmReportCentroCD::reportCentroCDPreviewFormCreate(TComponent*) {
  if (TppPreviewerIntf* preview = reportCentroCD->PreviewForm()) preview->SetWindowState(wsMaximized);
}
