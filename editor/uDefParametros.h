// SPDX-License-Identifier: GPL-3.0-or-later
// The program's settings, kept in the per-user settings store under the
// key "Lurns", section "Parametros", each value as decimal text.
#pragma once

#include "document/Registo.h"
#include "platform/Types.h"

#include <QSettings>
#include <cstdint>
#include <memory>

struct TParametros {
  std::uint16_t Superior = 0;  // top print margin, mm
  std::uint16_t Esquerda = 0;  // left print margin, mm
  std::uint8_t Lingua = 0;     // 0 Portuguese, otherwise English
  std::uint8_t GrelhaX = 8;    // snap steps, pixels
  std::uint8_t GrelhaY = 8;
  TColor Dobra = 0x00FF00;     // colour of the fold marks
  std::uint8_t Grava = 0;      // save mode (kept, not used)
  TPapelDisco PapelCD;         // the paper of the disc page
  bool Marcas = false;         // crop and fold marks
  bool Sangria = false;        // with them, the 3 mm bleed
};

// The one settings record of the program.
TParametros& Parametros();

void LerParametros();
void GravarParametros();

