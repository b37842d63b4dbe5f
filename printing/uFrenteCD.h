// SPDX-License-Identifier: GPL-3.0-or-later
// The front cover's report: Interior (left frame) and Frente (right frame)
// side by side on landscape A4, as one folded booklet leaf.  Its container
// holds the report, its detail band and the band's fixed components for
// the life of the program; the print commands add the objects of the two
// sheets to it before each print or preview (printing/ImpressaoCapa).
//
// The container is a plain engine container, never a window: the design
// is built through the engine's loading phase (TComponentReader), with
// every value as stored, and the page size in thousandths of a
// millimetre (never through a paper name).
#pragma once

#include "platform/Classes.h"

class TppDetailBand;
class TppImage;
class TppLabel;
class TppReport;
class TppShape;

class TfrmReportFrenteCD : public TComponent {
 public:
  LURNS_COMPONENT(TfrmReportFrenteCD)
  explicit TfrmReportFrenteCD(TComponent* owner = nullptr);

  // The caption of the window the design was made in; never shown.
  static QString Caption() { return QStringLiteral("Frente do CD"); }
  // The components the container owns by design: the report, the band,
  // two frames, two pictures and the credit line.
  static constexpr int DesignComponentCount = 7;

  // Maximises the report's preview window when the engine has made it.
  void reportFrenteCDPreviewFormCreate(TComponent* Sender);

  TppReport* reportFrenteCD;
  TppDetailBand* ppDetailBand1;
  TppShape* rptQuadradoLurn;      // frame and colour of Frente
  TppShape* rptQuadradoInterior;  // frame and colour of Interior
  TppImage* rptImagemLurn;        // picture of Frente, a pixel inside its frame
  TppImage* rptImagemInterior;    // picture of Interior
  TppLabel* ppLabel1;             // credit line under the frames
};
