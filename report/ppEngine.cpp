// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppEngine.h"

#include "platform/ScopedFlag.h"

#include "report/ppBands.h"
#include "report/ppPrnabl.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"

#include <QDebug>
#include <algorithm>

TppEngine::TppEngine(TppBandedReport* report) : TppCustomEngine(nullptr), report_(report) {}

TppEngine::~TppEngine() { BeginDestroy(); }

void TppEngine::Reset() {
  page_.Reset();
  pageNo_ = 0;
  highestPage_ = 0;
  dataEnded_ = false;
  summaryDone_ = false;
  lastPage_ = false;
  done_ = false;
  stop_ = false;
  hasContent_ = false;
  firstPassStarted_ = false;
  for (int i = 0; i < report_->BandCount(); ++i)
    if (TppBand* band = report_->Bands(i)) band->PrintState = TppBandPrintState();
}

void TppEngine::Pump() {
  if (report_->EnableProcessMessages()) ProcessMessages();
}

void TppEngine::Generate(const TppPageRequest& request) {
  // A request that arrives through the events processed during a
  // generation would restart it under itself.
  if (busy_) return;
  TScopedFlag busy(busy_);
  request_ = request;
  done_ = false;
  stop_ = false;
  StartReport();
  while (!done_ && !stop_) {
    GeneratePage();
    if (stop_) break;
    done_ = DecideNext(request_);
    Pump();
  }
}

void TppEngine::StartReport() {
  for (int i = 0; i < report_->BandCount(); ++i) {
    if (TppBand* band = report_->Bands(i)) {
      band->PrintState = TppBandPrintState();
      for (int j = 0; j < band->ObjectCount(); ++j)
        if (TppPrintable* c = band->Objects(j)) c->ResetPrintState();
    }
  }
  startDateTime_ = QDateTime::currentDateTime();
  pageNo_ = 0;
  highestPage_ = 0;
  dataEnded_ = false;
  summaryDone_ = false;
  lastPage_ = false;
  firstPassStarted_ = false;
  problems_.clear();
  RefuseWhatIsNotPrinted();
  // A report that does not stop by itself, with no page limit, would print
  // its detail band on pages for ever.  No data is ever walked here (data
  // pipelines are not built), so a pipeline's name changes nothing.
  const TppDetailBand* detail = report_->DetailBand();
  if (detail && detail->Visible() && !report_->AutoStop() && detail->PrintCount() <= 0 &&
      report_->PageLimit() <= 0)
    throw EPrintError(EngineMessage(msgReportNeverEnds));
}

void TppEngine::RefuseWhatIsNotPrinted() const {
  // Bands and settings a design may hold but this engine does not print:
  // a report that uses them would come out without them.
  auto refuse = [](const char* what) {
    throw EPrintError(EngineMessage(msgNotPrinted, {QString::fromUtf8(what)}));
  };
  for (int i = 0; i < report_->BandCount(); ++i) {
    const TppBand* band = report_->Bands(i);
    if (!band) continue;
    switch (band->BandType()) {
      case btColumnFooter: refuse("rodapés de coluna"); break;
      case btGroupHeader:
      case btGroupFooter: refuse("bandas de grupo"); break;
      case btPageStyle: refuse("estilos de página"); break;
      default: break;
    }
  }
  if (report_->Columns() > 1) refuse("várias colunas (Columns)");
  if (report_->PassSetting() == psTwoPass) refuse("duas passagens (PassSetting)");
}

bool TppEngine::DecideNext(const TppPageRequest& request) {
  if (lastPage_) return true;
  switch (request.PageSetting) {
    case psAll:
    case psPageRange:
    case psLastPage: return false;
    case psSinglePage: return pageNo_ >= request.PageRequested;
    case psFirstPage: return true;
    case psPageList:
      for (const QString& s : request.PageList)
        if (s.toInt() > pageNo_) return false;
      return true;
  }
  return true;
}

int TppEngine::FooterHeight() const {
  // The footer takes its height and its distance from the foot of the
  // printable area.
  const TppBand* footer = report_->FindBand(btFooter);
  return footer && footer->Visible() ? footer->mmHeight() + footer->mmBottomOffset() : 0;
}

int TppEngine::SpaceLimit(const TppBand* band) const {
  // The footer's own room is kept free for it below every other band.
  const int footer = band->BandType() == btFooter ? 0 : FooterHeight();
  return bottomLimit_ - footer - band->mmBottomOffset();
}

void TppEngine::NeverFits(const TppBand* band) const {
  throw EPrintError(EngineMessage(msgBandNeverFits, {band->UserName().isEmpty()
                                                         ? band->Name()
                                                         : band->UserName()}));
}

void TppEngine::GeneratePage() {
  ++pageNo_;
  StartPage();
  // Bands at the top of every page.
  const struct {
    TppBandType kind;
    bool firstPageOnly;
  } top[] = {{btHeader, false}, {btTitle, true}, {btColumnHeader, false}};
  for (const auto& t : top) {
    if (stop_) return;
    if (t.firstPageOnly && pageNo_ != 1) continue;
    TppBand* band = report_->FindBand(t.kind);
    if (!band) continue;
    // The same on every page: a band without room on a new page never fits.
    const TBandResult r = PrintBand(band, false);
    if (r == brNoRoom) NeverFits(band);
    if (r == brPrinted && t.firstPageOnly) firstPageBandsOnPage_ = true;
  }
  // The data.
  TppDetailBand* detail = report_->DetailBand();
  while (detail && !dataEnded_ && !stop_) {
    const int top = currentTop_;
    const TBandResult r = PrintBand(detail, true);
    if (r == brNoRoom) {
      // On a page that holds only what every page holds the band would
      // not fit on the next one either, unless its print position sent it
      // there.
      if (OnlyEveryPageBands() && !detail->PrintState.Deferred) NeverFits(detail);
      break;
    }
    if (r == brInvisible) dataEnded_ = true;  // nothing of the data prints
    // A band that takes no room and does not stop by itself would print
    // at the same place for ever, and the page would never end.
    if (r == brPrinted && !dataEnded_ && !stop_ && currentTop_ == top && !report_->AutoStop() &&
        detail->PrintCount() <= 0)
      throw EPrintError(EngineMessage(msgReportNeverEnds));
    Pump();
  }
  if (!detail) dataEnded_ = true;
  if (stop_) return;
  if (dataEnded_ && !summaryDone_) {
    TppBand* summary = report_->FindBand(btSummary);
    if (!summary) {
      summaryDone_ = true;
    } else if (PrintBand(summary, true) == brNoRoom) {
      if (OnlyEveryPageBands() && !summary->PrintState.Deferred) NeverFits(summary);
    } else {
      summaryDone_ = true;
    }
  }
  if (stop_) return;
  EndPage();
}

void TppEngine::StartPage() {
  if (pageNo_ == 1) report_->PublishEvent(report_, ppevStartReport);
  if (report_->OnStartPage) report_->OnStartPage(report_);
  report_->PublishEvent(report_, ppevStartPage);
  if (!firstPassStarted_) {
    firstPassStarted_ = true;
    if (report_->OnStartFirstPass) report_->OnStartFirstPass(report_);
    report_->PublishEvent(report_, ppevStartFirstPass);
  }
  const TppPageDef& def = page_.PageDef();
  left_ = def.mmMarginLeft;
  right_ = def.mmWidth - def.mmMarginRight;
  currentTop_ = def.mmMarginTop;
  lowest_ = currentTop_;
  bottomLimit_ = def.mmHeight - def.mmMarginBottom;
  page_.Clear();
  highestPage_ = std::max(highestPage_, pageNo_);
  hasContent_ = false;
  dataBandsOnPage_ = 0;
  firstPageBandsOnPage_ = false;
  FillPageFields(false);
  if (PageReady) PageReady(page_);
}

void TppEngine::EndPage() {
  if (TppBand* footer = report_->FindBand(btFooter); footer && footer->Visible()) {
    // The footer sits at the foot of the printable area, its bottom offset
    // above the foot.
    currentTop_ = bottomLimit_ - footer->mmHeight() - footer->mmBottomOffset();
    PrintBand(footer, false);
  }
  if (stop_) return;
  if (report_->OnEndPage) report_->OnEndPage(report_);
  if (dataEnded_ && summaryDone_) lastPage_ = true;
  // A page limit ends the report on its last allowed page.
  if (report_->PageLimit() > 0 && pageNo_ >= report_->PageLimit()) lastPage_ = true;
  FillPageFields(true);
  if (PageReady) PageReady(page_);
  if (lastPage_) {
    if (report_->OnEndFirstPass) report_->OnEndFirstPass(report_);
    report_->PublishEvent(report_, ppevEndFirstPass);
  }
}

void TppEngine::FillPageFields(bool complete) {
  page_.AbsolutePageNo = pageNo_;
  page_.AbsolutePageCount = highestPage_;
  page_.ControlGroupBreakNo = 0;
  page_.DocumentName = report_->PrinterSetup()->DocumentName();
  page_.FirstPage = pageNo_ == 1;
  page_.LanguageIndex = report_->LanguageIndex();
  page_.LastPage = lastPage_ && pageNo_ == highestPage_;
  page_.PassSetting = report_->PassSetting();
  page_.PageNo = pageNo_;
  page_.PageCount = highestPage_;
  page_.PrintDateTime = startDateTime_;
  page_.TrimBox = report_->TrimBox;
  page_.BleedBox = report_->BleedBox;
  page_.Final = true;  // one pass: every page is final
  page_.Blank = !complete || !hasContent_;
}

TppEngine::TBandResult TppEngine::PrintBand(TppBand* band, bool dataBand) {
  TppBandPrintState& state = band->PrintState;
  state.Started = true;
  state.Done = false;
  state.NoRoom = false;
  state.PrintCount = 0;
  state.ToPrint.clear();
  if (band->BeforeGenerate) band->BeforeGenerate(band);
  for (int j = 0; j < band->ObjectCount(); ++j)
    if (TppPrintable* c = band->Objects(j)) c->ResetPrintState();
  if (band->BeforePrint) band->BeforePrint(band);
  if (!band->Visible()) {
    state.Done = true;
    state.Started = false;
    if (band->AfterPrint) band->AfterPrint(band);
    return brInvisible;
  }

  const int limit = SpaceLimit(band);
  state.SpaceLimit = limit;
  int top = currentTop_;
  const bool dynamic = band->PrintHeight() == phDynamic;
  if (const int position = band->mmPrintPosition(); position != 0) {
    if (position >= limit)
      throw EPrintError(EngineMessage(msgPrintPositionExceedsSpace) + QLatin1Char('.'));
    if (position >= top && (dynamic || position + band->mmHeight() <= limit)) {
      top = position;
      state.Deferred = false;
    } else if (!state.Deferred) {
      // Once to the next page; there it prints where the page has room.
      state.Deferred = true;
      state.NoRoom = true;
      state.Started = false;
      return brNoRoom;
    } else {
      state.Deferred = false;
    }
  }
  if (!dynamic && limit - top < band->mmHeight()) {
    state.NoRoom = true;
    state.Started = false;
    return brNoRoom;
  }
  state.Rect = {left_, top, right_, dynamic ? limit : top + band->mmHeight()};

  // Where each component prints.  A component of a dynamic band that does
  // not fit sends the whole band to the next page.
  int lowest = top;
  std::vector<TComponentRef<TppPrintable>> toPrint;
  for (int j = 0; j < band->ObjectCount() && !stop_; ++j) {
    TppPrintable* c = band->Objects(j);
    if (!c) continue;
    c->ComputePrintRect();
    if (!c->Fits()) {
      state.NoRoom = true;
      state.Started = false;
      return brNoRoom;
    }
    if (c->UsedPrintHeight() > 0) {
      toPrint.emplace_back(c);
      lowest = std::max(lowest, c->PrintRect().Bottom);
    }
  }
  if (stop_) return brPrinted;
  ++state.TimesPrinted;
  ++state.PrintCount;
  state.ToPrint = std::move(toPrint);
  if (band->AfterGenerate) band->AfterGenerate(band);
  state.UsedHeight = dynamic ? lowest - top : band->mmHeight();
  const int advance = state.UsedHeight + band->mmBottomOffset();
  currentTop_ = top + advance;
  lowest_ = std::max(lowest_, currentTop_);
  hasContent_ = true;
  if (dataBand) ++dataBandsOnPage_;
  PrintComponents(band);
  if (band->AfterPrint) band->AfterPrint(band);
  if (dataBand && band == report_->DetailBand()) StepDetailRecord(band);
  state.Started = false;
  return brPrinted;
}

void TppEngine::PrintComponents(TppBand* band) {
  // The list holds references: a component destroyed while events were
  // processed is passed over.
  const std::vector<TComponentRef<TppPrintable>> list = band->PrintState.ToPrint;
  for (const TComponentRef<TppPrintable>& ref : list) {
    if (stop_) return;
    TppPrintable* c = ref.Get();
    if (!c) continue;
    try {
      c->PrintToPage(&page_);
    } catch (const EPrintError&) {
      throw;
    } catch (const Exception& e) {
      // One component that cannot print does not stop the others.
      problems_.append(c->Description() + QStringLiteral(": ") + e.Message);
      qWarning().noquote() << "report component not printed:" << problems_.last();
    } catch (const std::exception& e) {
      problems_.append(c->Description() + QStringLiteral(": ") + QString::fromLocal8Bit(e.what()));
      qWarning().noquote() << "report component not printed:" << problems_.last();
    }
    Pump();
  }
}

void TppEngine::StepDetailRecord(TppBand* band) {
  auto* detail = dynamic_cast<TppDetailBand*>(band);
  if (!detail) return;
  TppBandPrintState& state = band->PrintState;
  // A report without data has no records to move through.
  if (++state.BandsThisRecord >= detail->BandsPerRecord()) state.BandsThisRecord = 0;
  if (detail->PrintCount() > 0) {
    if (state.TimesPrinted >= detail->PrintCount()) {
      state.Done = true;
      dataEnded_ = true;
    }
  } else if (report_->AutoStop() && state.TimesPrinted == 1) {
    state.Done = true;
    dataEnded_ = true;
  }
}
