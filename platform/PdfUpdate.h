// SPDX-License-Identifier: GPL-3.0-or-later
// What a printed PDF says beyond the pages the PDF writer draws: that
// viewers must not scale it when printing (the catalogue's viewer
// preferences, /PrintScaling /None), and each page's trim and bleed
// boxes (where the paper is cut, and how far the artwork reaches beyond
// the cut).  Added as an incremental update at the file's end, as PDF
// editors add changes: the writer's bytes stay as they are, the new
// catalogue and page objects and their cross-reference follow them.
#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>

struct TPdfPageBoxes {
  // In points from the page's top-left corner (as the page is seen);
  // an empty box is left out.
  QRectF TrimBox;
  QRectF BleedBox;
};

// Adds /ViewerPreferences << /PrintScaling /None >> to the catalogue and
// the boxes of `pages` (in page order; pages past the list get none) to
// the file `pdf` holds.  A file not laid out as the PDF writer lays its
// files out (no classic cross-reference table, no catalogue found) is
// left unchanged: false, and why.
bool AddPrintPreferences(QByteArray& pdf, const QList<TPdfPageBoxes>& pages, QString* why);
