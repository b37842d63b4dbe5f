// SPDX-License-Identifier: GPL-3.0-or-later
// The report components of the cover reports that the engine lacks:
// TRotatedLabel prints a text object of the cover turned by its angle,
// through its draw command TDrawRotatedText; TSimpleGrid and its command
// TDrawSimpleGrid draw a plain grid of cells (the program makes none; it
// is registered with the rotated label for report designs that use it).
//
// A text prints as the editor shows it: it is laid out by the editor's own
// routine (platform/TextLayout, with the options of document/MedidaTexto)
// at its font's point size, placed in the object's box in design pixels
// (turned text from the reference point TurnedTextBox gives), and that
// box is mapped onto the command's device rectangle and clips it.  The
// drawing is one device-neutral routine, DrawRotatedText, that every
// device reaches through the drawing context it answers.
#pragma once

#include "report/ppCtrls.h"
#include "report/ppDrwCmd.h"

#include <QPoint>
#include <QRect>

class TCanvas;

// ---------------------------------------------------------------------------
// The rotated extent

// The bounding box of a text block turned about its top-left corner and
// the reference point the turned text is drawn from so that it fills the
// box.  All in pixels of one device.
struct TRotatedExtent {
  TppRect Box;        // left, top, right, bottom; its top-left corner is the block's
  QPoint Reference;
};
// For the unturned block R (left, top, right, bottom) and an angle in
// degrees, counter-clockwise: the block's corners are walked in double
// precision (down its height, along its width, up, back), the box
// extended after each step with the truncations of the classic routine
// (a right edge passed becomes trunc(x) + 1, a left edge trunc(x), the
// same downwards), and finally moved so that its top-left corner is R's.
// For R = (0, 0, 100, 20): 0 gives (0, 0, 101, 21) and (0, 0); 90 gives
// (0, 0, 21, 101) and (0, 100); 180 (0, 0, 101, 21) and (100, 20); 270
// (0, 0, 21, 101) and (20, 0).
TRotatedExtent RotatedExtent(const TppRect& block, int angle);

// ---------------------------------------------------------------------------
// The draw command

class TDrawRotatedText : public TppDrawText {
 public:
  LURNS_COMPONENT(TDrawRotatedText)
  explicit TDrawRotatedText(TComponent* owner = nullptr);
  void Assign(const TppDrawCommand& source) override;

  // DrawRotatedText with what the device answers to draw with (the
  // printer, the preview's screen; a device that draws no pages answers
  // nothing and nothing is drawn).  Answers true for every device: the
  // command has drawn itself.
  bool DrawOn(TppDevice* device) override;

  int Angle = 0;
  // The reference point in the component's box, in design pixels (96 per
  // inch), as the component measured it when it was sized.
  int OffsetX = 0;
  int OffsetY = 0;
};

// The one routine that draws a rotated-text command, on any device: the
// printer device (a real printer, a PDF file, PNG pages) and the preview's
// screen device reach it alike.  Nothing in it depends on the device.
//
//   canvas      the device's canvas, in the device's pixels;
//   exactRect   the command's box in those pixels, before its edges are
//               rounded (the device computes it from the command's
//               thousandths before each draw).
//
// The command's box in design pixels (96 per inch, from its thousandths)
// is mapped onto exactRect, and the caption drawn in it exactly as the
// editor draws the object on its sheet: laid out at the font's point size
// by the one text routine (level: its lines at their breaks, tabs
// expanded; turned: one line from the reference point TurnedTextBox gives
// for its extents in the box).  Everything is clipped to the box (and to
// any clip the device set around the command).  A command that is not
// transparent first fills the turned block's box (RotatedExtent) from the
// box's corner with its Color.  Everything is clipped to the pixels the box
// touches.  The canvas's clip is left as the routine found it; its font is
// the command's.
void DrawRotatedText(TCanvas& canvas, const QRectF& exactRect, const TDrawRotatedText& command);

// ---------------------------------------------------------------------------
// The component

class TRotatedLabel : public TppCustomText {
 public:
  LURNS_COMPONENT(TRotatedLabel)
  explicit TRotatedLabel(TComponent* owner = nullptr);

  // Degrees counter-clockwise, used as given (the cover's are 0..359).
  unsigned Angle() const { return angle_; }
  void SetAngle(unsigned value);
  // Where the text's reference point lies in the component's box, in
  // design pixels; set by the sizing step.
  QPoint OriginOffset() const { return originOffset_; }

  // The text component's loading, then the sizing step.
  void Loaded() override;
  // The sizing step, in place of the text component's own measuring (not
  // while read, loaded or printing): the caption measured as the editor
  // measures it, in design pixels; with AutoSize the component takes the
  // turned block's box (RotatedExtent); the origin offset is the reference
  // point the editor's rule gives in the box.
  void AutoSizeBounds() override;
  // A caption that repeats the user name follows it.
  void SetUserName(const QString& value) override;
  // The text component's filling, then the angle and the origin offset.
  void FillDrawCommand(TppDrawCommand* command) override;

 private:
  unsigned angle_ = 0;
  QPoint originOffset_;
  bool constructing_ = false;
};

// ---------------------------------------------------------------------------
// The grid

class TDrawSimpleGrid : public TppDrawCommand {
 public:
  LURNS_COMPONENT(TDrawSimpleGrid)
  explicit TDrawSimpleGrid(TComponent* owner = nullptr);
  void Assign(const TppDrawCommand& source) override;
  // The box's outline and the lines between the cells, in the pen's
  // colour, on any device that draws pages.
  bool DrawOn(TppDevice* device) override;

  int Columns = 1;
  int Rows = 1;
  TPen Pen;
};

// A box of Columns x Rows equal cells.
class TSimpleGrid : public TppCustomComponent {
 public:
  LURNS_COMPONENT(TSimpleGrid)
  explicit TSimpleGrid(TComponent* owner = nullptr);

  // At least 1.
  int Columns() const { return columns_; }
  void SetColumns(int value);
  int Rows() const { return rows_; }
  void SetRows(int value);
  const TPen& Pen() const { return pen_; }
  void SetPen(const TPen& value);

  void FillDrawCommand(TppDrawCommand* command) override;

 private:
  int columns_ = 1;
  int rows_ = 1;
  TPen pen_;
};

// Registers TRotatedLabel (tool-bar page "Standard Components", place 11,
// hint "RotatedLabel") and TSimpleGrid (place 12, "SimpleGrid") as report
// components, and TDrawRotatedText and TDrawSimpleGrid as classes made by
// name (page copies re-create commands by class name).  Programs call it
// once at start-up; calling it again changes nothing.
void RegisterBuilderControls();
// Takes them out again (at shut-down).
void UnregisterBuilderControls();
