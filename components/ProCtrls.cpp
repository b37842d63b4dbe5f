// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/ProCtrls.h"

#include "platform/Controls.h"
#include "platform/TextLayout.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

// ---------------------------------------------------------------------------
// Shared pieces

QPoint DirectionStep(TDirection d) {
  switch (d) {
    case drUp: return {0, -1};
    case drDown: return {0, 1};
    case drLeft: return {-1, 0};
    case drRight: return {1, 0};
    case drUpLeft: return {-1, -1};
    case drUpRight: return {1, -1};
    case drDownLeft: return {-1, 1};
    case drDownRight: return {1, 1};
    case drNone:
    default: return {0, 0};
  }
}

namespace {

// Mouse handling shared by both controls, with the platform's order:
// a double click fires OnDblClick and then a press marked ssDouble; a
// click is a left press and release inside the control.
void FireMouseDown(QObject* self, TControlMouseEvents& ev, QMouseEvent* e, TShiftState extra) {
  TMouseButton b;
  if (!MouseButtonFrom(e->button(), b) || !ev.OnMouseDown) return;
  const QPoint pt = e->position().toPoint();
  ev.OnMouseDown(self, b, ShiftStateFrom(e->modifiers(), e->buttons()) | extra, pt.x(), pt.y());
}

void FireMouseUp(QObject* self, TControlMouseEvents& ev, QMouseEvent* e) {
  TMouseButton b;
  if (!MouseButtonFrom(e->button(), b) || !ev.OnMouseUp) return;
  const QPoint pt = e->position().toPoint();
  ev.OnMouseUp(self, b, ShiftStateFrom(e->modifiers(), e->buttons()), pt.x(), pt.y());
}

void FireMouseMove(QObject* self, TControlMouseEvents& ev, QMouseEvent* e) {
  if (!ev.OnMouseMove) return;
  const QPoint pt = e->position().toPoint();
  ev.OnMouseMove(self, ShiftStateFrom(e->modifiers(), e->buttons()), pt.x(), pt.y());
}

}  // namespace

// ---------------------------------------------------------------------------
// TProCustomLabel

TProCustomLabel::TProCustomLabel(QWidget* parent) : QWidget(parent) {
  resize(65, 17);
  font_.PixelsPerInch = ScreenPixelsPerInch();
  font_.SetSize(8);
  setMouseTracking(true);  // OnMouseMove also without a button held
}

double TProCustomLabel::PixelsPerPoint() const { return std::max(1, font_.PixelsPerInch) / 72.0; }

TTextBlock TProCustomLabel::TextBlock() const {
  TTextOptions o;
  o.InkInside = true;
  if (angle_ != 0) {
    // Turned: "&" as a character, the lines (aligned among themselves) as
    // one block turned as a whole.
    o.Flags = DT_NOPREFIX | (TextFlags() & (DT_CENTER | DT_RIGHT));
  } else {
    o.Flags = TextFlags();
    o.Width = width() / PixelsPerPoint();
    o.CharWrap = true;
  }
  return LayoutText(TextFontOf(font_), caption_, o);
}

unsigned TProCustomLabel::TextFlags() const {
  unsigned f = DT_EXPANDTABS;
  if (alignment_ == taRightJustify)
    f |= DT_RIGHT;
  else if (alignment_ == taCenter)
    f |= DT_CENTER;
  if (wordWrap_) f |= DT_WORDBREAK;
  if (!showAccelChar_) f |= DT_NOPREFIX;
  return f;
}

void TProCustomLabel::AdjustBounds() {
  if (loading_ || !autoSize_) return;
  QString text = caption_;
  // An empty caption (or a lone accelerator mark) would measure as nothing;
  // a space keeps the label one line high.
  if (text.isEmpty() || (showAccelChar_ && text == QLatin1String("&"))) text += QLatin1Char(' ');
  TTextOptions o;
  o.Flags = DT_EXPANDTABS;
  if (wordWrap_) o.Flags |= DT_WORDBREAK;
  if (!showAccelChar_) o.Flags |= DT_NOPREFIX;
  o.Width = width() / PixelsPerPoint();
  o.CharWrap = true;
  o.InkInside = true;
  const QRect r(QPoint(0, 0), LayoutText(TextFontOf(font_), text, o).PixelSize(PixelsPerPoint()));
  int left = x();
  if (alignment_ == taRightJustify) left += width() - r.width();
  setGeometry(left, y(), r.width(), r.height());
}

void TProCustomLabel::EndLoad() {
  loading_ = false;
  AdjustBounds();
}

void TProCustomLabel::SetCaption(const QString& v) {
  if (v == caption_) return;
  caption_ = v;
  AdjustBounds();
  update();
}

void TProCustomLabel::FontChanged() {
  AdjustBounds();
  update();
}

void TProCustomLabel::SetFont(const TFont& f) {
  font_ = f;
  parentFont_ = false;
  FontChanged();
}

TColor TProCustomLabel::Color() const {
  if (parentColor_) {
    if (auto* panel = qobject_cast<const TPanel*>(parentWidget())) return panel->Color();
    if (auto* label = qobject_cast<const TProCustomLabel*>(parentWidget())) return label->Color();
    return parentWidget() ? clBtnFace : color_;
  }
  return color_;
}

void TProCustomLabel::SetColor(TColor c) {
  if (c == color_ && !parentColor_) return;
  color_ = c;
  parentColor_ = false;
  update();
}

void TProCustomLabel::SetParentColor(bool v) {
  if (v == parentColor_) return;
  parentColor_ = v;
  update();
}

void TProCustomLabel::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  update();
}

void TProCustomLabel::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustBounds();
}

void TProCustomLabel::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  AdjustBounds();
  update();
}

void TProCustomLabel::SetShowAccelChar(bool v) {
  if (v == showAccelChar_) return;
  showAccelChar_ = v;
  update();
}

void TProCustomLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  update();
}

void TProCustomLabel::SetHint(const QString& v) {
  hint_ = v;
  setToolTip(showHint_ ? hint_ : QString());
}

void TProCustomLabel::SetShowHint(bool v) {
  showHint_ = v;
  setToolTip(showHint_ ? hint_ : QString());
}

void TProCustomLabel::SetAngle(int v) {
  int a = v % 360;
  if (a < 0) a += 360;
  if (a == angle_) return;
  angle_ = a;
  cos_ = AngleCos(a);
  sin_ = AngleSin(a);
  // A turned label keeps the bounds its owner gives it.
  if (a > 0 && autoSize_) SetAutoSize(false);
  update();
}

void TProCustomLabel::SetOffsetX(int v) {
  if (v == offsetX_) return;
  offsetX_ = v;
  if (v > 0 && autoSize_) SetAutoSize(false);
  update();
}

void TProCustomLabel::SetOffsetY(int v) {
  if (v == offsetY_) return;
  offsetY_ = v;
  if (v > 0 && autoSize_) SetAutoSize(false);
  update();
}

// An effect value changed by itself leaves the preset behind.
void TProCustomLabel::EffectChanged() {
  if (!presetting_) shadowStyle_ = ssCustom;
  update();
}

void TProCustomLabel::SetHighlightDirection(TDirection v) {
  if (v == highlightDirection_) return;
  highlightDirection_ = v;
  EffectChanged();
}

void TProCustomLabel::SetHighlightDepth(int v) {
  if (v == highlightDepth_) return;
  highlightDepth_ = v;
  EffectChanged();
}

void TProCustomLabel::SetHighlightColor(TColor v) {
  if (v == highlightColor_) return;
  highlightColor_ = v;
  EffectChanged();
}

void TProCustomLabel::SetShadowDirection(TDirection v) {
  if (v == shadowDirection_) return;
  shadowDirection_ = v;
  EffectChanged();
}

void TProCustomLabel::SetShadowDepth(TShadowDepth v) {
  v = std::min<TShadowDepth>(v, MaxShadowValue);
  if (v == shadowDepth_) return;
  shadowDepth_ = v;
  EffectChanged();
}

void TProCustomLabel::SetShadowSize(TShadowSize v) {
  v = std::min<TShadowSize>(v, MaxShadowValue);
  if (v == shadowSize_) return;
  shadowSize_ = v;
  EffectChanged();
}

void TProCustomLabel::SetShadowColor(TColor v) {
  if (v == shadowColor_) return;
  shadowColor_ = v;
  EffectChanged();
}

void TProCustomLabel::SetShadowStyle(TShadowStyle v) {
  if (v == shadowStyle_) return;
  shadowStyle_ = v;
  if (v == ssCustom) return;

  struct Preset {
    TDirection hdir;
    int hdepth;
    TDirection sdir;
    int sdepth, ssize;
    bool buttonFaceText;
  };
  static constexpr Preset presets[] = {
      /* ssNone */ {drNone, 0, drNone, 0, 0, false},
      /* ssCustom */ {drNone, 0, drNone, 0, 0, false},
      /* ssRaised */ {drUpLeft, 1, drNone, 0, 0, false},
      /* ssRaisedColor */ {drUpLeft, 1, drDownRight, 1, 1, true},
      /* ssRaisedShadow */ {drUpLeft, 1, drDownRight, 1, 1, false},
      /* ssRaisedThickShadow */ {drUpLeft, 1, drDownRight, 1, 4, false},
      /* ssRecessed */ {drDownRight, 1, drNone, 0, 0, false},
      /* ssRecessedColor */ {drDownRight, 1, drUpLeft, 1, 1, true},
      /* ssRecessedShadow */ {drDownRight, 1, drUpLeft, 1, 1, false},
      /* ssShadow */ {drNone, 0, drDownRight, 2, 1, false},
      /* ssThickShadow */ {drNone, 0, drDownRight, 1, 4, false},
  };
  if (v > ssThickShadow) return;
  const Preset& p = presets[v];
  presetting_ = true;
  SetHighlightDirection(p.hdir);
  SetHighlightDepth(p.hdepth);
  SetHighlightColor(clBtnHighlight);
  SetShadowDirection(p.sdir);
  SetShadowDepth(TShadowDepth(p.sdepth));
  SetShadowSize(TShadowSize(p.ssize));
  SetShadowColor(clBtnShadow);
  if (p.buttonFaceText && font_.Color != clBtnFace) {
    font_.Color = clBtnFace;
    FontChanged();
  }
  presetting_ = false;
}

void TProCustomLabel::SetVerticalAlignment(TVerticalAlignment v) {
  if (v == verticalAlignment_) return;
  verticalAlignment_ = v;
  update();
}

void TProCustomLabel::PaintTo(QPainter& p) const {
  const int W = width(), H = height();
  QRect R(0, 0, W, H);

  if (!transparent_) p.fillRect(R, ColorToQColor(Color()));

  const TTextBlock block = TextBlock();
  const double k = PixelsPerPoint();
  // One pass of the caption in colour c from R's corner, without a
  // background; the widget's bounds clip it.
  auto pass = [&](const QRect& r, TColor c) {
    DrawTextBlock(p, block, r.topLeft(), k, angle_ * 10, ColorToQColor(c));
  };

  if (angle_ != 0) {
    const QSize ext = block.PixelSize(k);
    R = TurnedTextBoxCS(angle_, cos_, sin_, ext.width(), ext.height(), W, H, alignment_,
                        verticalAlignment_)
            .rect;
  } else if (verticalAlignment_ != vaTop) {
    const int h = block.Empty() ? 0 : block.PixelSize(k).height();
    R.setBottom(R.top() + h - 1);  // height h
    if (verticalAlignment_ == vaCenter)
      R.translate(0, (H - h) / 2);
    else
      R.translate(0, H - h);
  }

  R.translate(offsetX_, offsetY_);

  if (!isEnabled()) {
    pass(R.translated(1, 1), clBtnHighlight);
    pass(R, clBtnShadow);
    return;
  }

  if (shadowStyle_ != ssNone) {
    const QPoint sd = DirectionStep(shadowDirection_);
    QRect r = R.translated(sd * int(shadowDepth_));
    for (int i = 0; i < shadowSize_; ++i) {
      pass(r, shadowColor_);
      r.translate(sd);
    }
    const QPoint hd = DirectionStep(highlightDirection_);
    // Drawn even without a direction or depth: then it lies under the text.
    pass(R.translated(hd * highlightDepth_), highlightColor_);
  }
  pass(R, font_.Color);
}

void TProCustomLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintTo(p);
}

void TProCustomLabel::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange) update();
  QWidget::changeEvent(e);
}

void TProCustomLabel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) pressedLeft_ = true;
  FireMouseDown(this, *this, e, 0);
}

void TProCustomLabel::mouseReleaseEvent(QMouseEvent* e) {
  const bool click = pressedLeft_ && e->button() == Qt::LeftButton &&
                     rect().contains(e->position().toPoint());
  if (e->button() == Qt::LeftButton) pressedLeft_ = false;
  QPointer<TProCustomLabel> self(this);
  if (click && OnClick) OnClick(this);
  if (self) FireMouseUp(this, *this, e);
}

void TProCustomLabel::mouseMoveEvent(QMouseEvent* e) { FireMouseMove(this, *this, e); }

void TProCustomLabel::mouseDoubleClickEvent(QMouseEvent* e) {
  QPointer<TProCustomLabel> self(this);
  if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
  if (self) FireMouseDown(this, *this, e, ssDouble);
}

void TProCustomLabel::enterEvent(QEnterEvent* e) {
  QWidget::enterEvent(e);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TProCustomLabel::leaveEvent(QEvent* e) {
  QWidget::leaveEvent(e);
  if (OnMouseLeave) OnMouseLeave(this);
}

// ---------------------------------------------------------------------------
// TProImage

TProImage::TProImage(QWidget* parent) : QWidget(parent) {
  resize(105, 105);
  setMouseTracking(true);
}

void TProImage::SetPicture(const TPicture& p) {
  picture_ = p;
  PictureChanged();
}

void TProImage::LoadPicture(const QString& fileName) {
  TPicture p;
  p.LoadFromFile(fileName);  // throws; the current picture stays then
  picture_ = p;
  PictureChanged();
}

void TProImage::ClearPicture() {
  picture_.Clear();
  PictureChanged();
}

void TProImage::SetAutoSize(bool v) {
  autoSize_ = v;
  PictureChanged();
}

void TProImage::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  PictureChanged();
}

void TProImage::SetCenter(bool v) {
  if (v == center_) return;
  center_ = v;
  PictureChanged();
}

void TProImage::SetTiled(bool v) {
  if (v == tiled_) return;
  tiled_ = v;
  PictureChanged();
}

void TProImage::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  PictureChanged();
}

void TProImage::SetHint(const QString& v) {
  hint_ = v;
  setToolTip(showHint_ ? hint_ : QString());
}

void TProImage::SetShowHint(bool v) {
  showHint_ = v;
  setToolTip(showHint_ ? hint_ : QString());
}

void TProImage::SetPlaceholder(const QString& v) {
  if (v == placeholder_) return;
  placeholder_ = v;
  update();
}

bool TProImage::GraphicReportsTransparent() const {
  if (picture_.Empty()) return false;
  const QString fmt = picture_.Format();
  // Icons and drawings only paint their own shapes; pictures with an alpha
  // channel may leave pixels uncovered.
  if (fmt == QLatin1String("ico") || fmt == QLatin1String("svg") || fmt == QLatin1String("wmf") ||
      fmt == QLatin1String("emf"))
    return true;
  if (picture_.ToImage().hasAlphaChannel()) return true;
  return graphicTransparent_;
}

bool TProImage::Opaque() const { return testAttribute(Qt::WA_OpaquePaintEvent); }

void TProImage::PictureChanged() {
  const int pw = picture_.Width(), ph = picture_.Height();
  if (autoSize_ && pw > 0 && ph > 0) setGeometry(x(), y(), pw, ph);
  if (!picture_.Empty()) {
    graphicTransparent_ = transparent_;
    const bool covers = stretch_ || (pw >= width() && ph >= height());
    setAttribute(Qt::WA_OpaquePaintEvent, !GraphicReportsTransparent() && covers);
    if (PaletteCheck() && drawing_) repaint();
  } else {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
  }
  if (!drawing_) update();
}

void TProImage::Progress(TProgressStage stage, std::uint8_t percent, bool redrawNow,
                         const QRect& r, const QString& msg) {
  if (incrementalDisplay_ && redrawNow) {
    // Without palettes the check never asks for more than the direct paint.
    PaletteCheck();
    repaint();
  }
  if (OnProgress) OnProgress(this, stage, percent, redrawNow, r, msg);
}

QRect TProImage::DestRect() const {
  const int pw = picture_.Width(), ph = picture_.Height();
  if (stretch_) return QRect(0, 0, width(), height());
  if (center_) return QRect((width() - pw) / 2, (height() - ph) / 2, pw, ph);
  return QRect(0, 0, pw, ph);
}

void TProImage::DrawGraphic(QPainter& p, const QRect& dest) const {
  if (picture_.Empty() || dest.isEmpty()) return;
  if (graphicTransparent_ && picture_.Format() == QLatin1String("bmp")) {
    if (!(keyedFor_ == picture_)) {
      QImage img = picture_.ToImage().convertToFormat(QImage::Format_ARGB32);
      if (!img.isNull()) {
        // The bottom-left pixel gives the colour that is left out.
        const QRgb key = img.pixel(0, img.height() - 1) | 0xFF000000u;
        for (int y = 0; y < img.height(); ++y) {
          auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
          for (int x = 0; x < img.width(); ++x)
            if ((line[x] | 0xFF000000u) == key) line[x] = 0;
        }
      }
      keyed_ = img;
      keyedFor_ = picture_;
    }
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(dest, keyed_);
    p.restore();
    return;
  }
  picture_.Draw(p, dest);
}

void TProImage::PaintTo(QPainter& p) const {
  const bool wasDrawing = drawing_;
  drawing_ = true;
  struct Restore {
    bool& flag;
    bool value;
    ~Restore() { flag = value; }
  } restore{drawing_, wasDrawing};

  if (picture_.Empty() && !placeholder_.isEmpty()) {
    // A frame over the whole control and the text inside it, so that the
    // control can be seen and picked although its picture is missing.
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    if (frame.isEmpty()) return;
    p.save();
    p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    p.setPen(Qt::darkGray);
    p.setFont(font());
    p.drawText(frame.adjusted(3, 3, -3, -3), Qt::AlignCenter | Qt::TextWrapAnywhere, placeholder_);
    p.restore();
    return;
  }
  if (!tiled_) {
    DrawGraphic(p, DestRect());
    return;
  }
  if (picture_.Empty()) return;
  const int pw = picture_.Width(), ph = picture_.Height();
  if (pw <= 0 || ph <= 0 || width() <= 0 || height() <= 0) return;
  QImage buffer(width(), height(), QImage::Format_ARGB32_Premultiplied);
  buffer.fill(Qt::transparent);
  {
    QPainter bp(&buffer);
    for (int x = 0; x < width(); x += pw)      // columns outer,
      for (int y = 0; y < height(); y += ph)   // rows inner
        DrawGraphic(bp, QRect(x, y, pw, ph));
  }
  p.drawImage(0, 0, buffer);
}

void TProImage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintTo(p);
}

void TProImage::Click() {
  if (OnClick) OnClick(this);
}

void TProImage::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TProImage::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) pressedLeft_ = true;
  FireMouseDown(this, *this, e, 0);
}

void TProImage::mouseReleaseEvent(QMouseEvent* e) {
  const bool click = pressedLeft_ && e->button() == Qt::LeftButton &&
                     rect().contains(e->position().toPoint());
  if (e->button() == Qt::LeftButton) pressedLeft_ = false;
  QPointer<TProImage> self(this);
  if (click) Click();
  if (self) FireMouseUp(this, *this, e);
}

void TProImage::mouseMoveEvent(QMouseEvent* e) { FireMouseMove(this, *this, e); }

void TProImage::mouseDoubleClickEvent(QMouseEvent* e) {
  QPointer<TProImage> self(this);
  if (e->button() == Qt::LeftButton) DblClick();
  if (self) FireMouseDown(this, *this, e, ssDouble);
}

void TProImage::enterEvent(QEnterEvent* e) {
  QWidget::enterEvent(e);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TProImage::leaveEvent(QEvent* e) {
  QWidget::leaveEvent(e);
  if (OnMouseLeave) OnMouseLeave(this);
}
