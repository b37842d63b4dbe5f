// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's page viewer: TppViewer shows one generated page of a report
// at a chosen zoom, with scroll bars, page navigation, status texts and
// printing of the report shown; its TppScreenDevice receives the pages from
// the report's publisher and draws them.
//
// The screen device draws the same pages the printer device prints, with
// the same canvas operations (TppRasterDevice, TCanvas): it only works out
// the geometry its own way, at the zoom.  A page is drawn once per zoom,
// resize or new page into an off-screen picture (PageImage); painting and
// scrolling only copy from it.
//
// Lengths on the page are taken to screen pixels at the screen's logical
// resolution (ScreenPixelsPerInch, 96 in the tests) and then scaled by the
// zoom: ScaleX and ScaleY are picture pixels per screen pixel at 100 %.
#pragma once

#include "platform/Canvas.h"
#include "platform/Classes.h"
#include "platform/Types.h"
#include "report/ppRasterDev.h"

#include <QFrame>
#include <QImage>
#include <memory>
#include <optional>

class QScrollArea;
class TppDrawCommand;
class TppDrawImage;
class TppDrawLine;
class TppDrawShape;
class TppDrawText;
class TppPage;
class TppProducer;
class TppViewer;
class TppPaintBox;

enum TppZoomSettingType { zsWholePage, zsPageWidth, zs100Percent, zsPercentage };

// The page picture for a zoom: the picture's size, the page rectangle's
// size in it and the zoom that gives.
struct TppZoomGeometry {
  QSize Picture;
  int DrawnWidth = 0;
  int DrawnHeight = 0;
  int ZoomPercent = 0;
  bool operator==(const TppZoomGeometry&) const = default;
};

// The zoom arithmetic, for a page of pageWidth x pageHeight whole screen
// pixels in a scroll box of boxWidth x boxHeight, at ppi pixels per inch
// (margins around the page: an eighth of an inch, a quarter of an inch;
// room for a scroll bar: 0.1458 inch):
//   100 %: the page at its size with a quarter inch around it;
//   whole page: the box, the page a quarter inch less high than the box
//     (a step lower while it is not narrower than the box);
//   page width: the box's width less an eighth inch at either side and the
//     scroll bar's room;
//   percentage: the page scaled, in a picture at least the box's size.
// The zoom is the drawn height in percent of the page's height.
TppZoomGeometry ComputeZoomGeometry(TppZoomSettingType setting, int percentage, int pageWidth,
                                    int pageHeight, int boxWidth, int boxHeight, int ppi);

class TppScreenDevice : public TppRasterDevice {
 public:
  LURNS_COMPONENT(TppScreenDevice)
  static QString DeviceName() { return QStringLiteral("Screen"); }
  explicit TppScreenDevice(TComponent* owner = nullptr);
  ~TppScreenDevice() override;

  // The viewer showing the pages (null when the device has none): the
  // picture takes the size of its scroll box.
  TppViewer* Viewer() const { return viewer_; }
  void SetViewer(TppViewer* viewer);

  // --- What a draw command that draws itself uses (a DrawOn of its own
  // called with this device).  DrawingFor(command) is the one call such a
  // command needs: it stores the command's rectangle in the picture and
  // answers the canvas on the picture with it, the screen's pixels per
  // inch, the zoom (ScaleY) and the page-to-picture mapping; nothing when
  // no page is being drawn.
  std::optional<TppDrawingContext> DrawingFor(TppDrawCommand* command) override;
  // The same pieces one by one: the canvas (it draws only while a page is
  // being drawn), picture pixels per screen pixel at 100 % each way, and
  // the page's top-left corner in the picture.
  TCanvas* Canvas() { return &canvas_; }
  double ScaleX() const { return scaleX_; }
  double ScaleY() const { return scaleY_; }
  void ComputeDeviceRect(TppDrawCommand* command);
  // Any rectangle of the page (thousandths from the paper's corner) in
  // the picture, mapped as a command's rectangle is (a clip around a
  // command, for example).
  QRect PictureRectOf(const TppRect& mm) const;
  // The same before its edges are rounded to whole pixels.
  QRectF ExactRectOf(const TppRect& mm) const;
  // The page rectangle's top-left corner in the picture.
  int OriginX() const { return originX_; }
  int OriginY() const { return originY_; }

  // --- The page shown
  const QImage& PageImage() const { return pageImage_; }
  TppPage& CurrentPage() { return *currentPage_; }
  const TppPage& CurrentPage() const { return *currentPage_; }
  int DrawnWidth() const { return drawnWidth_; }
  int DrawnHeight() const { return drawnHeight_; }
  int ZoomPercent() const { return zoomPercent_; }
  // Sizes the picture and the page rectangle for the viewer's zoom.
  void ComputeZoom();
  // Draws the current page into a new picture; a page of no size leaves
  // the picture as it was.
  void RenderPage();
  // The first clickable command of the page shown whose rectangle holds
  // the point (edges included), or null.
  TppDrawCommand* HitTest(const QPoint& point) const;
  // "Página 2", with " de 5" once the number of pages is known.
  QString PageText() const;
  // Status texts reach the viewer only while this is set.
  bool StatusEnabled = true;

  // --- The device
  void SetStatus(const QString& text) override;
  void JobStarted() override;
  void AcceptPage(TppPage& page) override;
  void JobEnded() override;
  void JobCancelled() override;
  void ResetRequest() override;
  // Computes the command's rectangle and draws the engine's four kinds of
  // command; false for any other kind (a command that draws itself does
  // so in its own DrawOn).
  bool RenderCommand(TppDrawCommand* command) override;
  // Draws a late-valued command again and shows it at once.
  bool RedrawCommand(TppDrawCommand* command) override;
  // A command's clip (its sheet, its disc) in the picture while it draws,
  // as on paper.
  void BeginClip(TppDrawCommand* command) override;
  void EndClip(TppDrawCommand* command) override;

 protected:
  virtual void DrawShape(TppDrawShape* command);
  virtual void DrawLine(TppDrawLine* command);
  virtual void DrawImage(TppDrawImage* command);
  virtual void DrawText(TppDrawText* command);

 private:
  friend class TppViewer;
  class TBound;
  // The scroll box's size, or the picture's without a viewer.
  QSize BoxSize() const;
  void NewPageImage(const QSize& size);
  bool PageCountKnown(const TppPage& page) const;

  QImage pageImage_;
  TCanvas canvas_;
  std::unique_ptr<TppPage> currentPage_;
  TppViewer* viewer_ = nullptr;
  int drawnWidth_ = 0;
  int drawnHeight_ = 0;
  int originX_ = 0;
  int originY_ = 0;
  double scaleX_ = 1;
  double scaleY_ = 1;
  int zoomPercent_ = 0;
  // The number of the report's last page, once a page said it was last.
  int lastPageNo_ = 0;
  bool forceOpaque_ = false;
  // The canvas is bound to the picture (a page or a command is being
  // drawn).
  bool drawing_ = false;
};

class TppViewer : public QFrame {
  Q_OBJECT
 public:
  explicit TppViewer(QWidget* parent = nullptr);
  ~TppViewer() override;

  // The report shown; setting it attaches the screen device to the
  // report's publisher.  Becomes null when the report goes.
  TppProducer* Report() const;
  void SetReport(TppProducer* report);

  TppZoomSettingType ZoomSetting() const { return zoomSetting_; }
  void SetZoomSetting(TppZoomSettingType value);
  // At most 250 (no lower bound); selects zsPercentage.
  int ZoomPercentage() const { return zoomPercentage_; }
  void SetZoomPercentage(int value);

  // A new page was shown, or the viewer was resized.
  TNotifyEvent OnPageChange;
  // The device started or finished a job (IsBusy changed).
  TNotifyEvent OnPrintStateChange;
  // The status text changed.
  TNotifyEvent OnStatusChange;
  // A call the viewer made into the engine (asking for pages, printing)
  // has returned: Working() is false again.
  TNotifyEvent OnWorkEnd;

  // --- Navigation: each asks the report for the page and shows it when it
  // comes; refused while the device is busy or the viewer is working.
  void GoFirstPage();
  void GoPriorPage();
  void GoNextPage();
  void GoLastPage();
  void GoToPage(int pageNo);
  // Prints the report shown through the engine's print path (DeviceType
  // "Printer", with the print and cancel dialogs when there are any), and
  // makes the preview again when the print changed the printer setup.
  // Failures are told in a warning.
  void PrintShownReport();
  // Stops the report's generation under way.
  void CancelGeneration();
  // The report's search dialog, which this program does not have: there
  // is nothing to search, and the preview hides the button.
  void RunAutoSearch();

  int CurrentPageNo() const;
  int CalculatedZoom() const;
  QString StatusText() const;
  // The device is inside a job.
  bool IsBusy() const;
  // A call of the viewer into the engine has not returned yet.
  bool Working() const { return working_ > 0; }

  TppScreenDevice* ScreenDevice() const { return device_.get(); }
  QScrollArea* ScrollBox() const { return scrollBox_; }
  QWidget* PaintBox() const;
  // Sets the scroll ranges and bars for the picture (a bar shows when the
  // picture is larger than the box that way) and puts both positions back
  // to 0 after a zoom change.
  void UpdateScrollBars();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  friend class TppPaintBox;
  friend class TppScreenDevice;
  // Counts a call into the engine; fires OnWorkEnd when the last returns.
  class TWork;
  bool Idle() const { return !IsBusy() && !Working(); }
  void Request(const TppPageRequest& request);
  void AskForPages();
  void LayOut();
  void PaintBoxMouseMove(const QPoint& p);
  void PaintBoxMouseDown(const QPoint& p);
  void Fire(const TNotifyEvent& event);

  std::unique_ptr<TppScreenDevice> device_;
  QScrollArea* scrollBox_ = nullptr;
  TppPaintBox* paintBox_ = nullptr;
  TComponentRef<TppProducer> report_;
  TppZoomSettingType zoomSetting_ = zsWholePage;
  int zoomPercentage_ = 100;
  TppZoomSettingType lastZoomApplied_ = zsWholePage;
  bool resetScroll_ = true;
  // A single command's rectangle is being copied to the paint box.
  bool painting_ = false;
  bool stale_ = false;
  bool ready_ = false;
  bool destroying_ = false;
  bool detaching_ = false;
  int working_ = 0;
};
