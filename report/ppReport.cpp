// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppReport.h"

#include "report/ppBands.h"
#include "report/ppEngine.h"
#include "report/ppUtils.h"

void TppCustomReport::SetColumns(int value) {
  if (value >= 1) columns_ = value;
}

void TppCustomReport::SetmmColumnWidth(int value) { mmColumnWidth_ = std::max(value, 0); }

float TppCustomReport::ColumnWidth() const {
  TppPrinter* p = Units() == utPrinterPixels ? Printer() : nullptr;
  return MMThousandthsToUnits(mmColumnWidth_, Units(), dirHorizontal, p);
}

void TppCustomReport::SetColumnWidth(float value) {
  TppPrinter* p = Units() == utPrinterPixels ? Printer() : nullptr;
  SetmmColumnWidth(UnitsToMMThousandths(Units(), dirHorizontal, p, value));
}

void TppCustomReport::SetPageLimit(int value) {
  if (value >= 0) pageLimit_ = value;
}

void TppCustomReport::Loaded() {
  TppProducer::Loaded();
  PrinterSetup()->Loaded();
}

TppBandedReport::TppBandedReport(TComponent* owner)
    : TppCustomReport(owner), engine_(std::make_unique<TppEngine>(this)) {
  engine_->PageReady = [this](TppPage& page) { Publisher()->AcceptPage(page); };
}

TppBandedReport::~TppBandedReport() {
  // The engine's page goes before the bands its commands point back to.
  engine_.reset();
}

void TppBandedReport::ResetEngines() { engine_->Reset(); }

void TppBandedReport::GeneratePages(const TppPageRequest& request) {
  TppPage& page = engine_->Page();
  // Another printer or orientation: the pages made so far are of no use.
  if (!page.PrinterSetup()->IsEqualPrinterAndOrientation(*PrinterSetup())) engine_->Reset();
  page.SetPrinterSetup(PrinterSetup());
  engine_->Generate(request);
}

void TppBandedReport::StopEngines() { engine_->Stop(); }

bool TppBandedReport::EngineRunning() const { return engine_->Busy(); }

QStringList TppBandedReport::GenerationProblems() const { return engine_->Problems(); }

int TppBandedReport::BandCount() const { return ChildCount(); }

TppBand* TppBandedReport::Bands(int index) const { return dynamic_cast<TppBand*>(Child(index)); }

TppBand* TppBandedReport::FindBand(TppBandType kind) const {
  for (int i = 0; i < BandCount(); ++i)
    if (TppBand* b = Bands(i); b && b->BandType() == kind) return b;
  return nullptr;
}

TppDetailBand* TppBandedReport::DetailBand() const {
  return dynamic_cast<TppDetailBand*>(FindBand(btDetail));
}

void TppBandedReport::AddBand(TppBand* band) {
  if (band) band->SetReport(this);
}

TppReport::TppReport(TComponent* owner) : TppBandedReport(owner) {
  PrinterSetup()->SetDocumentName(UserName());
}
