// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's printers through libcups: the printers, their papers with
// their unprintable borders, resolution, colour modes, sides, trays,
// whether a printer is reached over the network and how many copies it
// makes on its own, all from the queue's IPP attributes.  (Qt's print
// support is not used: it would bring Qt Widgets into every program that
// prints, the window-free ones included.)
//
// Papers carry Windows paper codes: a paper Qt recognises gets the code of
// its standard size, any other paper a code above 256, as a driver's own
// papers have.  A document is rendered into a temporary PDF file, each page
// with the paper and orientation of the settings in force when it starts,
// and sent to the queue through libcups once it is complete: as one job,
// or, when its pages need different papers, trays, sides or queue options
// (which a CUPS job has one of), as one job per run of pages that share
// them, all accepted before any prints.
#pragma once

#include "platform/PrinterBackend.h"

#include <QHash>
#include <QMargins>
#include <QMarginsF>
#include <QPageSize>

class TCupsPrinterBackend : public TPrinterBackend {
 public:
  TCupsPrinterBackend();
  ~TCupsPrinterBackend() override;

  QList<TPrinterEntry> EnumPrinters() override;
  QString DefaultPrinter() override;
  TDeviceCapabilities DeviceCapabilities(const QString& device) override;
  bool DocumentProperties(const QString& device, TDriverSettings& out) override;
  bool PropertiesDialog(const QString& device, const TDriverSettings& in,
                        TDriverSettings& out) override;
  QSize PaperSizeTenths(const QString& device, const TDriverSettings& settings) override;
  // Paper ("media"), tray ("media-source"), sides and print quality as the
  // queue's attributes offer them.
  TPrinterOptions PrinterOptions(const QString& device, const TDriverSettings& settings) override;

  // Whether a CUPS scheduler answers at all.
  static bool ServerReachable();

  struct Paper {
    int Code = 0;
    QPageSize Size;
    QMarginsF Borders;  // unprintable, in millimetres, portrait sense
  };
  struct Tray {
    int Number = 0;
    QString Keyword;
    QString Name;
  };
  struct Device {
    QList<Paper> Papers;
    QList<Tray> Trays;
    int Copies = 0;
    int Resolution = 0;  // read on first use
  };
  // The options a job is created with for driver settings: one copy (the
  // engine makes the copies), true size, the paper (`paperTenths`, portrait,
  // tenths of a millimetre), sides, colour, the tray among `trays`, then the
  // queue options the user chose (DriverOptions), which never replace the
  // copies or the scaling.
  static QList<QPair<QByteArray, QByteArray>> JobOptions(const TDriverSettings& settings,
                                                         const QSize& paperTenths,
                                                         const QList<Tray>& trays);
  // Driver settings with the queue options chosen in the properties
  // dialog: paper, tray and sides go into their fields, every other option
  // into DriverOptions.
  TDriverSettings WithOptions(const QString& device, const TDriverSettings& in,
                              const QMap<QString, QString>& chosen);

  // What the backend knows of a printer, read once.
  const Device& Info(const QString& device);
  // The page size that driver settings ask for on this printer.
  QPageSize PageSizeFor(const QString& device, const TDriverSettings& s);
  // The paper code of a page size on this printer (0 when not listed).
  int CodeFor(const QString& device, const QPageSize& size);
  // The printer's resolution in pixels per inch.
  int Resolution(const QString& device);
  // The printer's unprintable borders on the paper of the settings, in its
  // pixels, portrait sense.
  QMargins UnprintablePortrait(const QString& device, const TDriverSettings& s);

  // Jobs are sent with every page upright, landscape content turned onto
  // the sheet by the program itself, rather than as landscape pages that
  // the queue's filters turn.  Off unless LURNS_UPRIGHT_PAGES=1 is set: the
  // filters of CUPS turn landscape pages right; this is for a driver that
  // does not.
  bool UprightPages = false;

 protected:
  std::unique_ptr<TPrinterContext> DoCreateContext(const QString& device,
                                                   const TDriverSettings* settings,
                                                   bool printing) override;

 private:
  QHash<QString, Device> devices_;
  QHash<QString, QMargins> margins_;
};
