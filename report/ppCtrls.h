// SPDX-License-Identifier: GPL-3.0-or-later
// The report components the cover reports place on their bands: text
// (TppCustomText and TppLabel), rectangles and circles (TppShape) and
// pictures (TppImage).  Each computes its size from its content where it
// sizes itself, and fills the draw command it makes for a page: its print
// rectangle in thousandths of a millimetre on the paper and what to draw
// there.
#pragma once

#include "report/ppClass.h"

class TCanvas;

// Text in a box.  A text sizes itself to its caption (AutoSize, the
// default), measured with the fonts of the printer the report prints on
// (or the screen's when there is no printer).
class TppCustomText : public TppCustomComponent {
 public:
  LURNS_COMPONENT(TppCustomText)
  explicit TppCustomText(TComponent* owner = nullptr);

  // Word wrap breaks a word longer than the box between characters.
  bool CharWrap() const { return charWrap_; }
  void SetCharWrap(bool value);
  // Text export.
  bool Save() const { return save_; }
  void SetSave(bool value) { save_ = value; }
  int SaveLength() const { return saveLength_; }
  void SetSaveLength(int value) { saveLength_ = value; }
  int SaveOrder() const { return saveOrder_; }
  void SetSaveOrder(int value) { saveOrder_ = value; }

  // Replaces the text printed (the caption by default).
  std::function<void(TComponent* Sender, QString& Text)> OnGetText;
  // The text printed: the caption, then OnGetText and the listeners of
  // event 53 may replace it (not while loading).
  virtual QString GetText();

  // Full justification is for memos only: refused.
  void SetTextAlignment(TppTextAlignment value) override;
  // The caption measured (not while reading or printing, and not for a
  // word-wrapped text of fixed size): without AutoSize only the height
  // follows; with it the width too, the left edge moving so that a right
  // or centred text keeps its anchor.
  void AutoSizeBounds() override;
  void FillDrawCommand(TppDrawCommand* command) override;

 private:
  bool charWrap_ = false;
  bool save_ = false;
  int saveLength_ = 0;
  int saveOrder_ = -1;
};

class TppLabel : public TppCustomText {
 public:
  LURNS_COMPONENT(TppLabel)
  explicit TppLabel(TComponent* owner = nullptr) : TppCustomText(owner) {}

  // A caption that repeats the user name follows it when it changes.
  void SetUserName(const QString& value) override;
  // How a designer describes a label (message 119).
  QString Description() const;
};

class TppCustomGraphic : public TppCustomComponent {
 public:
  LURNS_COMPONENT(TppCustomGraphic)
  explicit TppCustomGraphic(TComponent* owner = nullptr);
};

// A rectangle, square, rounded rectangle or square, ellipse or circle,
// outlined with its pen and filled with its brush; a clear brush makes it
// transparent.
class TppShape : public TppCustomGraphic {
 public:
  LURNS_COMPONENT(TppShape)
  explicit TppShape(TComponent* owner = nullptr);

  const TBrush& Brush() const { return brush_; }
  void SetBrush(const TBrush& value);
  const TPen& Pen() const { return pen_; }
  void SetPen(const TPen& value);
  TShapeType Shape() const { return shape_; }
  void SetShape(TShapeType value);

  // Computed in screen pixels: the outline inside the component (inset by
  // half the pen), squares and circles centred, corner roundness a
  // quarter of the shorter side; squares and circles drawn as rectangles
  // and ellipses.
  void FillDrawCommand(TppDrawCommand* command) override;

 private:
  void BrushOrPenChanged();

  TBrush brush_;
  TPen pen_;
  TShapeType shape_ = stRectangle;
};

// A picture in its box: stretched (keeping its proportions or not),
// centred, or at its own size.
class TppCustomImage : public TppCustomComponent {
 public:
  LURNS_COMPONENT(TppCustomImage)
  explicit TppCustomImage(TComponent* owner = nullptr);

  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool DirectDraw() const { return directDraw_; }
  void SetDirectDraw(bool value);
  bool MaintainAspectRatio() const { return maintainAspectRatio_; }
  void SetMaintainAspectRatio(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  const TPicture& Picture() const { return picture_; }
  // Copies the picture.
  void SetPicture(const TPicture& value);
  // With AutoSize the component takes the picture's size, in screen
  // pixels.
  void SetAutoSize(bool value) override;

  void FillDrawCommand(TppDrawCommand* command) override;

 protected:
  void PictureChanged();

 private:
  bool center_ = true;
  bool directDraw_ = false;
  bool maintainAspectRatio_ = false;
  bool stretch_ = false;
  TPicture picture_;
};

class TppImage : public TppCustomImage {
 public:
  LURNS_COMPONENT(TppImage)
  explicit TppImage(TComponent* owner = nullptr) : TppCustomImage(owner) {}
};

// Text measured as the report's printer measures it, or on the screen
// without a printer: a canvas holding the font at that device's
// resolution, and conversions between its pixels and the engine's units.
class TppTextMeasure {
 public:
  TppTextMeasure(TppPrinter* printer, const TFont& font);
  ~TppTextMeasure();
  TppTextMeasure(const TppTextMeasure&) = delete;
  TppTextMeasure& operator=(const TppTextMeasure&) = delete;

  TCanvas* Canvas() const { return canvas_; }
  // Thousandths of a millimetre in the device's pixels (truncated).
  int ToPixels(int mmThousandths, TppDirection direction) const;
  // The device's pixels in whole screen pixels (truncated).
  int ToScreenPixels(int pixels, TppDirection direction) const;

 private:
  TppPrinter* printer_;
  std::unique_ptr<TCanvas> scratch_;
  TCanvas* canvas_ = nullptr;
};
