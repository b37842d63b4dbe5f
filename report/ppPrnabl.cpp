// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppPrnabl.h"

#include "report/ppBands.h"
#include "report/ppDrwCmd.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"

#include <algorithm>
#include <memory>

TppPrintable::TppPrintable(TComponent* owner)
    : TppCacheable(owner),
      // A new component is 65 x 17 screen pixels.
      mmWidth_(UnitsToMMThousandths(utScreenPixels, dirHorizontal, nullptr, 65)),
      mmHeight_(UnitsToMMThousandths(utScreenPixels, dirVertical, nullptr, 17)) {}

TppPrintable::~TppPrintable() { BeginDestroy(); }

// ---------------------------------------------------------------------------
// The band

TppBand* TppPrintable::Band() const { return dynamic_cast<TppBand*>(Parent()); }

void TppPrintable::SetBand(TppBand* band) { SetParent(band); }

void TppPrintable::SetParentComponent(TComponent* parent) {
  if (auto* band = dynamic_cast<TppBand*>(parent)) SetBand(band);
}

TComponent* TppPrintable::GetParentComponent() const { return Band(); }

void TppPrintable::Loaded() {
  TppCacheable::Loaded();
  FitToBand();
}

void TppPrintable::ParentChanged(TppRelative* oldParent) {
  TppCacheable::ParentChanged(oldParent);
  TppBand* band = Band();
  if (band) {
    units_ = band->Units();
    bandType_ = band->BandType();
    groupNo_ = band->GroupNo();
    FitToBand();
  } else {
    groupNo_ = -1;
  }
  BandChanged();
  Changed();
}

void TppPrintable::SetBandType(int code) {
  if (IsReading() && !Band()) bandType_ = code;
}

// ---------------------------------------------------------------------------
// Geometry

void TppPrintable::SetMMBounds(int left, int top, int height, int width) {
  if (!IsReading()) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (TppBand* band = Band()) {
      const int bandWidth = band->mmWidth();
      if (bandWidth > 0) left = std::min(left, bandWidth);
      if (IsDesigning()) top = std::min(top, band->mmHeight());
      if (parentWidth_) {
        left = 0;
        width = bandWidth;
      }
      if (parentHeight_) {
        top = 0;
        height = band->mmHeight();
      }
    }
  }
  if (left == mmLeft_ && top == mmTop_ && width == mmWidth_ && height == mmHeight_) return;
  mmLeft_ = left;
  mmTop_ = top;
  mmWidth_ = width;
  mmHeight_ = height;
  BoundsChanged();
}

void TppPrintable::SetClip(const TppRect& bandRect, bool ellipse) {
  if (clip_ && clipRect_ == bandRect && clipEllipse_ == ellipse) return;
  clip_ = true;
  clipRect_ = bandRect;
  clipEllipse_ = ellipse;
  Changed();
}

void TppPrintable::SetClipHole(const TppRect& bandRect) {
  if (clipHole_ == bandRect) return;
  clipHole_ = bandRect;
  Changed();
}

void TppPrintable::RemoveClip() {
  if (!clip_) return;
  clip_ = false;
  Changed();
}

void TppPrintable::FitToBand() {
  if (parentWidth_ || parentHeight_) SetMMBounds(mmLeft_, mmTop_, mmHeight_, mmWidth_);
}

void TppPrintable::BoundsChanged() { Changed(); }

TppPrinter* TppPrintable::GetPrinter() const {
  if (TppBand* band = Band()) return band->GetPrinter();
  return SharedPrinter();
}

TppPrinter* TppPrintable::ConversionPrinter() const {
  // Only printer pixels depend on a printer; other units spare the report
  // from applying its setup to the printer on every read.
  return units_ == utPrinterPixels ? GetPrinter() : nullptr;
}

float TppPrintable::Left() const {
  return MMThousandthsToUnits(mmLeft_, units_, dirHorizontal, ConversionPrinter());
}
float TppPrintable::Top() const {
  return MMThousandthsToUnits(mmTop_, units_, dirVertical, ConversionPrinter());
}
float TppPrintable::Width() const {
  return MMThousandthsToUnits(mmWidth_, units_, dirHorizontal, ConversionPrinter());
}
float TppPrintable::Height() const {
  return MMThousandthsToUnits(mmHeight_, units_, dirVertical, ConversionPrinter());
}

void TppPrintable::SetLeft(float value) {
  const int mm = IsReading() ? ppTrunc(value)
                             : UnitsToMMThousandths(units_, dirHorizontal, ConversionPrinter(), value);
  SetMMBounds(mm, mmTop_, mmHeight_, mmWidth_);
}
void TppPrintable::SetTop(float value) {
  const int mm = IsReading() ? ppTrunc(value)
                             : UnitsToMMThousandths(units_, dirVertical, ConversionPrinter(), value);
  SetMMBounds(mmLeft_, mm, mmHeight_, mmWidth_);
}
void TppPrintable::SetWidth(float value) {
  const int mm = IsReading() ? ppTrunc(value)
                             : UnitsToMMThousandths(units_, dirHorizontal, ConversionPrinter(), value);
  SetMMBounds(mmLeft_, mmTop_, mmHeight_, mm);
}
void TppPrintable::SetHeight(float value) {
  const int mm = IsReading() ? ppTrunc(value)
                             : UnitsToMMThousandths(units_, dirVertical, ConversionPrinter(), value);
  SetMMBounds(mmLeft_, mmTop_, mm, mmWidth_);
}

// ---------------------------------------------------------------------------
// Layout flags and appearance

namespace {
// Stores a changed value; true when it changed.
template <class T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TppPrintable::SetVisible(bool value) {
  if (Store(visible_, value)) Changed();
}
void TppPrintable::SetReprintOnOverFlow(bool value) {
  if (Store(reprintOnOverFlow_, value)) Changed();
}
void TppPrintable::SetShiftWithParent(bool value) {
  if (Store(shiftWithParent_, value)) Changed();
}
void TppPrintable::SetStretchWithParent(bool value) {
  if (Store(stretchWithParent_, value)) Changed();
}
void TppPrintable::SetParentWidth(bool value) {
  if (!Store(parentWidth_, value)) return;
  FitToBand();
  Changed();
}
void TppPrintable::SetParentHeight(bool value) {
  if (!Store(parentHeight_, value)) return;
  FitToBand();
  Changed();
}

void TppPrintable::SetColor(TColor value) {
  if (Store(color_, value)) Changed();
}

void TppPrintable::SetFont(const TFont& value) {
  // Fonts compare by their appearance; a copy is taken whatever it is.
  const bool same = font_ == value && font_.Height == value.Height;
  font_ = value;
  if (same) return;
  AutoSizeBounds();
  Changed();
}

void TppPrintable::SetTransparent(bool value) {
  if (Store(transparent_, value)) Changed();
}

void TppPrintable::SetAutoSize(bool value) {
  if (!Store(autoSize_, value)) return;
  AutoSizeBounds();
  Changed();
}

void TppPrintable::SetWordWrap(bool value) {
  if (!Store(wordWrap_, value)) return;
  AutoSizeBounds();
  if (TppBand* band = Band()) band->Changed();
  Changed();
}

void TppPrintable::SetTextAlignment(TppTextAlignment value) {
  if (!Store(textAlignment_, value)) return;
  alignment_ = value == taRightJustified ? taRightJustify
               : value == taCentered     ? taCenter
                                         : taLeftJustify;
  Changed();
}

void TppPrintable::SetCaption(const QString& value) {
  if (!Store(caption_, value)) return;
  if (autoSize_) AutoSizeBounds();
  Changed();
}

// ---------------------------------------------------------------------------
// Draw commands

void TppPrintable::FillDrawCommand(TppDrawCommand* command) {
  command->SetTag(Tag());
  command->SetBand(Band());
  command->Clip = clip_;
  command->ClipRect = clip_ ? printClip_ : TppRect();
  command->ClipEllipse = clip_ && clipEllipse_;
  command->ClipHole = clip_ ? printHole_ : TppRect();
}

// ---------------------------------------------------------------------------
// Generation

bool TppPrintable::IsPrinting() const {
  const TppBand* band = Band();
  const TppCustomReport* report = band ? band->Report() : nullptr;
  return report && report->Printing();
}

void TppPrintable::ResetPrintState() {
  ready_ = visible_;
  fits_ = true;
  usedPrintHeight_ = 0;
}

void TppPrintable::ComputePrintRect() {
  TppBand* band = Band();
  if (!band) return;
  const bool wasVisible = visible_;
  if (OnPrint) OnPrint(this);
  PublishEvent(this, ppevPrint);
  // Made visible by its handler: it prints.
  if (!wasVisible && !ready_ && visible_) ready_ = true;
  if (!ready_ || !visible_) return;
  const TppBandPrintState& b = band->PrintState;
  const int left = b.Rect.Left + mmLeft_;
  const int top = b.Rect.Top + mmTop_;
  int height = mmHeight_;
  if (stretchWithParent_ && band->PrintHeight() == phStatic)
    height = std::max(height, b.Rect.Bottom - top);
  // What is clipped away takes no room.
  int reach = top + height;
  if (clip_) {
    printClip_ = {b.Rect.Left + clipRect_.Left, b.Rect.Top + clipRect_.Top,
                  b.Rect.Left + clipRect_.Right, b.Rect.Top + clipRect_.Bottom};
    reach = std::min(reach, printClip_.Bottom);
    printHole_ = clipHole_.Right > clipHole_.Left && clipHole_.Bottom > clipHole_.Top
                     ? TppRect{b.Rect.Left + clipHole_.Left, b.Rect.Top + clipHole_.Top,
                               b.Rect.Left + clipHole_.Right, b.Rect.Top + clipHole_.Bottom}
                     : TppRect();
  }
  if (band->PrintHeight() == phDynamic && reach > b.SpaceLimit + 1) {
    // Continues on the next page with its band.
    fits_ = false;
    return;
  }
  printRect_ = {left, top, left + mmWidth_, top + height};
  usedPrintHeight_ = height;
  AfterPrintPositioning();
  printRect_.Bottom = top + usedPrintHeight_;
}

void TppPrintable::PrintToPage(TppPage* page) {
  if (page && ready_ && visible_) MakeDrawCommand(page);
}

TppDrawCommand* TppPrintable::MakeDrawCommand(TppPage* page) {
  TComponent* made = CreateComponentOfClass(drawCommandClass_, nullptr);
  auto* command = dynamic_cast<TppDrawCommand*>(made);
  if (!command) {
    delete made;
    throw Exception(QStringLiteral("O comando de desenho %1 não está registado.").arg(drawCommandClass_));
  }
  std::unique_ptr<TppDrawCommand> owned(command);
  FillDrawCommand(command);
  bool listened = false;
  for (int i = 0; i < ListenerCount() && !listened; ++i)
    listened = Listeners(i)->WantsEvent(ppevDrawCommandClick);
  command->Clickable = bool(OnDrawCommandClick) || listened;
  command->SetComponent(this);
  command->PagePrintableRect = page->PageDef().PrintableRect();
  if (OnDrawCommandCreate) OnDrawCommandCreate(this, command);
  owned.release();
  command->SetPage(page);
  TppEventParams params{static_cast<TppDrawCommand*>(command)};
  PublishEvent(this, ppevDrawCommandCreate, params);
  return command;
}

void TppPrintable::DrawCommandClick(TppDrawCommand* command) {
  if (OnDrawCommandClick) OnDrawCommandClick(this, command);
  TppEventParams params{command};
  PublishEvent(this, ppevDrawCommandClick, params);
}

QString TppPrintable::Description() const {
  if (!description_.isEmpty()) return description_;
  if (const QString user = UserName(); !user.isEmpty()) return user;
  return Name().isEmpty() ? ClassName() : Name();
}
