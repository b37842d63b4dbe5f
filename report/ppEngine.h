// SPDX-License-Identifier: GPL-3.0-or-later
// Page generation: TppEngine turns a report's bands into pages.  It fills
// one page at a time with the draw commands of the components of the bands
// that print on it, and hands the page to the report (which publishes it
// to the devices) twice: blank when the page starts, complete when it ends.
//
// Bands print from the top of the printable area down: on every page the
// header, on the first the title, then the column header; then the detail
// band as often as the data asks and the page has room; once the data has
// ended the summary; the footer at the foot of every page.  A report
// without data prints its detail band once (AutoStop), or PrintCount
// times.  Groups, columns, two passes and stretching components are not
// built: this program's reports have none.
//
// A run that could never end — a band that does not fit on an empty page,
// a report without data that does not stop by itself, a detail band that
// takes no room on its page — ends with an EPrintError instead of
// producing pages for ever.  So does a report that uses what is not built
// (column footers, group bands, page styles, several columns, two passes):
// printed without it, its pages would be wrong.
#pragma once

#include "report/ppDevice.h"
#include "report/ppDrwCmd.h"
#include "report/ppRelatv.h"

#include <QDateTime>
#include <memory>

class TppBand;
class TppBandedReport;

class TppCustomEngine : public TppCacheable {
 public:
  LURNS_COMPONENT(TppCustomEngine)
  explicit TppCustomEngine(TComponent* owner = nullptr) : TppCacheable(owner) {}
};

class TppEngine : public TppCustomEngine {
 public:
  LURNS_COMPONENT(TppEngine)
  explicit TppEngine(TppBandedReport* report);
  ~TppEngine() override;

  TppBandedReport* Report() const { return report_; }
  // The page being generated (reused from page to page).
  TppPage& Page() { return page_; }

  // Generates the pages the request needs, from page 1, handing each to
  // PageReady.  A call while a generation runs is ignored.  Throws
  // EPrintError (message 415 for a print position beyond the page's
  // space; see above for runs that would never end).
  void Generate(const TppPageRequest& request);
  // Back to page 1 with fresh state, for the next run.
  void Reset();
  // Stops the generation at its next check: after the band, component or
  // page under way.  The page under way is not completed.
  void Stop() { stop_ = true; }

  bool Busy() const { return busy_; }
  bool Stopped() const { return stop_; }
  bool DataEnded() const { return dataEnded_; }
  bool LastPageReached() const { return lastPage_; }
  int PageNo() const { return pageNo_; }
  int HighestPageNo() const { return highestPage_; }
  QDateTime StartDateTime() const { return startDateTime_; }
  // What failed to print during the last run without stopping it (a
  // component whose draw command could not be made).
  const QStringList& Problems() const { return problems_; }

  // Called with the page at its start (blank) and at its end (complete).
  std::function<void(TppPage& page)> PageReady;

 private:
  enum TBandResult { brPrinted, brNoRoom, brInvisible };

  void StartReport();
  void GeneratePage();
  void StartPage();
  void EndPage();
  void FillPageFields(bool complete);
  bool DecideNext(const TppPageRequest& request);
  // Prints a band once at the current position.
  TBandResult PrintBand(TppBand* band, bool dataBand);
  void PrintComponents(TppBand* band);
  void StepDetailRecord(TppBand* band);
  int SpaceLimit(const TppBand* band) const;
  // Nothing on the page but the bands every page has: a band without room
  // here has none on any page.  (The title takes room on the first page
  // only.)
  bool OnlyEveryPageBands() const { return dataBandsOnPage_ == 0 && !firstPageBandsOnPage_; }
  // Raises an EPrintError for a band kind or setting that is not printed.
  void RefuseWhatIsNotPrinted() const;
  int FooterHeight() const;
  void Pump();
  [[noreturn]] void NeverFits(const TppBand* band) const;

  TppBandedReport* report_;
  TppPage page_;
  TppPageRequest request_;
  // Position on the page being generated, in thousandths.
  int left_ = 0;
  int right_ = 0;
  int currentTop_ = 0;
  int lowest_ = 0;
  int bottomLimit_ = 0;
  int pageNo_ = 0;
  int highestPage_ = 0;
  bool dataEnded_ = false;
  bool summaryDone_ = false;
  bool lastPage_ = false;
  bool done_ = false;
  bool stop_ = false;
  bool busy_ = false;
  bool hasContent_ = false;
  bool firstPassStarted_ = false;
  int dataBandsOnPage_ = 0;
  bool firstPageBandsOnPage_ = false;
  QDateTime startDateTime_;
  QStringList problems_;
};
