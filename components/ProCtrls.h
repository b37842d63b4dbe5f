// SPDX-License-Identifier: GPL-3.0-or-later
// The two controls a cover sheet is made of.
//
// TProLabel shows a text object: a label that draws its caption turned by
// any whole number of degrees, shifted by a pixel offset, and with layered
// copies (shadows and a highlight) for raised, recessed or shadowed looks.
// It lays out, measures and draws its caption through the one text routine
// (platform/TextLayout) and places turned text with the print path's
// arithmetic (TurnedTextBox, document/MedidaTexto.h), so a printed cover
// matches the screen.
//
// TProImage shows a picture stretched, centred, at its natural size or
// tiled, and reports the mouse entering and leaving it.
//
// Both are light child widgets without a background of their own: what the
// parent draws shows through wherever they draw nothing.
#pragma once

#include "document/MedidaTexto.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <cstdint>

enum TDirection : std::uint8_t {
  drNone,
  drUp,
  drDown,
  drLeft,
  drRight,
  drUpLeft,
  drUpRight,
  drDownLeft,
  drDownRight
};

enum TShadowStyle : std::uint8_t {
  ssNone,
  ssCustom,
  ssRaised,
  ssRaisedColor,
  ssRaisedShadow,
  ssRaisedThickShadow,
  ssRecessed,
  ssRecessedColor,
  ssRecessedShadow,
  ssShadow,
  ssThickShadow
};

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };

using TShadowDepth = std::uint16_t;  // 0..1280
using TShadowSize = std::uint16_t;   // 0..1280
constexpr int MaxShadowValue = 1280;

// Unit step of a direction, x to the right and y downwards.
QPoint DirectionStep(TDirection d);

// Turned text is placed by TurnedTextBox (document/MedidaTexto.h), the
// arithmetic the print path shares.

// The mouse handlers the editor hangs on its objects, called with the
// platform's arguments: X and Y in the control's own coordinates.
struct TControlMouseEvents {
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
};

class TProCustomLabel : public QWidget, public TControlMouseEvents {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int Angle READ Angle WRITE SetAngle)
  Q_PROPERTY(int OffsetX READ OffsetX WRITE SetOffsetX)
  Q_PROPERTY(int OffsetY READ OffsetY WRITE SetOffsetY)
  Q_PROPERTY(int HighlightDirection READ HighlightDirectionValue WRITE SetHighlightDirectionValue)
  Q_PROPERTY(int HighlightDepth READ HighlightDepth WRITE SetHighlightDepth)
  Q_PROPERTY(uint HighlightColor READ HighlightColor WRITE SetHighlightColor)
  Q_PROPERTY(int ShadowStyle READ ShadowStyleValue WRITE SetShadowStyleValue)
  Q_PROPERTY(int ShadowDirection READ ShadowDirectionValue WRITE SetShadowDirectionValue)
  Q_PROPERTY(int ShadowDepth READ ShadowDepth WRITE SetShadowDepthValue)
  Q_PROPERTY(int ShadowSize READ ShadowSize WRITE SetShadowSizeValue)
  Q_PROPERTY(uint ShadowColor READ ShadowColor WRITE SetShadowColor)
  Q_PROPERTY(int VerticalAlignment READ VerticalAlignmentValue WRITE SetVerticalAlignmentValue)
  // A second name for VerticalAlignment; never stored.
  Q_PROPERTY(int Layout READ LayoutValue WRITE SetLayoutValue STORED false)
  Q_PROPERTY(int Alignment READ AlignmentValue WRITE SetAlignmentValue)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
  Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
  Q_PROPERTY(uint Color READ Color WRITE SetColor)
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
  Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
  Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
  Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)

 public:
  explicit TProCustomLabel(QWidget* parent = nullptr);

  // Label basics.
  QString Caption() const { return caption_; }
  void SetCaption(const QString& v);
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& f);  // copies
  // The background colour; with ParentColor on, the parent panel's colour.
  TColor Color() const;
  void SetColor(TColor c);  // also switches ParentColor off
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  // Kept for the stored form of a label; the cover document always gives
  // its labels their own font, which switches it off.
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v) { parentFont_ = v; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  QWidget* FocusControl() const { return focusControl_; }
  void SetFocusControl(QWidget* w) { focusControl_ = w; }
  QString Hint() const { return hint_; }
  void SetHint(const QString& v);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);

  // Turning, offset and effects.
  int Angle() const { return angle_; }
  void SetAngle(int v);
  int OffsetX() const { return offsetX_; }
  void SetOffsetX(int v);
  int OffsetY() const { return offsetY_; }
  void SetOffsetY(int v);
  TDirection HighlightDirection() const { return highlightDirection_; }
  void SetHighlightDirection(TDirection v);
  int HighlightDepth() const { return highlightDepth_; }
  void SetHighlightDepth(int v);
  TColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor v);
  TShadowStyle ShadowStyle() const { return shadowStyle_; }
  void SetShadowStyle(TShadowStyle v);
  TDirection ShadowDirection() const { return shadowDirection_; }
  void SetShadowDirection(TDirection v);
  TShadowDepth ShadowDepth() const { return shadowDepth_; }
  void SetShadowDepth(TShadowDepth v);
  TShadowSize ShadowSize() const { return shadowSize_; }
  void SetShadowSize(TShadowSize v);
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor v);
  TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
  void SetVerticalAlignment(TVerticalAlignment v);
  TTextLayout Layout() const { return TTextLayout(verticalAlignment_); }
  void SetLayout(TTextLayout v) { SetVerticalAlignment(TVerticalAlignment(v)); }

  // While a label is being read from a stream, caption and font changes do
  // not size it; EndLoad sizes it once, as at the end of loading.
  void BeginLoad() { loading_ = true; }
  void EndLoad();
  bool Loading() const { return loading_; }

  // The caption as it is drawn, laid out by the one text routine at the
  // font's point size (platform/TextLayout), and the control's pixels per
  // point (its font's pixels per inch over 72).
  TTextBlock TextBlock() const;
  double PixelsPerPoint() const;

  // Paints the label onto p as its own paint does (p's origin at the
  // label's top-left corner).
  void PaintTo(QPainter& p) const;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  void changeEvent(QEvent*) override;

  // Resizes the control to its unrotated text while AutoSize is on.
  void AdjustBounds();

 private:
  void FontChanged();
  void EffectChanged();
  unsigned TextFlags() const;

  // Integer forms of the enumerated properties for the meta-object.
  int HighlightDirectionValue() const { return highlightDirection_; }
  void SetHighlightDirectionValue(int v) { SetHighlightDirection(TDirection(v)); }
  int ShadowStyleValue() const { return shadowStyle_; }
  void SetShadowStyleValue(int v) { SetShadowStyle(TShadowStyle(v)); }
  int ShadowDirectionValue() const { return shadowDirection_; }
  void SetShadowDirectionValue(int v) { SetShadowDirection(TDirection(v)); }
  void SetShadowDepthValue(int v) { SetShadowDepth(TShadowDepth(v)); }
  void SetShadowSizeValue(int v) { SetShadowSize(TShadowSize(v)); }
  int VerticalAlignmentValue() const { return verticalAlignment_; }
  void SetVerticalAlignmentValue(int v) { SetVerticalAlignment(TVerticalAlignment(v)); }
  int LayoutValue() const { return Layout(); }
  void SetLayoutValue(int v) { SetLayout(TTextLayout(v)); }
  int AlignmentValue() const { return alignment_; }
  void SetAlignmentValue(int v) { SetAlignment(TAlignment(v)); }

  QString caption_;
  TFont font_;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  bool parentFont_ = true;
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  bool transparent_ = false;
  QPointer<QWidget> focusControl_;
  QString hint_;
  bool showHint_ = false;
  bool loading_ = false;

  int angle_ = 0;
  int offsetX_ = 0;
  int offsetY_ = 0;
  TDirection highlightDirection_ = drNone;
  int highlightDepth_ = 0;
  TColor highlightColor_ = clBtnHighlight;
  TShadowStyle shadowStyle_ = ssNone;
  TDirection shadowDirection_ = drNone;
  TShadowDepth shadowDepth_ = 0;
  TShadowSize shadowSize_ = 0;
  TColor shadowColor_ = clBtnShadow;
  TVerticalAlignment verticalAlignment_ = vaTop;

  double cos_ = 1.0;  // of Angle, kept for every paint
  double sin_ = 0.0;
  bool presetting_ = false;  // set only while ShadowStyle applies its preset
  bool pressedLeft_ = false;
};

// The text object of a cover sheet.  Adds nothing to TProCustomLabel; it
// is the class name that files and the clipboard know.
class TProLabel : public TProCustomLabel {
  Q_OBJECT
 public:
  explicit TProLabel(QWidget* parent = nullptr) : TProCustomLabel(parent) {}
};

// Progress of a picture being decoded piece by piece.
enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = std::function<void(QObject* Sender, TProgressStage Stage,
                                          std::uint8_t PercentDone, bool RedrawNow,
                                          const QRect& R, const QString& Msg)>;

class TProImage : public QWidget, public TControlMouseEvents {
  Q_OBJECT
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
  Q_PROPERTY(bool Center READ Center WRITE SetCenter)
  Q_PROPERTY(bool Tiled READ Tiled WRITE SetTiled)
  Q_PROPERTY(bool IncrementalDisplay READ IncrementalDisplay WRITE SetIncrementalDisplay)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
  Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
  Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)

 public:
  explicit TProImage(QWidget* parent = nullptr);

  const TPicture& Picture() const { return picture_; }
  void SetPicture(const TPicture& p);  // copies
  // Loads the picture from a file by its extension and repaints; throws
  // Exception (the picture is unchanged then).
  void LoadPicture(const QString& fileName);
  // Empties the picture.
  void ClearPicture();

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Tiled() const { return tiled_; }
  void SetTiled(bool v);
  bool Tile() const { return tiled_; }
  void SetTile(bool v) { SetTiled(v); }
  bool IncrementalDisplay() const { return incrementalDisplay_; }
  void SetIncrementalDisplay(bool v) { incrementalDisplay_ = v; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  // A stored string: the editor keeps the picture's file name here.  It is
  // shown as a tooltip only while ShowHint is on.
  QString Hint() const { return hint_; }
  void SetHint(const QString& v);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  // What the control shows while it holds no picture: a frame with this
  // text (the editor gives the name of a picture file that was not found).
  // Empty, the control shows nothing then.
  QString Placeholder() const { return placeholder_; }
  void SetPlaceholder(const QString& v);

  TProgressEvent OnProgress;

  // The transparency flag of the graphic held (meaningless when empty).
  // A bitmap drawn transparent leaves out the colour of its bottom-left
  // pixel.
  bool GraphicTransparent() const { return graphicTransparent_; }
  // Whether the graphic draws every pixel of its area by itself.
  bool GraphicReportsTransparent() const;
  // Whether the control covers its whole area, so the parent need not
  // paint behind it.
  bool Opaque() const;

  // Where the picture is drawn when not tiled.
  QRect DestRect() const;

  void PaintTo(QPainter& p) const;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;

  // Fires OnClick; derived controls add to it.
  virtual void Click();
  virtual void DblClick();

  // Runs after every change of the picture and from the display setters.
  void PictureChanged();
  void Progress(TProgressStage stage, std::uint8_t percent, bool redrawNow, const QRect& r,
                const QString& msg);

 private:
  void DrawGraphic(QPainter& p, const QRect& dest) const;
  bool PaletteCheck() { return false; }  // displays without palettes

  TPicture picture_;
  bool autoSize_ = false;
  bool stretch_ = false;
  bool center_ = false;
  bool tiled_ = false;
  bool incrementalDisplay_ = false;
  bool transparent_ = false;
  bool graphicTransparent_ = false;
  mutable bool drawing_ = false;
  QString hint_;
  bool showHint_ = false;
  QString placeholder_;
  bool pressedLeft_ = false;

  // A bitmap drawn transparent, with its key colour taken out; made once
  // per picture.
  mutable QImage keyed_;
  mutable TPicture keyedFor_;
};
