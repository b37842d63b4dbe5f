// SPDX-License-Identifier: GPL-3.0-or-later
// Pages and draw commands: what generation hands to the output devices.
//
// A TppPage is a plain value: its draw commands say what to draw where, in
// thousandths of a millimetre from the paper's top-left corner (margins
// included), with copies of their own fonts, pens, brushes and pictures.
// Nothing on a page refers to a widget or a device.  A command keeps two
// back references, to the band and to the component that made it; they
// serve clicks in the preview and text export, answer null once that band
// or component is gone, and nothing that draws needs them.  So a page, or
// a copy of it, may outlive its report.
//
// Pages are copied through the class registry: every command class is
// registered under its class name (the engine's own four here), and a copy
// holds new commands of the same classes.
#pragma once

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "report/ppPrintr.h"
#include "report/ppTypes.h"

#include <QDateTime>
#include <QImage>
#include <QStringList>
#include <memory>
#include <vector>

class TppBand;
class TppDevice;
class TppPage;
class TppPrintable;

class TppDrawCommand : public TComponent {
 public:
  LURNS_COMPONENT(TppDrawCommand)
  explicit TppDrawCommand(TComponent* owner = nullptr);
  // Leaves its page.
  ~TppDrawCommand() override;

  // The page the command belongs to (its owner).  Setting it leaves the
  // old page and appends the command to the new page's commands (and to
  // its deferred and clickable lists when it is such a command).
  TppPage* Page() const { return page_; }
  void SetPage(TppPage* page);

  // Copies the fields of source: the base fields always, the fields of the
  // command's kind when source is of the same kind.  Fonts, pens, brushes,
  // pictures and string lists are copied.  The page is not.
  virtual void Assign(const TppDrawCommand& source);

  // Asks the device to draw the command; answers whether it was drawn.
  // The base hands the command to the device's RenderCommand.
  virtual bool DrawOn(TppDevice* device);
  // A deferred command is drawn again when late values (page counts)
  // arrive.
  virtual bool IsDeferred() const { return false; }
  virtual bool NeedsRedraw() const { return false; }

  // The command was clicked in a preview: the component that made it is
  // told (if it still exists).
  void Click();
  // Set by a click handler that changed what the page shows: the preview
  // makes the page again (and clears the flag).  Not copied with the
  // command.
  bool RedrawPage = false;

  // Back references; null once the band or component is gone.
  TppBand* Band() const;
  void SetBand(TppBand* band);
  TppPrintable* Component() const;
  void SetComponent(TppPrintable* component);

  // The device rectangle as a rectangle.
  TppRect DrawRect() const { return DeviceRect; }

  // --- Fields
  bool Clickable = false;
  // The printable area of the page (thousandths), copied when the command
  // is made.
  TppRect PagePrintableRect;
  TppDataType DataType = dtString;
  // Device pixels, written by a device just before it draws the command.
  TppRect DeviceRect;
  // Thousandths of a millimetre from the paper's left and top edges.
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  // With Clip, what the command draws stays inside ClipRect (thousandths
  // from the paper's corner), or inside the ellipse in it: the part of an
  // object beyond its sheet, of a picture beyond its disc, is not drawn.
  bool Clip = false;
  TppRect ClipRect;
  bool ClipEllipse = false;
  // With Clip, nothing is drawn inside the ellipse in ClipHole either (a
  // label's centre hole); empty: no hole.
  TppRect ClipHole;

 private:
  friend class TppPage;
  TppPage* page_ = nullptr;
  bool inClickableList_ = false;
  TComponentRef<TppBand> band_;
  TComponentRef<TppPrintable> component_;
};

// Text: one line, or the lines of WrappedText when WordWrap is set.
class TppDrawText : public TppDrawCommand {
 public:
  LURNS_COMPONENT(TppDrawText)
  explicit TppDrawText(TComponent* owner = nullptr);
  void Assign(const TppDrawCommand& source) override;

  // The legacy alignment; setting it also sets TextAlignment (left, right,
  // centred).
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // The text component that made the command (for text export); null once
  // it is gone.
  TppPrintable* TextComponent() const;
  void SetTextComponent(TppPrintable* component);

  bool AutoSize = false;
  TColor Color = clWhite;
  TFont Font;
  bool IsMemo = false;
  int Leading = 0;  // thousandths, memos only
  QString Text;
  bool Transparent = false;
  bool WordWrap = false;
  QStringList WrappedText;
  QStringList TabStopPositions;  // memos only
  // Text export (not used by the printer or the screen).
  bool BandSave = false;
  int BandSaveNo = 0;
  bool ComponentSave = false;
  int ComponentSaveNo = 0;
  int SaveLength = 0;
  bool ForceJustifyLastLine = false;
  TppTextAlignment TextAlignment = taLeftJustified;

 private:
  void CopyTextFields(const TppDrawText& source);

  TAlignment alignment_ = taLeftJustify;
  TComponentRef<TppPrintable> textComponent_;
};

// A rectangle, rounded rectangle or ellipse.
class TppDrawShape : public TppDrawCommand {
 public:
  LURNS_COMPONENT(TppDrawShape)
  explicit TppDrawShape(TComponent* owner = nullptr);
  void Assign(const TppDrawCommand& source) override;

  TBrush Brush;
  TPen Pen;
  TShapeType ShapeType = stRectangle;
  int XCornerRound = 0;  // thousandths
  int YCornerRound = 0;
};

// A picture in its box, stretched, centred or at its own size.
class TppDrawImage : public TppDrawCommand {
 public:
  LURNS_COMPONENT(TppDrawImage)
  explicit TppDrawImage(TComponent* owner = nullptr);
  void Assign(const TppDrawCommand& source) override;

  const TPicture& Picture() const { return picture_; }
  // Copies the picture; the cached bitmap is made again when asked for.
  void SetPicture(const TPicture& picture);
  // The picture as a bitmap, for the devices' bitmap path: a bitmap picture
  // is its own bitmap; metafiles, drawings and icons have none (a null
  // image: they are drawn directly); any other picture (JPEG, PNG, GIF) is
  // drawn once onto a white bitmap of its size, which is then kept.
  QImage CachedBitmap() const;

  bool Center = false;
  bool MaintainAspectRatio = false;
  bool Scale = false;
  bool Stretch = false;
  bool Transparent = false;
  bool DirectDraw = false;

 private:
  TPicture picture_;
  mutable QImage cachedBitmap_;
  mutable bool cached_ = false;
};

// A line along one edge of its box, its weight in points.
class TppDrawLine : public TppDrawCommand {
 public:
  LURNS_COMPONENT(TppDrawLine)
  explicit TppDrawLine(TComponent* owner = nullptr);
  void Assign(const TppDrawCommand& source) override;

  TppLinePositionType LinePosition = lpTop;
  TppLineStyleType LineStyle = lsSingle;
  TPen Pen;
  float Weight = 0;
};

class TppPage : public TComponent {
 public:
  LURNS_COMPONENT(TppPage)
  explicit TppPage(TComponent* owner = nullptr);
  // Frees its commands.
  ~TppPage() override;

  // --- Fields
  int AbsolutePageNo = 0;     // within the whole run, from 1
  int AbsolutePageCount = 0;  // pages known so far (final after the last page)
  bool Blank = false;         // not generated; devices skip it
  int ControlGroupBreakNo = 0;
  QString DocumentName;
  bool Final = false;  // complete; printers take only final pages
  bool FirstPage = false;
  int LanguageIndex = 0;
  bool LastPage = false;
  int PageNo = 0;     // within the current page-numbering group
  int PageCount = 0;
  TppPassSettingType PassSetting = psOnePass;
  QDateTime PrintDateTime;  // when the report run started
  // Where the paper of the page is cut (the frame of the sheet it holds)
  // and how far its artwork reaches beyond the cut, in thousandths from
  // the paper's corner, as its report says; empty when it does not.
  TppRect TrimBox;
  TppRect BleedBox;

  // The page's paper and margins (owned; setting copies, null is ignored).
  TppPrinterSetup* PrinterSetup() const { return printerSetup_.get(); }
  void SetPrinterSetup(const TppPrinterSetup* setup);
  const TppPageDef& PageDef() const { return printerSetup_->PageDef(); }

  // --- Draw commands, in drawing order
  int DrawCommandCount() const { return int(commands_.size()); }
  TppDrawCommand* DrawCommands(int index) const { return commands_[size_t(index)]; }
  const std::vector<TppDrawCommand*>& ClickableCommands() const { return clickable_; }
  const std::vector<TppDrawCommand*>& DeferredCommands() const { return deferred_; }

  // Frees every command.
  void Clear();
  // Clear, and every number, flag and name back to zero or empty.
  void Reset();
  // Takes over every field and the printer setup of source and holds new
  // commands of the same classes with the same fields.  Throws Exception
  // when a command's class is not registered under its own class name.
  void Assign(const TppPage& source);

  // "Página 2", and "Página 2 de 3" (engine messages 18 and 16).
  QString Description() const;
  QString LongDescription() const;

 private:
  friend class TppDrawCommand;
  void Attach(TppDrawCommand* command);
  void Detach(TppDrawCommand* command);

  std::unique_ptr<TppPrinterSetup> printerSetup_;
  std::vector<TppDrawCommand*> commands_;
  std::vector<TppDrawCommand*> clickable_;
  std::vector<TppDrawCommand*> deferred_;
};
