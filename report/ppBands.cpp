// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppBands.h"

#include "report/ppPrnabl.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"

#include <algorithm>

TppBand::TppBand(TComponent* owner) : TppCacheable(owner) {}

TppBand::~TppBand() { BeginDestroy(); }

TppCustomReport* TppBand::Report() const { return dynamic_cast<TppCustomReport*>(Parent()); }

void TppBand::SetReport(TppCustomReport* report) { SetParent(report); }

void TppBand::SetParentComponent(TComponent* parent) {
  if (auto* report = dynamic_cast<TppCustomReport*>(parent)) SetReport(report);
}

TComponent* TppBand::GetParentComponent() const { return Report(); }

void TppBand::ParentChanged(TppRelative* oldParent) {
  TppCacheable::ParentChanged(oldParent);
  if (TppCustomReport* report = Report()) SetUnits(report->Units());
  Changed();
}

TppPrintable* TppBand::Objects(int index) const {
  return dynamic_cast<TppPrintable*>(Child(index));
}

int TppBand::mmWidth() const {
  const TppCustomReport* report = Report();
  return report ? report->PrinterSetup()->PageDef().mmPrintableWidth() : 0;
}

void TppBand::SetmmHeight(int value) {
  value = std::max(value, 0);
  if (value == mmHeight_) return;
  mmHeight_ = value;
  Changed();
}

void TppBand::SetmmBottomOffset(int value) {
  value = std::max(value, 0);
  if (value == mmBottomOffset_) return;
  mmBottomOffset_ = value;
  Changed();
}

void TppBand::SetmmPrintPosition(int value) {
  value = std::max(value, 0);
  if (value == mmPrintPosition_) return;
  mmPrintPosition_ = value;
  Changed();
}

TppPrinter* TppBand::GetPrinter() const {
  if (TppCustomReport* report = Report()) return report->Printer();
  return SharedPrinter();
}

TppPrinter* TppBand::ConversionPrinter() const {
  return units_ == utPrinterPixels ? GetPrinter() : nullptr;
}

int TppBand::FromUnits(float value) const {
  if (IsReading()) return ppTrunc(value);
  return UnitsToMMThousandths(units_, dirVertical, ConversionPrinter(), value);
}

float TppBand::Height() const {
  return MMThousandthsToUnits(mmHeight_, units_, dirVertical, ConversionPrinter());
}
float TppBand::BottomOffset() const {
  return MMThousandthsToUnits(mmBottomOffset_, units_, dirVertical, ConversionPrinter());
}
float TppBand::PrintPosition() const {
  return MMThousandthsToUnits(mmPrintPosition_, units_, dirVertical, ConversionPrinter());
}
void TppBand::SetHeight(float value) { SetmmHeight(FromUnits(value)); }
void TppBand::SetBottomOffset(float value) { SetmmBottomOffset(FromUnits(value)); }
void TppBand::SetPrintPosition(float value) { SetmmPrintPosition(FromUnits(value)); }

void TppBand::SetUnits(TppUnitType units) {
  units_ = units;
  for (int i = 0; i < ObjectCount(); ++i)
    if (TppPrintable* p = Objects(i)) p->SetUnits(units);
}

void TppBand::SetPrintHeight(TppPrintHeightType value) {
  if (value == printHeight_) return;
  printHeight_ = value;
  Changed();
}

void TppBand::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

void TppBand::SetSave(bool value) { save_ = value; }

// ---------------------------------------------------------------------------
// Detail band

void TppDetailBand::SetBandsPerRecord(int value) {
  value = std::max(value, 1);
  if (value == bandsPerRecord_) return;
  bandsPerRecord_ = value;
  Changed();
}

void TppDetailBand::SetColumnTraversal(TppColumnTraversalType value) {
  if (value == columnTraversal_) return;
  columnTraversal_ = value;
  // Columns filled left to right cannot grow with their content.
  if (value == ctLeftToRight && PrintHeight() == phDynamic) TppBasicBand::SetPrintHeight(phStatic);
  Changed();
}

void TppDetailBand::SetPrintHeight(TppPrintHeightType value) {
  if (value == phDynamic && columnTraversal_ == ctLeftToRight) return;
  TppBasicBand::SetPrintHeight(value);
}

void TppDetailBand::SetPrintCount(int value) {
  value = std::max(value, 0);
  if (value == printCount_) return;
  printCount_ = value;
  Changed();
}

void TppDetailBand::SetDataPipeline(const QString& name) {
  if (name == dataPipeline_) return;
  dataPipeline_ = name;
  NotifyLinked(ppopDataPipelineChange);
  Changed();
}
