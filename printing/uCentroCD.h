// SPDX-License-Identifier: GPL-3.0-or-later
// The disc label's report: the disc on portrait A4.  Built like the front
// cover's (see uFrenteCD.h).
#pragma once

#include "platform/Classes.h"

class TppDetailBand;
class TppImage;
class TppReport;
class TppShape;

class TfrmReportCentroCD : public TComponent {
 public:
  LURNS_COMPONENT(TfrmReportCentroCD)
  explicit TfrmReportCentroCD(TComponent* owner = nullptr);

  static QString Caption() { return QStringLiteral("Centro CD"); }
  // The report, the band, the disc's circle and its picture.
  static constexpr int DesignComponentCount = 4;

  void reportCentroCDPreviewFormCreate(TComponent* Sender);

  TppReport* reportCentroCD;
  TppDetailBand* ppDetailBand1;
  TppShape* centroCDShape;  // the disc as a filled circle
  TppImage* centroCDImage;  // the disc's picture, in the circle's box
};
