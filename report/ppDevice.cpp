// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppDevice.h"

#include "report/ppDrwCmd.h"
#include "report/ppPrnabl.h"
#include "report/ppUtils.h"

#include <algorithm>

namespace {

template <class T>
void Erase(std::vector<T*>& v, const T* x) {
  v.erase(std::remove(v.begin(), v.end(), x), v.end());
}

// The devices as they are now; one that is destroyed meanwhile answers
// null.
std::vector<TComponentRef<TppDevice>> Snapshot(const std::vector<TppDevice*>& devices) {
  return {devices.begin(), devices.end()};
}

QString CacheKey(int pageNo) { return QString::asprintf("%8d", pageNo); }

}  // namespace

// ---------------------------------------------------------------------------
// Page request

bool TppPageRequest::IsRequested(const TppPage& page) const {
  const int no = page.AbsolutePageNo;
  bool requested = false;
  switch (PageSetting) {
    case psAll:
    case psPageRange: requested = true; break;
    case psPageList: requested = PageList.contains(QString::number(no)); break;
    case psSinglePage:
      requested = no == PageRequested || (PageRequested > no && page.LastPage) ||
                  (PageRequested < 1 && no == 1);
      break;
    case psFirstPage: requested = page.FirstPage; break;
    case psLastPage: requested = page.LastPage; break;
  }
  // Odd or even pages are taken from among the chosen ones.
  if (PageRange == prOddPages) requested = requested && no % 2 == 1;
  if (PageRange == prEvenPages) requested = requested && no % 2 == 0;
  return requested;
}

bool TppPageRequest::IsCompletedBy(const TppPage& page, QStringList& remaining) const {
  const int no = page.AbsolutePageNo;
  if (PageSetting == psPageList) remaining.removeAll(QString::number(no));
  // Nothing comes after the last page.
  if (page.LastPage) return true;
  switch (PageSetting) {
    case psAll:
    case psPageRange:
    case psLastPage: return false;
    case psPageList: return remaining.isEmpty();
    case psSinglePage: return no == PageRequested || (PageRequested < 1 && no == 1);
    case psFirstPage: return true;
  }
  return false;
}

void TppPageRequest::Merge(const TppPageRequest& other) {
  if (other == *this) return;
  const TppPageRangeType range = PageRange == other.PageRange ? PageRange : prAll;
  Reset();
  PageRange = range;
}

// ---------------------------------------------------------------------------
// Publisher

TppPublisher::TppPublisher(TComponent* owner) : TppCommunicator(owner) {}

TppPublisher::~TppPublisher() {
  // The devices drop their publisher (ppopDestroying) before it goes.
  BeginDestroy();
  active_.clear();
  groups_.clear();
}

void TppPublisher::Attach(TppDevice* device) {
  if (std::find(active_.begin(), active_.end(), device) != active_.end()) return;
  if (device->Exclusive()) {
    std::vector<TppDevice*>& stack = groups_[device->GroupName()];
    if (std::find(stack.begin(), stack.end(), device) != stack.end()) return;
    // The device on top of the group gives way until this one goes.
    if (!stack.empty()) Erase(active_, stack.back());
    stack.push_back(device);
  } else {
    for (const auto& [name, stack] : groups_)
      if (std::find(stack.begin(), stack.end(), device) != stack.end()) return;
  }
  active_.push_back(device);
  Link(device);
}

void TppPublisher::Detach(TppDevice* device) {
  Erase(active_, device);
  for (auto it = groups_.begin(); it != groups_.end(); ++it) {
    std::vector<TppDevice*>& stack = it->second;
    const bool wasTop = !stack.empty() && stack.back() == device;
    Erase(stack, device);
    if (wasTop && !stack.empty()) active_.push_back(stack.back());
    if (stack.empty()) {
      groups_.erase(it);
      break;
    }
  }
}

void TppPublisher::OnLinkedNotify(TppCommunicator* sender, int operation) {
  TppCommunicator::OnLinkedNotify(sender, operation);
  if (operation == ppopDestroying)
    if (auto* device = dynamic_cast<TppDevice*>(sender)) Detach(device);
}

void TppPublisher::Reset() {
  done_ = false;
  lastPageNo_ = 0;
  satisfied_ = false;
  cancelled_ = false;
  request_.Reset();
  remaining_.clear();
  cache_.clear();
}

const TppPage* TppPublisher::CachedPage(int pageNo) const {
  const auto it = cache_.find(CacheKey(pageNo));
  return it == cache_.end() ? nullptr : it->second.get();
}

void TppPublisher::EndJobs() {
  for (const TComponentRef<TppDevice>& d : Snapshot(active_))
    if (d) d.Get()->JobEnded();
}

void TppPublisher::CancelJobs() {
  for (const TComponentRef<TppDevice>& d : Snapshot(active_)) {
    if (!d) continue;
    // Throwing a job away must not fail in turn; the first failure is the
    // one that is reported.
    try {
      d.Get()->JobCancelled();
    } catch (...) {
    }
  }
}

void TppPublisher::Publish() {
  // While pages are generated a request from a device (a preview's page
  // button pressed meanwhile) is ignored: it would restart the generation
  // under the running one.
  if (publishing_ || starting_) return;
  cancelled_ = false;
  try {
    for (const TComponentRef<TppDevice>& d : Snapshot(active_))
      if (d) d.Get()->JobStarted();

    starting_ = true;
    bool any = false;
    for (const TComponentRef<TppDevice>& ref : Snapshot(active_)) {
      TppDevice* d = ref.Get();
      if (!d || !d->WantsPages()) continue;
      if (d->OnPageRequest) d->OnPageRequest(d);
      if (!any)
        request_ = d->PageRequest();
      else
        request_.Merge(d->PageRequest());
      any = true;
    }
    starting_ = false;
    // A new request: nothing of it is served yet.
    satisfied_ = false;
    done_ = false;
    remaining_ = request_.PageList;

    publishing_ = true;
    if (any && !cancelled_ && !ServeFromCache() && PageRequestHook) PageRequestHook(request_);
    publishing_ = false;

    if (cancelled_)
      CancelJobs();
    else
      EndJobs();
    request_.Reset();
  } catch (const EPrintError&) {
    starting_ = publishing_ = fromCache_ = false;
    CancelJobs();
    request_.Reset();
    throw;
  } catch (const Exception& e) {
    starting_ = publishing_ = fromCache_ = false;
    CancelJobs();
    request_.Reset();
    throw EPrintError(e.Message);
  } catch (const std::exception& e) {
    starting_ = publishing_ = fromCache_ = false;
    CancelJobs();
    request_.Reset();
    throw EPrintError(QString::fromLocal8Bit(e.what()));
  }
}

bool TppPublisher::ServeFromCache() {
  if (!CachePages || cache_.empty()) return false;
  std::vector<int> pages;
  switch (request_.PageSetting) {
    case psAll:
    case psPageRange:
      if (lastPageNo_ <= 0) return false;
      for (int i = 1; i <= lastPageNo_; ++i) pages.push_back(i);
      break;
    case psSinglePage: {
      int n = std::max(1, request_.PageRequested);
      if (lastPageNo_ > 0) n = std::min(n, lastPageNo_);
      pages.push_back(n);
      break;
    }
    case psFirstPage: pages.push_back(1); break;
    case psLastPage:
      if (lastPageNo_ <= 0) return false;
      pages.push_back(lastPageNo_);
      break;
    case psPageList:
      for (const QString& s : request_.PageList) {
        const int n = s.toInt();
        if (n >= 1 && (lastPageNo_ <= 0 || n <= lastPageNo_)) pages.push_back(n);
      }
      std::sort(pages.begin(), pages.end());
      pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
      if (pages.empty()) return false;
      break;
  }
  for (int n : pages)
    if (!CachedPage(n)) return false;
  fromCache_ = true;
  for (int n : pages) {
    TppPage copy;
    copy.Assign(*CachedPage(n));
    AcceptPage(copy);
    if (cancelled_) break;
  }
  fromCache_ = false;
  return true;
}

void TppPublisher::CachePage(const TppPage& page) {
  auto copy = std::make_unique<TppPage>();
  copy->Assign(page);
  cache_[CacheKey(page.AbsolutePageNo)] = std::move(copy);
  // Pages cached earlier learn the count known now.
  for (auto& [key, cached] : cache_) {
    if (cached->AbsolutePageNo >= page.AbsolutePageNo) continue;
    cached->AbsolutePageCount = page.AbsolutePageCount;
    if (cached->ControlGroupBreakNo == page.ControlGroupBreakNo) cached->PageCount = page.PageCount;
  }
}

void TppPublisher::AcceptPage(TppPage& page) {
  if (CachePages && page.Final && !page.Blank && !fromCache_) CachePage(page);
  for (const TComponentRef<TppDevice>& ref : Snapshot(active_))
    if (TppDevice* d = ref.Get(); d && d->WantsPages()) d->AcceptPage(page);
  if (page.Final && !page.Blank && request_.IsCompletedBy(page, remaining_)) satisfied_ = true;
  if (page.LastPage && page.Final && !done_) {
    done_ = true;
    lastPageNo_ = page.AbsolutePageNo;
  }
}

// ---------------------------------------------------------------------------
// Device

TppDevice::TppDevice(TComponent* owner) : TppCommunicator(owner) {}

TppDevice::~TppDevice() {
  if (publisher_) publisher_->Detach(this);
  publisher_ = nullptr;
  BeginDestroy();
}

void TppDevice::OnLinkedNotify(TppCommunicator* sender, int operation) {
  TppCommunicator::OnLinkedNotify(sender, operation);
  if (operation == ppopDestroying && sender == publisher_) {
    publisher_ = nullptr;
    if (OnPublisherChange) OnPublisherChange(this);
  }
}

void TppDevice::SetExclusive(bool value) {
  if (publisher_ || busy_) return;
  exclusive_ = value;
}

void TppDevice::SetGroupName(const QString& value) {
  if (publisher_ || busy_) return;
  groupName_ = value;
}

void TppDevice::SetStatus(const QString& text) {
  if (text == status_) return;
  status_ = text;
  if (StatusReceiver) StatusReceiver(text);
  ProcessMessages();
}

void TppDevice::AttachPublisher(TppPublisher* publisher) {
  if (publisher == publisher_) return;
  if (publisher_) {
    publisher_->Detach(this);
    Unlink(publisher_);
  }
  publisher_ = publisher;
  if (publisher_) publisher_->Attach(this);
  if (OnPublisherChange) OnPublisherChange(this);
}

void TppDevice::AskForPages() {
  wantsPages_ = true;
  if (publisher_) publisher_->Publish();
}

void TppDevice::JobStarted() {
  busy_ = true;
  remaining_ = request_.PageList;
  drawProblems_.clear();
  if (OnJobStarted) OnJobStarted(this);
}

void TppDevice::AcceptPage(TppPage& page) {
  skipPage_ = false;
  pageRequested_ = request_.IsRequested(page);
  if (page.Blank) skipPage_ = true;
  if (!page.Final && WantsFinalPagesOnly()) skipPage_ = true;
  if (OnPageReceived) OnPageReceived(this);
  if (wantsPages_ && page.Final && !page.Blank)
    wantsPages_ = !request_.IsCompletedBy(page, remaining_);
}

void TppDevice::JobEnded() {
  busy_ = false;
  wantsPages_ = true;
  if (OnJobEnded) OnJobEnded(this);
}

void TppDevice::JobCancelled() {
  const bool wasBusy = busy_;
  busy_ = false;
  wantsPages_ = true;
  if (wasBusy && OnCancelJob) OnCancelJob(this);
}

void TppDevice::ResetRequest() {
  request_.Reset();
  wantsPages_ = true;
}

void TppDevice::DrawPage(TppPage& page) {
  const TppPageDef& paper = page.PageDef();
  for (int i = 0; i < page.DrawCommandCount(); ++i) {
    TppDrawCommand* c = page.DrawCommands(i);
    // A command that starts beyond the paper is not drawn; one that only
    // reaches beyond it is clipped by the device.
    if (c->Left > paper.mmWidth || c->Top > paper.mmHeight) continue;
    // The clip ends with the command however its drawing ends.
    struct TClipScope {
      TppDevice* device;
      TppDrawCommand* command;
      TClipScope(TppDevice* d, TppDrawCommand* c) : device(c->Clip ? d : nullptr), command(c) {
        if (device) device->BeginClip(command);
      }
      ~TClipScope() {
        if (device) device->EndClip(command);
      }
    };
    // What failed is told with the component it stands for.
    auto problem = [c](const QString& why) {
      const TppPrintable* component = c->Component();
      return component ? component->Description() + QStringLiteral(": ") + why : why;
    };
    try {
      TClipScope clip(this, c);
      c->DrawOn(this);
    } catch (const Exception& e) {
      drawProblems_.append(problem(e.Message));
    } catch (const std::exception& e) {
      drawProblems_.append(problem(QString::fromLocal8Bit(e.what())));
    }
  }
}

bool TppDevice::RenderCommand(TppDrawCommand*) { return false; }

std::optional<TppDrawingContext> TppDevice::DrawingFor(TppDrawCommand*) { return std::nullopt; }

bool TppDevice::RedrawCommand(TppDrawCommand*) { return false; }

// ---------------------------------------------------------------------------
// Device classes

namespace {
std::vector<TppDeviceClass>& DeviceClasses() {
  static std::vector<TppDeviceClass> classes;
  return classes;
}
}  // namespace

void RegisterDeviceClass(const TppDeviceClass& deviceClass) {
  auto& classes = DeviceClasses();
  auto create = deviceClass.Create;
  RegisterClass(deviceClass.ClassName,
                [create](TComponent* owner) -> TComponent* { return create(owner); });
  for (TppDeviceClass& c : classes)
    if (c.ClassName == deviceClass.ClassName) {
      c = deviceClass;
      return;
    }
  classes.push_back(deviceClass);
}

void UnregisterDeviceClass(const QString& className) {
  auto& classes = DeviceClasses();
  for (auto it = classes.begin(); it != classes.end(); ++it)
    if (it->ClassName == className) {
      classes.erase(it);
      UnRegisterClass(className);
      return;
    }
}

const TppDeviceClass* DeviceClassForName(const QString& deviceName) {
  for (const TppDeviceClass& c : DeviceClasses())
    if (c.DeviceName == deviceName) return &c;
  return nullptr;
}

QStringList DeviceNames() {
  QStringList names;
  for (const TppDeviceClass& c : DeviceClasses()) names.append(c.DeviceName);
  return names;
}
