// SPDX-License-Identifier: GPL-3.0-or-later
// The calibration page of a printer: rulers along both axes of a portrait
// A4 sheet in millimetres from the paper's edges, crosshairs at known
// places, the printer's name, the date and the calibration it was printed
// with.  The user measures it with a ruler and enters an offset and a
// scale for each axis (kept per queue in the settings store); printed
// again with them, its rulers measure true.
#pragma once

#include "platform/PrinterBackend.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <optional>

// The crosshairs' centres, millimetres from the paper's top-left corner.
QList<QPointF> CrucesCalibracao();
// Where the rulers' ticks start (their edge), millimetres from the paper's
// top and left edges: the horizontal ruler's ticks hang below y = this,
// the vertical ruler's reach right of x = this.
inline constexpr double ReguaCalibracao = 25.0;

// Prints the calibration page on the printer `impressora` (a queue, or
// "Default") or, when `ficheiro` is given, into that PDF file.  On a queue
// it is printed with the queue's calibration, or with `ajuste` when given
// (an identity `ajuste` prints it raw, for measuring).  False when the
// print was cancelled; failures are raised as EPrintError.
bool ImprimirCalibracao(const QString& impressora, const QString& ficheiro,
                        const std::optional<TPrinterCalibration>& ajuste = std::nullopt);
