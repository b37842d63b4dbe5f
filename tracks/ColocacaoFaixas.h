// SPDX-License-Identifier: GPL-3.0-or-later
// How a track list goes onto the cover: as texts of several lines on the
// back inlay (between its spines) or on the inside of the front cover, one
// under another in columns when they do not fit the sheet's height, on
// the grid; and the album's title and artist for the front and the spines.
// The same placement serves the window's "Importar faixas…" and
// lurns-batch --faixas.
#pragma once

#include "document/Documento.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

struct TColocacaoFaixas {
  int Folha = folhaTras;  // folhaTras or folhaInterior
  TFonteDoc Fonte;        // every line's
  int GrelhaX = 8, GrelhaY = 8;  // the grid the texts' corners go on
};

struct TTextosColocados {
  // Texts without names (each is named "Texto" + n once added to a cover,
  // NovoNome), in reading order; empty, with Erro saying why, when they
  // cannot be placed.
  std::vector<TObjecto> Textos;
  QString Erro;
};

// Where texts may go on a sheet: Trás between its spines, Interior whole,
// inside a margin of two grid steps (and at least 8 pixels).
QRect AreaDasFaixas(const TColocacaoFaixas& c);
// The lines as texts of several lines, in columns of as many lines as the
// area's height holds, side by side from the area's left (each column on
// the grid, two grid steps from the one before).  A column is one text,
// or, where its lines take more than a caption's 255 characters, texts
// one under another that keep the lines' distance (their corners then
// follow the lines rather than the grid).  A line that alone is too long
// for a caption, or columns wider than the area, are an error.
TTextosColocados ColocarFaixas(const QStringList& linhas, const TColocacaoFaixas& c);
// The album's title (and its artist below it) across the top of the front
// cover, centred, the title twice the font's size; and "artist — title" on
// both spines of the back, turned as a spine's text is (upwards on the
// left, downwards on the right).  Only what is known.
std::vector<std::pair<int, TObjecto>> TextosDoAlbum(const QString& album, const QString& artista,
                                                    const TFonteDoc& fonte);
