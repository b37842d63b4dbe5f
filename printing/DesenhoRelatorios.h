// SPDX-License-Identifier: GPL-3.0-or-later
// What the three cover report designs share, as the loading phase sets
// it: the report's stored properties, and components added to the detail
// band with their stored geometry.  Used by uFrenteCD, uTrasCD and
// uCentroCD only.
#pragma once

#include "platform/Classes.h"
#include "report/ppBands.h"
#include "report/ppCtrls.h"
#include "report/ppReport.h"

#include <QString>

namespace desenho {

// A cover report as stored: A4 by its size in thousandths (297000 x 210000
// landscape, 210000 x 297000 portrait), paper code 9, margins of 6350,
// "Default" bin and printer, document "Report", units in screen pixels,
// device "Screen", no column width, version "5.5".
TppReport* Relatorio(TComponentReader& reader, const QString& name, bool landscape);

// The one detail band, of the given height and print height.
TppDetailBand* Banda(TComponentReader& reader, TppReport* report, int mmHeight,
                     TppPrintHeightType printHeight);

struct TGeometria {
  int Left, Top, Width, Height;  // thousandths of a millimetre
};

// A rectangle (white brush, thin black pen) in the band.
TppShape* Forma(TComponentReader& reader, TppDetailBand* band, const QString& name,
                const QString& userName, TGeometria g);
// A picture in the band, stretched or not, never keeping its proportions.
TppImage* Imagem(TComponentReader& reader, TppDetailBand* band, const QString& name,
                 const QString& userName, TGeometria g, bool stretch);
// The credit line: one line in Arial 10 pt black, transparent, left-aligned.
TppLabel* Credito(TComponentReader& reader, TppDetailBand* band, TGeometria g);

}  // namespace desenho
