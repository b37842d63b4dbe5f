// SPDX-License-Identifier: GPL-3.0-or-later
// Small reports built in code for the engine's tests, and a device that
// keeps a copy of every page it receives.
#pragma once

#include "report/ppBands.h"
#include "report/ppCtrls.h"
#include "report/ppDevice.h"
#include "report/ppDrwCmd.h"
#include "report/ppEngine.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"

#include <memory>
#include <vector>

// Keeps every complete page it is sent, and what happened to its jobs.
class TCaptureDevice : public TppDevice {
 public:
  LURNS_COMPONENT(TCaptureDevice)
  using TppDevice::TppDevice;

  std::vector<std::unique_ptr<TppPage>> Pages;
  int JobsStarted = 0;
  int JobsEnded = 0;
  int JobsCancelled = 0;

  void JobStarted() override {
    ++JobsStarted;
    TppDevice::JobStarted();
  }
  void JobEnded() override {
    if (Busy()) ++JobsEnded;
    TppDevice::JobEnded();
  }
  void JobCancelled() override {
    if (Busy()) ++JobsCancelled;
    TppDevice::JobCancelled();
  }
  void AcceptPage(TppPage& page) override {
    TppDevice::AcceptPage(page);
    if (SkipPage() || !PageIsRequested()) return;
    auto copy = std::make_unique<TppPage>();
    copy->Assign(page);
    Pages.push_back(std::move(copy));
  }
  std::vector<int> PageNumbers() const {
    std::vector<int> n;
    for (const auto& p : Pages) n.push_back(p->AbsolutePageNo);
    return n;
  }
};

// A report of one detail band, in thousandths, on A4 with quarter-inch
// margins, owned by `owner`.
struct TestReport {
  TppReport* report;
  TppDetailBand* band;

  explicit TestReport(TComponent* owner, TPrinterOrientation orientation = poPortrait,
                      int bandHeight = 100000) {
    report = new TppReport(owner);
    report->SetUnits(utMMThousandths);
    TppPrinterSetup* s = report->PrinterSetup();
    s->SetmmPaperWidth(210000);
    s->SetmmPaperHeight(297000);
    if (orientation == poLandscape) s->SetOrientation(poLandscape);
    band = new TppDetailBand(owner);
    band->SetReport(report);
    band->SetmmHeight(bandHeight);
  }

  // A shape in the band, filled black, at (left, top) of the band, in
  // thousandths.
  TppShape* Square(int left, int top, int side, TComponent* owner) const {
    auto* s = new TppShape(owner);
    s->SetBand(band);
    s->SetmmLeft(left);
    s->SetmmTop(top);
    s->SetmmWidth(side);
    s->SetmmHeight(side);
    TBrush b;
    b.Color = clBlack;
    s->SetBrush(b);
    return s;
  }
};

// A report of `pages` pages: a detail band taller than half an A4 page,
// printed `pages` times, with a black square whose place tells the page
// (10 mm further right on each page) and the report (`row`: 30 mm further
// down for each row).
struct PagedReport {
  TComponent owner;
  TestReport r;
  TppShape* marker;
  explicit PagedReport(int pages, int row = 0, TPrinterOrientation o = poPortrait)
      : r(&owner, o, o == poPortrait ? 150000 : 110000) {
    r.band->SetPrintCount(pages);
    r.report->SetAutoStop(false);
    marker = r.Square(0, 30000 * row, 5000, &owner);
    marker->OnPrint = [this](TComponent*) {
      marker->SetmmLeft(10000 * r.report->Engine()->PageNo());
    };
  }
};
