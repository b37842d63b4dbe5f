// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppDrwCmd.h"

#include "platform/Types.h"
#include "report/ppBands.h"
#include "report/ppDevice.h"
#include "report/ppPrnabl.h"
#include "report/ppUtils.h"

#include <QPainter>
#include <algorithm>
#include <typeinfo>

namespace {

void Erase(std::vector<TppDrawCommand*>& v, TppDrawCommand* c) {
  v.erase(std::remove(v.begin(), v.end(), c), v.end());
}

// The engine's command classes are created by name when pages are copied.
struct RegisterCommandClasses {
  RegisterCommandClasses() {
    RegisterClass<TppDrawText>();
    RegisterClass<TppDrawShape>();
    RegisterClass<TppDrawImage>();
    RegisterClass<TppDrawLine>();
  }
  ~RegisterCommandClasses() {
    for (const QString& name : {TppDrawText::StaticClassName(), TppDrawShape::StaticClassName(),
                                TppDrawImage::StaticClassName(), TppDrawLine::StaticClassName()})
      UnRegisterClass(name);
  }
};
const RegisterCommandClasses registerCommandClasses;

}  // namespace

// ---------------------------------------------------------------------------
// Draw command

TppDrawCommand::TppDrawCommand(TComponent* owner) : TComponent(owner) {}

TppDrawCommand::~TppDrawCommand() {
  Destroying();
  SetPage(nullptr);
}

void TppDrawCommand::SetPage(TppPage* page) {
  if (page == page_) return;
  if (page_) page_->Detach(this);
  if (page) page->Attach(this);
}

void TppDrawCommand::Assign(const TppDrawCommand& source) {
  band_ = source.band_;
  Clickable = source.Clickable;
  PagePrintableRect = source.PagePrintableRect;
  DataType = source.DataType;
  DeviceRect = source.DeviceRect;
  Left = source.Left;
  Top = source.Top;
  Width = source.Width;
  Height = source.Height;
  Clip = source.Clip;
  ClipRect = source.ClipRect;
  ClipEllipse = source.ClipEllipse;
  ClipHole = source.ClipHole;
  component_ = source.component_;
  SetTag(source.Tag());
}

bool TppDrawCommand::DrawOn(TppDevice* device) { return device && device->RenderCommand(this); }

void TppDrawCommand::Click() {
  if (TppPrintable* c = Component()) c->DrawCommandClick(this);
}

TppBand* TppDrawCommand::Band() const { return band_.Get(); }
void TppDrawCommand::SetBand(TppBand* band) { band_ = band; }
TppPrintable* TppDrawCommand::Component() const { return component_.Get(); }
void TppDrawCommand::SetComponent(TppPrintable* component) { component_ = component; }

// ---------------------------------------------------------------------------
// Text

TppDrawText::TppDrawText(TComponent* owner) : TppDrawCommand(owner) {}

void TppDrawText::SetAlignment(TAlignment value) {
  alignment_ = value;
  switch (value) {
    case taLeftJustify: TextAlignment = taLeftJustified; break;
    case taRightJustify: TextAlignment = taRightJustified; break;
    case taCenter: TextAlignment = taCentered; break;
  }
}

TppPrintable* TppDrawText::TextComponent() const { return textComponent_.Get(); }
void TppDrawText::SetTextComponent(TppPrintable* component) { textComponent_ = component; }

void TppDrawText::CopyTextFields(const TppDrawText& s) {
  alignment_ = s.alignment_;
  AutoSize = s.AutoSize;
  Color = s.Color;
  Font = s.Font;
  IsMemo = s.IsMemo;
  Leading = s.Leading;
  Text = s.Text;
  Transparent = s.Transparent;
  WordWrap = s.WordWrap;
  WrappedText = s.WrappedText;
  TabStopPositions = s.TabStopPositions;
  BandSave = s.BandSave;
  BandSaveNo = s.BandSaveNo;
  textComponent_ = s.textComponent_;
  ComponentSave = s.ComponentSave;
  ComponentSaveNo = s.ComponentSaveNo;
  ForceJustifyLastLine = s.ForceJustifyLastLine;
  TextAlignment = s.TextAlignment;
  SaveLength = s.SaveLength;
}

void TppDrawText::Assign(const TppDrawCommand& source) {
  TppDrawCommand::Assign(source);
  if (auto* s = dynamic_cast<const TppDrawText*>(&source)) CopyTextFields(*s);
}

// ---------------------------------------------------------------------------
// Shape, image, line

TppDrawShape::TppDrawShape(TComponent* owner) : TppDrawCommand(owner) { DataType = dtGraphic; }

void TppDrawShape::Assign(const TppDrawCommand& source) {
  TppDrawCommand::Assign(source);
  if (auto* s = dynamic_cast<const TppDrawShape*>(&source)) {
    Brush = s->Brush;
    Pen = s->Pen;
    ShapeType = s->ShapeType;
    XCornerRound = s->XCornerRound;
    YCornerRound = s->YCornerRound;
  }
}

TppDrawImage::TppDrawImage(TComponent* owner) : TppDrawCommand(owner) { DataType = dtGraphic; }

void TppDrawImage::Assign(const TppDrawCommand& source) {
  TppDrawCommand::Assign(source);
  if (auto* s = dynamic_cast<const TppDrawImage*>(&source)) {
    Center = s->Center;
    MaintainAspectRatio = s->MaintainAspectRatio;
    SetPicture(s->picture_);
    Scale = s->Scale;
    Stretch = s->Stretch;
    Transparent = s->Transparent;
    DirectDraw = s->DirectDraw;
  }
}

void TppDrawImage::SetPicture(const TPicture& picture) {
  picture_ = picture;
  cachedBitmap_ = QImage();
  cached_ = false;
}

QImage TppDrawImage::CachedBitmap() const {
  if (cached_) return cachedBitmap_;
  cached_ = true;
  const QString format = picture_.Format();
  if (picture_.Empty() || format == QLatin1String("ico") || format == QLatin1String("wmf") ||
      format == QLatin1String("emf") || format == QLatin1String("svg"))
    return cachedBitmap_;
  const QImage image = picture_.ToImage();
  if (format == QLatin1String("bmp") || !image.hasAlphaChannel()) {
    // A bitmap is its own; an opaque picture already is what drawing it
    // onto a bitmap gives.
    cachedBitmap_ = image;
  } else {
    // Transparent parts show the paper, never undefined pixels.
    cachedBitmap_ = QImage(image.size(), QImage::Format_RGB32);
    cachedBitmap_.fill(Qt::white);
    QPainter p(&cachedBitmap_);
    p.drawImage(0, 0, image);
  }
  return cachedBitmap_;
}

TppDrawLine::TppDrawLine(TComponent* owner) : TppDrawCommand(owner) { DataType = dtGraphic; }

void TppDrawLine::Assign(const TppDrawCommand& source) {
  TppDrawCommand::Assign(source);
  if (auto* s = dynamic_cast<const TppDrawLine*>(&source)) {
    LinePosition = s->LinePosition;
    LineStyle = s->LineStyle;
    Pen = s->Pen;
    Weight = s->Weight;
  }
}

// ---------------------------------------------------------------------------
// Page

TppPage::TppPage(TComponent* owner)
    : TComponent(owner), printerSetup_(std::make_unique<TppPrinterSetup>()) {}

TppPage::~TppPage() {
  Destroying();
  Clear();
}

void TppPage::SetPrinterSetup(const TppPrinterSetup* setup) {
  if (setup) printerSetup_->Assign(*setup);
}

void TppPage::Attach(TppDrawCommand* c) {
  c->page_ = this;
  commands_.push_back(c);
  if (c->IsDeferred()) deferred_.push_back(c);
  if (c->Clickable) {
    clickable_.push_back(c);
    c->inClickableList_ = true;
  }
  InsertComponent(c);
}

void TppPage::Detach(TppDrawCommand* c) {
  Erase(commands_, c);
  Erase(deferred_, c);
  Erase(clickable_, c);
  c->inClickableList_ = false;
  c->page_ = nullptr;
  RemoveComponent(c);
}

void TppPage::Clear() {
  std::vector<TppDrawCommand*> commands;
  commands.swap(commands_);
  deferred_.clear();
  clickable_.clear();
  for (TppDrawCommand* c : commands) {
    c->page_ = nullptr;
    c->inClickableList_ = false;
    RemoveComponent(c);
    delete c;
  }
}

void TppPage::Reset() {
  Clear();
  AbsolutePageNo = 0;
  AbsolutePageCount = 0;
  Blank = false;
  Final = false;
  ControlGroupBreakNo = 0;
  DocumentName.clear();
  LanguageIndex = 0;
  LastPage = false;
  PageCount = 0;
  PageNo = 0;
  TrimBox = {};
  BleedBox = {};
}

void TppPage::Assign(const TppPage& source) {
  if (&source == this) return;
  AbsolutePageNo = source.AbsolutePageNo;
  AbsolutePageCount = source.AbsolutePageCount;
  Blank = source.Blank;
  ControlGroupBreakNo = source.ControlGroupBreakNo;
  DocumentName = source.DocumentName;
  Final = source.Final;
  FirstPage = source.FirstPage;
  LanguageIndex = source.LanguageIndex;
  LastPage = source.LastPage;
  PageNo = source.PageNo;
  PageCount = source.PageCount;
  PassSetting = source.PassSetting;
  PrintDateTime = source.PrintDateTime;
  TrimBox = source.TrimBox;
  BleedBox = source.BleedBox;
  SetPrinterSetup(source.printerSetup_.get());
  Clear();
  for (const TppDrawCommand* from : source.commands_) {
    TComponent* made = CreateComponentOfClass(from->ClassName(), this);
    auto* to = dynamic_cast<TppDrawCommand*>(made);
    // A class that is not registered, or that answers the class name of
    // its base, would be copied as another kind of command.
    if (!to || typeid(*to) != typeid(*from)) {
      delete made;
      throw Exception(QStringLiteral("O comando de desenho %1 não está registado.").arg(from->ClassName()));
    }
    to->Assign(*from);
    to->SetPage(this);
  }
}

QString TppPage::Description() const {
  return EngineMessage(msgPage) + QLatin1Char(' ') + QString::number(AbsolutePageNo);
}

QString TppPage::LongDescription() const {
  return Description() + QLatin1Char(' ') + EngineMessage(msgOf) + QLatin1Char(' ') +
         QString::number(AbsolutePageCount);
}
