// SPDX-License-Identifier: GPL-3.0-or-later
// A printer backend whose printers, capabilities and metrics are chosen by
// the caller, and which keeps every printed page as a picture with the
// settings it was printed with.  Tests install it to print without a
// spooler; it also lets the engine run where no printer exists but a known
// one is wanted.
#pragma once

#include "platform/PrinterBackend.h"

#include <QImage>
#include <QMargins>
#include <functional>

struct TScriptedPrinter {
  QString Name;
  QString Port;
  bool Network = false;
  // What the capability queries answer, as raw as a driver would.
  TDeviceCapabilities Caps;
  TDriverSettings Defaults;
  int PixelsPerInchX = 100;
  int PixelsPerInchY = 100;
  // Unprintable borders in printer pixels, portrait sense (left, top,
  // right, bottom); in landscape they turn with the paper.
  QMargins Unprintable;
  bool Color = true;
  bool CanCreateContext = true;
  bool RefusesSettings = false;
  // The spooler refuses every document at its end (as a queue that stopped
  // accepting jobs): EndDoc fails and nothing is printed.
  bool RefusesJobs = false;
  // Keep a picture of every printed page (the page at the printer's
  // resolution, white before drawing).
  bool KeepPages = true;
  // The queue options its properties dialog offers.  Paper ("media") and
  // tray ("media-source") values are the paper codes and bin numbers as
  // text; "sides" the sides keywords; any other option is the queue's own.
  TPrinterOptions Options;

  // A printer with A4 (9), Letter (1), A5 (11) and a user size, two trays
  // and A4 portrait as its default.
  static TScriptedPrinter Standard(const QString& name);
};

struct TScriptedPage {
  TDriverSettings Settings;
  TDeviceMetrics Metrics;
  QImage Image;  // physical page; empty unless the printer keeps pages
};

struct TScriptedDocument {
  QString Printer;
  QString Name;
  // The settings the document was started with: the job's options, as a
  // spooler takes them when the job is created.  Each page's own are in
  // its Settings.
  TDriverSettings Settings;
  QList<TScriptedPage> Pages;
  bool Ended = false;
};

class TScriptedPrinterBackend : public TPrinterBackend {
 public:
  QList<TScriptedPrinter> Printers;
  QString Default;  // device name of the default printer

  // Documents the spooler received, complete (PDF output is not recorded
  // here).  A document reaches the spooler only when it ends well: one that
  // was thrown away or refused is not here.
  QList<TScriptedDocument> Documents;
  // Documents thrown away before they ended.
  int AbortedDocuments = 0;
  // Counters of the platform operations, for tests that must see that
  // nothing was touched.
  int ContextsCreated = 0;
  int SettingsQueries = 0;

  // Answers the driver's properties dialog; without it the dialog is
  // cancelled.
  std::function<bool(const TDriverSettings& in, TDriverSettings& out)> PropertiesAnswer;

  TScriptedPrinter* Find(const QString& device);

  QList<TPrinterEntry> EnumPrinters() override;
  QString DefaultPrinter() override;
  TDeviceCapabilities DeviceCapabilities(const QString& device) override;
  bool DocumentProperties(const QString& device, TDriverSettings& out) override;
  // PropertiesAnswer when set; otherwise the program's options dialog over
  // the printer's Options (cancelled without either).
  bool PropertiesDialog(const QString& device, const TDriverSettings& in,
                        TDriverSettings& out) override;
  TPrinterOptions PrinterOptions(const QString& device, const TDriverSettings& settings) override;

 protected:
  std::unique_ptr<TPrinterContext> DoCreateContext(const QString& device,
                                                   const TDriverSettings* settings,
                                                   bool printing) override;
};
