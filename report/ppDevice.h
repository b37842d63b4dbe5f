// SPDX-License-Identifier: GPL-3.0-or-later
// Output devices and publishing: what receives the pages a report
// generates and draws their commands (the printer and PDF output, the
// preview's screen).
//
// A report never draws by itself.  Its publisher (TppPublisher) collects
// the page requests of the devices attached to it, has the report generate
// the requested pages and hands every page to every device that wants it.
// A device says which pages it wants in its TppPageRequest and receives
// them in AcceptPage, between JobStarted and JobEnded (or JobCancelled).
//
// A device class is registered under its device name ("Printer",
// "Screen"); a report's DeviceType names one of them.  Programs register
// their device classes when they start.
#pragma once

#include "report/ppComm.h"

#include <QRect>
#include <QRectF>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class TCanvas;
struct TppRect;
class TppDrawCommand;
class TppPage;
class TppDevice;

// What a draw command that draws itself (a DrawOn of its own) draws with
// on a device: the device's canvas, the command's rectangle in the
// device's pixels, the device's resolution and the zoom, and the mapping
// of any rectangle of the page into the device's pixels.  Every device
// that draws pages answers it alike (the printer, the preview's screen),
// so a command never asks which device it is on.
struct TppDrawingContext {
  TCanvas* Canvas = nullptr;
  // The command's rectangle (its DeviceRect, already computed), and the
  // same before its edges were rounded to whole pixels: what is drawn to
  // scale is placed by this one and clipped by that one, so that it lands
  // where paper at the same scale has it.
  QRect DeviceRect;
  QRectF ExactRect;
  // The device's pixels per inch at 100 % (the screen's on the preview, a
  // printer's or a PDF's on paper), and the zoom drawn at (0.5 at 50 %; 1
  // on paper): an inch is PixelsPerInch x Scale device pixels.  On the
  // preview Scale is the vertical scale, which font heights follow.
  int PixelsPerInch = 96;
  double Scale = 1;
  // A rectangle of the page (thousandths from the paper's corner) in the
  // device's pixels, mapped as the command's own rectangle is.
  std::function<QRect(const TppRect&)> PageToDevice;

  // Device pixels per design pixel (96 per inch).
  double PerDesignPixel() const { return PixelsPerInch * Scale / 96.0; }
};

enum TppPageSettingType : std::uint8_t {
  psAll,
  psPageList,
  psSinglePage,
  psFirstPage,
  psLastPage,
  psPageRange,
};

// Which pages of the chosen ones print.
enum TppPageRangeType : std::uint8_t { prAll = 0, prOddPages = 1, prEvenPages = 2 };

// The pages a device asks for.
class TppPageRequest {
 public:
  QStringList PageList;  // page numbers, for psPageList
  int PageRequested = 1;  // for psSinglePage
  TppPageSettingType PageSetting = psAll;
  TppPageRangeType PageRange = prAll;

  void Reset() { *this = TppPageRequest(); }
  void Assign(const TppPageRequest& other) { *this = other; }
  bool operator==(const TppPageRequest&) const = default;

  // Whether the page is one asked for: psAll every page; psPageList the
  // listed numbers; psSinglePage the requested number (a number beyond the
  // report's end asks for its last page, one below 1 for page 1);
  // psFirstPage and psLastPage those pages.  Odd or even pages keep only
  // the pages of that parity among the chosen ones.
  bool IsRequested(const TppPage& page) const;
  // Whether the request is met once the page has been received: on the
  // last page always; psPageList when no listed number is left (the page's
  // number is taken off `remaining`, the list still to come); psSinglePage
  // on the requested page; psFirstPage on any page.
  bool IsCompletedBy(const TppPage& page, QStringList& remaining) const;
  // Takes another device's request in: a request for every page stays one;
  // two different requests become one for every page.
  void Merge(const TppPageRequest& other);
};

class TppPublisher : public TppCommunicator {
 public:
  LURNS_COMPONENT(TppPublisher)
  explicit TppPublisher(TComponent* owner = nullptr);
  ~TppPublisher() override;

  // --- Devices that receive pages, in the order they were attached.  An
  // exclusive device (a printer of a print run) pushes the device of its
  // group that was active before it out of the list until it goes.
  int DeviceCount() const { return int(active_.size()); }
  TppDevice* Devices(int index) const { return active_[size_t(index)]; }

  // --- Publishing
  // The page-request hook: generates the pages of the request, handing
  // each to AcceptPage (the report's generation).
  std::function<void(const TppPageRequest& request)> PageRequestHook;
  // Starts a job on every device, collects their page requests, serves
  // the pages from the cache or through PageRequestHook, and ends the job
  // (or cancels it, when Cancel was called meanwhile).  Any failure cancels
  // the job on every device and is raised as an EPrintError.  A call while
  // pages are being generated is ignored.
  void Publish();
  // A generated page: cached (when caching) and handed to every device
  // that wants pages.
  void AcceptPage(TppPage& page);
  // Forgets everything of the previous run: done, last page, satisfied,
  // the merged request, the page cache and a cancel.
  void Reset();
  // The run is cancelled: the devices' jobs are cancelled, not ended.
  void Cancel() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }

  bool CachePages = false;
  bool Done() const { return done_; }
  int LastPageNo() const { return lastPageNo_; }
  bool Satisfied() const { return satisfied_; }
  bool Publishing() const { return publishing_; }
  const TppPageRequest& PageRequest() const { return request_; }
  int CachedPageCount() const { return int(cache_.size()); }
  // The cached copy of a page, or null.
  const TppPage* CachedPage(int pageNo) const;

 protected:
  void OnLinkedNotify(TppCommunicator* sender, int operation) override;

 private:
  friend class TppDevice;
  void Attach(TppDevice* device);
  void Detach(TppDevice* device);
  bool ServeFromCache();
  void CachePage(const TppPage& page);
  void EndJobs();
  void CancelJobs();

  bool done_ = false;
  int lastPageNo_ = 0;
  std::vector<TppDevice*> active_;
  std::map<QString, std::vector<TppDevice*>> groups_;  // group name -> stack
  TppPageRequest request_;
  QStringList remaining_;  // listed pages still to come
  bool satisfied_ = false;
  bool starting_ = false;
  bool publishing_ = false;
  bool fromCache_ = false;
  bool cancelled_ = false;
  std::map<QString, std::unique_ptr<TppPage>> cache_;  // keyed "%8d"
};

class TppDevice : public TppCommunicator {
 public:
  LURNS_COMPONENT(TppDevice)
  explicit TppDevice(TComponent* owner = nullptr);
  // Leaves its publisher.
  ~TppDevice() override;

  bool Active = true;
  int LanguageIndex = 0;
  // Told every new status text (a cancel dialog, a viewer).
  std::function<void(const QString& text)> StatusReceiver;

  // --- Hooks
  TppNotifyEvent OnCancelJob;
  TppNotifyEvent OnPageRequest;
  TppNotifyEvent OnPageReceived;
  TppNotifyEvent OnJobStarted;
  TppNotifyEvent OnJobEnded;
  TppNotifyEvent OnPublisherChange;

  // --- State
  bool Busy() const { return busy_; }
  bool WantsPages() const { return wantsPages_; }
  // Of the page received last: not to be output, and asked for.
  bool SkipPage() const { return skipPage_; }
  bool PageIsRequested() const { return pageRequested_; }
  TppPageRequest& PageRequest() { return request_; }
  void SetPageRequest(const TppPageRequest& request) { request_ = request; }
  bool Exclusive() const { return exclusive_; }
  // Ignored while attached or busy.
  virtual void SetExclusive(bool value);
  QString GroupName() const { return groupName_; }
  virtual void SetGroupName(const QString& value);
  QString StatusText() const { return status_; }
  // Passes a changed text to the status receiver, then lets the program
  // process its pending events.
  virtual void SetStatus(const QString& text);

  // --- Publishing
  TppPublisher* Publisher() const { return publisher_; }
  // Leaves the old publisher and joins the new one (null: none).
  void AttachPublisher(TppPublisher* publisher);
  // Wants pages again and has the publisher publish.
  void AskForPages();

  virtual void JobStarted();
  virtual void AcceptPage(TppPage& page);
  virtual void JobEnded();
  // The job is thrown away: after a cancel or a failure.  Harmless when no
  // job is under way.
  virtual void JobCancelled();
  virtual void ResetRequest();
  virtual bool WantsFinalPagesOnly() const { return true; }

  // --- Drawing
  // Draws every command of the page that starts on the paper, in page
  // order.  One command that fails to draw does not stop the others: its
  // failure is noted in DrawProblems.
  void DrawPage(TppPage& page);
  // Around a command with a clip (TppDrawCommand::Clip): what the command
  // draws stays inside it.  Devices that draw apply it to their canvas;
  // the base draws nothing and applies nothing.
  virtual void BeginClip(TppDrawCommand* /*command*/) {}
  virtual void EndClip(TppDrawCommand* /*command*/) {}
  // Draws one command (a command's DrawOn comes here); false when the
  // device does not draw that kind of command.  The base draws nothing.
  virtual bool RenderCommand(TppDrawCommand* command);
  // Draws a command again when values it shows arrived late; the base
  // draws nothing.
  virtual bool RedrawCommand(TppDrawCommand* command);
  // For a command that draws itself: computes its device rectangle and
  // answers what to draw it with, or nothing when the device is not
  // drawing a page now (or draws nothing: the base).
  virtual std::optional<TppDrawingContext> DrawingFor(TppDrawCommand* command);
  // What failed to draw since the last job started.
  const QStringList& DrawProblems() const { return drawProblems_; }

 protected:
  void OnLinkedNotify(TppCommunicator* sender, int operation) override;
  void SetBusy(bool value) { busy_ = value; }
  // The request starts over (for a job that receives its pages again).
  void RewindRequest() { remaining_ = request_.PageList; }

 private:
  friend class TppPublisher;

  bool busy_ = false;
  bool skipPage_ = false;
  bool pageRequested_ = false;
  bool wantsPages_ = true;
  bool exclusive_ = false;
  QString groupName_;
  QString status_;
  TppPageRequest request_;
  QStringList remaining_;
  TppPublisher* publisher_ = nullptr;
  QStringList drawProblems_;
};

// A registered device class: the name reports know it by, its class name
// and how to make one.
struct TppDeviceClass {
  QString DeviceName;
  QString ClassName;
  std::function<TppDevice*(TComponent* owner)> Create;
};

// Registers a device class (once: registering its class again replaces the
// entry) and makes its class creatable by name.  Programs register their
// device classes when they start.
void RegisterDeviceClass(const TppDeviceClass& deviceClass);
// A class answers its device name through a static DeviceName(); without
// one its class name is the device name.
template <class T>
void RegisterDeviceClass() {
  TppDeviceClass c;
  if constexpr (requires { T::DeviceName(); })
    c.DeviceName = T::DeviceName();
  else
    c.DeviceName = T::StaticClassName();
  c.ClassName = T::StaticClassName();
  c.Create = [](TComponent* owner) -> TppDevice* { return new T(owner); };
  RegisterDeviceClass(c);
}
void UnregisterDeviceClass(const QString& className);
template <class T>
void UnregisterDeviceClass() {
  UnregisterDeviceClass(T::StaticClassName());
}
// The class registered under exactly this device name, or null.
const TppDeviceClass* DeviceClassForName(const QString& deviceName);
// The device names of the registered classes, in registration order.
QStringList DeviceNames();
