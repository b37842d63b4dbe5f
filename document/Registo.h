// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user settings store of the program (the stand-in for the
// registry key "Lurns"): an INI file in the user's configuration folder,
// ~/.config/Lurns/Lurns.ini, section "Parametros", every value decimal
// text.  The editor reads and writes the whole settings record
// (editor/uDefParametros); lurns-batch only reads it (the disc's margins
// and paper, the marks, the grid, each queue's printer calibration).
#pragma once

#include "document/EtiquetasDisco.h"
#include "platform/PrinterBackend.h"

#include <QSettings>
#include <QStringList>
#include <memory>

// The settings store, positioned at the "Parametros" section.
std::unique_ptr<QSettings> AbrirRegisto();
// A value as an integer: a missing value, or one that is not an integer,
// gives `omissao`.
qint64 LerInteiroRegisto(QSettings& registo, const char* nome, qint64 omissao);

// The recent cover files, kept in the store as "Ficheiro1" (the newest) to
// "Ficheiro5".  The list never holds an empty entry or the same name twice
// (names compare exactly, letter case included).
inline constexpr int MaxRecentes = 5;
// The list as the store holds it, read tidily: empty values and repeated
// names are left out, the rest keep their order.
QStringList LerRecentes(QSettings& registo);
// The list with `nome` first: taken out of where it was, the others keep
// their order and only the sixth falls out.
QStringList ComRecente(const QStringList& recentes, const QString& nome);
// Writes the list to "Ficheiro1".."Ficheiro5", emptying the values past it.
void GravarRecentes(QSettings& registo, const QStringList& recentes);

// The paper of the disc page: "PapelCD" holds "A4" (plain A4, also when
// missing or unknown), a built-in stock's part, or "Propria" with the
// user's own figures in hundredths of a millimetre ("EtiquetaExterior",
// "EtiquetaFuro", "EtiquetaX1", "EtiquetaY1", "EtiquetaX2", "EtiquetaY2").
// Kept in the settings, never in the cover file.
TPapelDisco LerPapelDisco(QSettings& registo);
void GravarPapelDisco(QSettings& registo, const TPapelDisco& papel);

// The calibration of a printer queue, kept per queue under
// "Calibracao/<queue>": "DX" and "DY" in hundredths of a millimetre, "SX"
// and "SY" in hundredths of a percent (10050 for 100.5 %).  None when the
// queue has none (or values that are not sound); writing none removes it.
std::optional<TPrinterCalibration> LerCalibracao(QSettings& registo, const QString& fila);
void GravarCalibracao(QSettings& registo, const QString& fila, const std::optional<TPrinterCalibration>& c);
