// SPDX-License-Identifier: GPL-3.0-or-later
// The paper the disc page prints on: plain A4 (the disc placed by the
// settings' margins), or a sheet of self-adhesive disc labels, two discs
// to an A4 sheet, each with its outer circle and centre hole.  The makers'
// sheets are a table of their published dimensions built into the program
// (resources/stock/disc-label-stock.tsv); a stock of the user's own has
// the same figures.  Millimetres, centres from the sheet's top-left corner
// (portrait A4, 210 x 297).
#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <optional>

struct TEtiquetaDisco {
  QString Fabricante;  // "Avery"
  QString Referencia;  // the maker's part, "L7676"
  double Exterior = 0;  // outer diameter
  double Furo = 0;      // hole diameter
  QPointF Centros[2];   // the discs' centres, positions 1 and 2
  // How the user knows it: "Avery L7676".
  QString Nome() const;
};

// The A4 sheet a stock lies on.
inline constexpr double LarguraFolhaEtiquetas = 210.0;
inline constexpr double AlturaFolhaEtiquetas = 297.0;
// On plain paper, the guides the editor shows on the disc: the standard
// spindle hole and the hub around it.
inline constexpr double FuroPadrao = 15.0;
inline constexpr double CuboPadrao = 41.0;

// Why a stock's figures cannot make labels (the discs off the sheet, a
// hole not inside its disc, the two discs over each other); empty when
// they can.
QString ProblemaEtiqueta(const TEtiquetaDisco& e);

// A table of stocks as text: '#' comments, a header line naming the
// columns maker, part, outer_diameter_mm, hole_diameter_mm, centre1_x_mm,
// centre1_y_mm, centre2_x_mm, centre2_y_mm, one stock a line, fields
// separated by tabs.  A line that is not sound makes the whole table an
// error (`erro` says which line and why) and gives none.
QList<TEtiquetaDisco> LerTabelaEtiquetas(const QString& texto, QString* erro);
// The makers' stocks built into the program, in the table's order.
const QList<TEtiquetaDisco>& EtiquetasDisco();
// The built-in stock of a part (letter case ignored), or none.
std::optional<TEtiquetaDisco> EtiquetaDisco(const QString& referencia);

// Which discs of a sheet a print fills: position 1 (top), 2 (bottom) or
// both.
enum class TPosicaoDisco { Primeira = 1, Segunda = 2, Ambas = 3 };
// "1", "2" or "ambas" (the names lurns-batch takes); none for others.
std::optional<TPosicaoDisco> PosicaoDisco(const QString& nome);

// The paper of the disc page as the settings keep it.
struct TPapelDisco {
  enum TTipo { A4Simples, Etiqueta, Propria };
  TTipo Tipo = A4Simples;
  QString Referencia;      // Etiqueta: the built-in stock's part
  TEtiquetaDisco Medidas;  // Propria: the user's own figures
  // The stock the disc page prints on; none for plain A4 (or a part the
  // table does not have).
  std::optional<TEtiquetaDisco> Stock() const;
};
