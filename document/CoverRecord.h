// SPDX-License-Identifier: GPL-3.0-or-later
// The 572-byte record of a cover file.  Integers are little-endian; text
// fields are a length byte followed by that many Windows-1252 characters
// and zero bytes up to the field's capacity.
#pragma once

#include "platform/Types.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

constexpr int kTamanhoRegisto = 572;
// The room of a record's caption (or file name) field, in Windows-1252
// bytes: a text of several lines counts two for each line break (CR LF).
constexpr int kCapacidadeTexto = 255;

struct TCoverRecord {
  QString Tipo;        // kind: "TShape", "TProImage", "TProLabel", "Lurns CD"
  QString Folha;       // sheet code: "Frente", "FrenteP", ...
  QString Texto;       // caption or file name
  std::int32_t Angulo = 0;
  std::int32_t Left = 0, Top = 0, Height = 0, Width = 0;
  QString NomeFonte;
  std::uint8_t Charset = 0;
  std::int32_t TamanhoFonte = 0;
  TColor Cor = 0;
  std::uint8_t Estilo = 0;

  // The record's bytes.  Text longer than a field is cut to its capacity;
  // characters Windows-1252 has no code for are written as '?', and
  // *perdidos (when given) is set when that happened.
  QByteArray Codificar(bool* perdidos = nullptr) const;
  // The same into 572 bytes at `buf`.
  void CodificarEm(char* buf, bool* perdidos = nullptr) const;
  // Reads a record from up to 572 bytes; missing bytes count as zero.
  static TCoverRecord Descodificar(const QByteArray& bytes);
  static TCoverRecord Descodificar(const char* bytes, qsizetype size);
};

// Windows-1252 at the file boundary.
QByteArray ParaWindows1252(const QString& s, bool* perdidos = nullptr);
QString DeWindows1252(const QByteArray& b);
