// SPDX-License-Identifier: GPL-3.0-or-later
// The back inlay's report: the back panel between its two spine strips on
// landscape A4.  Built like the front cover's (see uFrenteCD.h).
#pragma once

#include "platform/Classes.h"

class TppDetailBand;
class TppImage;
class TppLabel;
class TppReport;
class TppShape;

class TfrmReportTrasCD : public TComponent {
 public:
  LURNS_COMPONENT(TfrmReportTrasCD)
  explicit TfrmReportTrasCD(TComponent* owner = nullptr);

  static QString Caption() { return QStringLiteral("Parte de trás do CD"); }
  // The report, the band, the credit line, three frames, two pictures.
  static constexpr int DesignComponentCount = 8;

  void reportTrasCDPreviewFormCreate(TComponent* Sender);

  TppReport* reportTrasCD;
  TppDetailBand* ppDetailBand1;
  TppLabel* ppLabel1;               // credit line under the inlay
  TppShape* rptQuadradoTras1;       // left spine strip
  TppShape* rptQuadradoTras2;       // middle panel
  TppShape* rptQuadradoTras3;       // right spine strip
  TppImage* rptImagemTras;          // picture across the whole inlay, spines included
  TppImage* rptImagemTrasLombada;   // picture of the middle panel only
};
