// SPDX-License-Identifier: GPL-3.0-or-later
// TppPrintable: what every component that prints on a band has in common.
// Its geometry is kept in thousandths of a millimetre relative to the band
// (mmLeft, mmTop, mmWidth, mmHeight); the floating-point Left, Top, Width
// and Height are the same values in the component's units (a copy of the
// report's Units), converted through ppUtils.  A printable sits in a band
// (its parent); attaching it takes the band's units and records the band's
// kind as its BandType code.
#pragma once

#include "platform/Graphics.h"
#include "report/ppPrintr.h"
#include "report/ppRelatv.h"
#include "report/ppTypes.h"

class TppBand;
class TppDrawCommand;
class TppPage;

using TppDrawCommandEvent = std::function<void(TComponent* Sender, TppDrawCommand* Command)>;

class TppPrintable : public TppCacheable {
 public:
  LURNS_COMPONENT(TppPrintable)
  explicit TppPrintable(TComponent* owner = nullptr);
  ~TppPrintable() override;

  // --- The band
  TppBand* Band() const;
  // Leaves the old band, joins the end of the new band's components (its
  // print order), takes the band's units and its BandType and GroupNo.
  virtual void SetBand(TppBand* band);
  // The kind of band the component sits in (TppBandType), -1 before it
  // first sits in one.  Stored with a design: the stored code is kept only
  // while the component is read and has no band yet; attaching it to a
  // band always sets the code of that band.
  int BandType() const { return bandType_; }
  void SetBandType(int code);
  // The group of a group band the component sits in; -1 elsewhere.
  int GroupNo() const { return groupNo_; }
  // Read from a design: the parent is the band.
  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;
  // Once loaded, a component with ParentWidth or ParentHeight fits its band.
  void Loaded() override;

  // --- Geometry in thousandths of a millimetre, relative to the band
  int mmLeft() const { return mmLeft_; }
  int mmTop() const { return mmTop_; }
  int mmWidth() const { return mmWidth_; }
  int mmHeight() const { return mmHeight_; }
  void SetmmLeft(int value) { SetMMBounds(value, mmTop_, mmHeight_, mmWidth_); }
  void SetmmTop(int value) { SetMMBounds(mmLeft_, value, mmHeight_, mmWidth_); }
  void SetmmWidth(int value) { SetMMBounds(mmLeft_, mmTop_, mmHeight_, value); }
  void SetmmHeight(int value) { SetMMBounds(mmLeft_, mmTop_, value, mmWidth_); }
  // While a design is read the values are stored as they stand.  Otherwise
  // negative values become 0, left stays within the band's width (and, in
  // a designer, top within its height); a component with ParentWidth keeps
  // the band's left and width, one with ParentHeight its top and height.
  virtual void SetMMBounds(int left, int top, int height, int width);
  // The same in the component's units (Left and Width horizontally, Top and
  // Height vertically).  While a design is read the setters store the
  // value, truncated, as thousandths.
  float Left() const;
  float Top() const;
  float Width() const;
  float Height() const;
  void SetLeft(float value);
  void SetTop(float value);
  void SetWidth(float value);
  void SetHeight(float value);
  TppUnitType Units() const { return units_; }
  void SetUnits(TppUnitType units) { units_ = units; }
  // The printer that measures and converts for the component: the report's
  // printer through its band, else the shared printer (null without any
  // printer).
  virtual TppPrinter* GetPrinter() const;
  // Where the component printed on the page, in thousandths from the
  // paper's corner (filled during generation).
  const TppRect& PrintRect() const { return printRect_; }

  // --- Clipping.  What the component draws stays inside a rectangle of
  // its band (thousandths, as mmLeft and mmTop), or inside the ellipse in
  // it: a part beyond it is not drawn, and takes no room on the page (a
  // dynamic band is not sent to the next page for it).
  void SetClip(const TppRect& bandRect, bool ellipse = false);
  // With an ellipse clip, nothing is drawn inside the ellipse of `hole`
  // either (a label's centre hole); an empty rectangle has none.
  void SetClipHole(const TppRect& bandRect);
  void RemoveClip();
  bool HasClip() const { return clip_; }
  const TppRect& ClipRect() const { return clipRect_; }
  bool ClipEllipse() const { return clipEllipse_; }
  const TppRect& ClipHole() const { return clipHole_; }

  // --- Layout flags
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  bool ReprintOnOverFlow() const { return reprintOnOverFlow_; }
  virtual void SetReprintOnOverFlow(bool value);
  bool ShiftWithParent() const { return shiftWithParent_; }
  virtual void SetShiftWithParent(bool value);
  bool StretchWithParent() const { return stretchWithParent_; }
  virtual void SetStretchWithParent(bool value);
  bool ParentWidth() const { return parentWidth_; }
  virtual void SetParentWidth(bool value);
  bool ParentHeight() const { return parentHeight_; }
  virtual void SetParentHeight(bool value);

  // --- Appearance.  Each setter stores a changed value and calls Changed.
  TColor Color() const { return color_; }
  virtual void SetColor(TColor value);
  const TFont& Font() const { return font_; }
  // Copies the font; the size is measured again (AutoSizeBounds).
  virtual void SetFont(const TFont& value);
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  bool AutoSize() const { return autoSize_; }
  virtual void SetAutoSize(bool value);
  bool WordWrap() const { return wordWrap_; }
  // Also measures the size again and tells the band.
  virtual void SetWordWrap(bool value);
  TppTextAlignment TextAlignment() const { return textAlignment_; }
  // Keeps the legacy Alignment in step: right, centre, else left.
  virtual void SetTextAlignment(TppTextAlignment value);
  TAlignment Alignment() const { return alignment_; }
  QString Caption() const { return caption_; }
  // Measures the size again when AutoSize is set.
  virtual void SetCaption(const QString& value);
  // The class of draw command the component makes ("TppDrawText", ...).
  QString DrawCommandClass() const { return drawCommandClass_; }
  void SetDrawCommandClass(const QString& className) { drawCommandClass_ = className; }

  // Recomputes the size from the content; nothing in the base.
  virtual void AutoSizeBounds() {}
  // The geometry changed; the base calls Changed.
  virtual void BoundsChanged();

  // --- Generation.  When its band prints, the engine resets the
  // component, has it compute where it prints (ComputePrintRect) and, when
  // it has a height there, print onto the page (PrintToPage).
  // The report is generating pages (sizes are not measured meanwhile).
  bool IsPrinting() const;
  // Before each print of its band: ready when visible, nothing placed yet.
  void ResetPrintState();
  // OnPrint (and event 32), then, when ready and visible, the print
  // rectangle: the band's place on the page plus the component's own
  // geometry.  In a dynamic band a component that reaches more than 1
  // below the space left on the page does not fit (Fits answers false).
  virtual void ComputePrintRect();
  // Makes the component's draw command on the page when it is ready and
  // visible.
  virtual void PrintToPage(TppPage* page);
  // A new command of DrawCommandClass filled by FillDrawCommand, marked
  // clickable when someone listens for clicks, attached to the page (event
  // 84 then tells the listeners).  Throws Exception when the class is not
  // registered.
  virtual TppDrawCommand* MakeDrawCommand(TppPage* page);
  bool Ready() const { return ready_; }
  bool Fits() const { return fits_; }
  // The height the component takes on the page (0 when it did not print).
  int UsedPrintHeight() const { return usedPrintHeight_; }

  // --- Draw commands
  // The part every component fills in the draw commands it makes: the tag
  // and the band.
  virtual void FillDrawCommand(TppDrawCommand* command);
  // A clickable command of this component was clicked: OnDrawCommandClick,
  // then event ppevDrawCommandClick with the command.
  virtual void DrawCommandClick(TppDrawCommand* command);

  // How the user knows the component when it could not print: the
  // description given to it (a program names what the component stands
  // for), else its user name, else its name.
  QString Description() const;
  void SetDescription(const QString& text) { description_ = text; }

  TppNotifyEvent OnPrint;
  TppDrawCommandEvent OnDrawCommandCreate;
  TppDrawCommandEvent OnDrawCommandClick;

 protected:
  void ParentChanged(TppRelative* oldParent) override;
  // The component joined or left a band.
  virtual void BandChanged() {}
  // Runs once the print rectangle is placed; a stretching component would
  // change the used height here.
  virtual void AfterPrintPositioning() {}
  // Sets AutoSize without measuring (for constructors).
  void InitAutoSize(bool value) { autoSize_ = value; }

  TppRect printRect_;
  int usedPrintHeight_ = 0;
  // The clip on the page (thousandths from the paper's corner).
  TppRect printClip_;

 private:
  TppPrinter* ConversionPrinter() const;
  void FitToBand();

  int mmLeft_ = 0;
  int mmTop_ = 0;
  int mmWidth_;
  int mmHeight_;
  TppUnitType units_ = utInches;
  int bandType_ = -1;
  int groupNo_ = -1;

  bool clip_ = false;
  TppRect clipRect_;
  bool clipEllipse_ = false;
  TppRect clipHole_;
  TppRect printHole_;
  bool visible_ = true;
  bool reprintOnOverFlow_ = false;
  bool shiftWithParent_ = false;
  bool stretchWithParent_ = false;
  bool parentWidth_ = false;
  bool parentHeight_ = false;

  TColor color_ = clWhite;
  TFont font_;
  bool transparent_ = false;
  bool autoSize_ = false;
  bool wordWrap_ = false;
  TppTextAlignment textAlignment_ = taLeftJustified;
  TAlignment alignment_ = taLeftJustify;
  QString caption_;
  QString drawCommandClass_;
  QString description_;
  bool ready_ = false;
  bool fits_ = true;
};
