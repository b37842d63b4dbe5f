// SPDX-License-Identifier: GPL-3.0-or-later
// Bands: the horizontal strips of a report that print their components.  A
// band belongs to a report (its parent) and holds its components as its
// children, in print order.  Heights are thousandths of a millimetre; the
// floating-point Height, BottomOffset and PrintPosition are the same values
// in the band's units.  Each band class has its BandType code, which the
// components that sit in it take over.
#pragma once

#include "report/ppPrintr.h"
#include "report/ppRelatv.h"
#include "report/ppTypes.h"

#include <vector>

class TppCustomReport;
class TppPrintable;

// What a band keeps while the engine prints it.
struct TppBandPrintState {
  bool Started = false;
  bool Done = false;
  bool NoRoom = false;
  // Prints in this run, and within the current print of the band.
  int TimesPrinted = 0;
  int PrintCount = 0;
  // Where the band lies on the page (thousandths from the paper's corner).
  TppRect Rect;
  int UsedHeight = 0;
  // The lowest the band may reach on this page.
  int SpaceLimit = 0;
  // Its print position sent it to the next page once already.
  bool Deferred = false;
  // Prints of the detail band for the current record.
  int BandsThisRecord = 0;
  // The components that take room on the page, in print order.
  std::vector<TComponentRef<TppPrintable>> ToPrint;
};

class TppBand : public TppCacheable {
 public:
  LURNS_COMPONENT(TppBand)
  explicit TppBand(TComponent* owner = nullptr);
  ~TppBand() override;

  virtual TppBandType BandType() const = 0;
  // The group of a group band; -1 for every other kind.
  virtual int GroupNo() const { return -1; }

  // --- The report
  TppCustomReport* Report() const;
  // Joins the end of the report's bands and takes the report's units.
  void SetReport(TppCustomReport* report);
  // Read from a design: the parent is the report.
  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;

  // --- The components, in print order
  int ObjectCount() const { return ChildCount(); }
  TppPrintable* Objects(int index) const;

  // --- Geometry in thousandths of a millimetre
  int mmHeight() const { return mmHeight_; }
  void SetmmHeight(int value);
  int mmBottomOffset() const { return mmBottomOffset_; }
  void SetmmBottomOffset(int value);
  // 0: the band prints where the previous one ended.
  int mmPrintPosition() const { return mmPrintPosition_; }
  void SetmmPrintPosition(int value);
  // The width the band spans: the printable width of the report's paper;
  // 0 without a report.
  int mmWidth() const;
  // The same in the band's units (vertically).  While a design is read the
  // setters store the value, truncated, as thousandths.
  float Height() const;
  float BottomOffset() const;
  float PrintPosition() const;
  void SetHeight(float value);
  void SetBottomOffset(float value);
  void SetPrintPosition(float value);
  TppUnitType Units() const { return units_; }
  // Passes the units on to the band's components.
  void SetUnits(TppUnitType units);
  // The report's printer, else the shared printer (null without any).
  TppPrinter* GetPrinter() const;

  TppPrintHeightType PrintHeight() const { return printHeight_; }
  virtual void SetPrintHeight(TppPrintHeightType value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Save() const { return save_; }
  void SetSave(bool value);

  TppNotifyEvent AfterGenerate;
  TppNotifyEvent AfterPrint;
  TppNotifyEvent BeforeGenerate;
  TppNotifyEvent BeforePrint;

  // Kept by the engine while it generates pages.
  TppBandPrintState PrintState;

 protected:
  void ParentChanged(TppRelative* oldParent) override;

 private:
  TppPrinter* ConversionPrinter() const;
  int FromUnits(float value) const;

  int mmHeight_ = 13229;  // half an inch
  int mmBottomOffset_ = 0;
  int mmPrintPosition_ = 0;
  TppUnitType units_ = utInches;
  TppPrintHeightType printHeight_ = phStatic;
  bool visible_ = true;
  bool save_ = false;
};

class TppCustomBand : public TppBand {
 public:
  LURNS_COMPONENT(TppCustomBand)
  explicit TppCustomBand(TComponent* owner = nullptr) : TppBand(owner) {}
};

class TppBasicBand : public TppCustomBand {
 public:
  LURNS_COMPONENT(TppBasicBand)
  explicit TppBasicBand(TComponent* owner = nullptr) : TppCustomBand(owner) {}
};

// The band printed once per record (once in all for a report without
// data).  Its user name is always "Detail".
class TppDetailBand : public TppBasicBand {
 public:
  LURNS_COMPONENT(TppDetailBand)
  explicit TppDetailBand(TComponent* owner = nullptr) : TppBasicBand(owner) {}

  TppBandType BandType() const override { return btDetail; }
  QString GetUserName() const override { return QStringLiteral("Detail"); }

  // Values below 1 become 1.
  int BandsPerRecord() const { return bandsPerRecord_; }
  void SetBandsPerRecord(int value);
  // Left to right turns a dynamic band static.
  TppColumnTraversalType ColumnTraversal() const { return columnTraversal_; }
  void SetColumnTraversal(TppColumnTraversalType value);
  // Refused as phDynamic while the columns run left to right.
  void SetPrintHeight(TppPrintHeightType value) override;
  int PrintCount() const { return printCount_; }
  void SetPrintCount(int value);
  // The name of the data pipeline the band walks; empty for none (this
  // program's reports have no data).
  QString DataPipeline() const { return dataPipeline_; }
  void SetDataPipeline(const QString& name);

 private:
  int bandsPerRecord_ = 1;
  TppColumnTraversalType columnTraversal_ = ctTopToBottom;
  int printCount_ = 0;
  QString dataPipeline_;
};

// The other kinds of band, for their BandType codes.
class TppHeaderBand : public TppBasicBand {
 public:
  LURNS_COMPONENT(TppHeaderBand)
  explicit TppHeaderBand(TComponent* owner = nullptr) : TppBasicBand(owner) {}
  TppBandType BandType() const override { return btHeader; }
};

class TppTitleBand : public TppBasicBand {
 public:
  LURNS_COMPONENT(TppTitleBand)
  explicit TppTitleBand(TComponent* owner = nullptr) : TppBasicBand(owner) {}
  TppBandType BandType() const override { return btTitle; }
};

class TppColumnHeaderBand : public TppBasicBand {
 public:
  LURNS_COMPONENT(TppColumnHeaderBand)
  explicit TppColumnHeaderBand(TComponent* owner = nullptr) : TppBasicBand(owner) {}
  TppBandType BandType() const override { return btColumnHeader; }
};

class TppColumnFooterBand : public TppBasicBand {
 public:
  LURNS_COMPONENT(TppColumnFooterBand)
  explicit TppColumnFooterBand(TComponent* owner = nullptr) : TppBasicBand(owner) {}
  TppBandType BandType() const override { return btColumnFooter; }
};

class TppSummaryBand : public TppBasicBand {
 public:
  LURNS_COMPONENT(TppSummaryBand)
  explicit TppSummaryBand(TComponent* owner = nullptr) : TppBasicBand(owner) {}
  TppBandType BandType() const override { return btSummary; }
};

class TppFooterBand : public TppBasicBand {
 public:
  LURNS_COMPONENT(TppFooterBand)
  explicit TppFooterBand(TComponent* owner = nullptr) : TppBasicBand(owner) {}
  TppBandType BandType() const override { return btFooter; }
};

class TppPageStyle : public TppCustomBand {
 public:
  LURNS_COMPONENT(TppPageStyle)
  explicit TppPageStyle(TComponent* owner = nullptr) : TppCustomBand(owner) {}
  TppBandType BandType() const override { return btPageStyle; }
};

// Header and footer of a group of records; GroupNo is the group's place
// among the report's groups.
class TppGroupBand : public TppBasicBand {
 public:
  LURNS_COMPONENT(TppGroupBand)
  explicit TppGroupBand(TComponent* owner = nullptr) : TppBasicBand(owner) {}
  int GroupNo() const override { return groupNo_; }
  void SetGroupNo(int value) { groupNo_ = value; }

 private:
  int groupNo_ = 0;
};

class TppGroupHeaderBand : public TppGroupBand {
 public:
  LURNS_COMPONENT(TppGroupHeaderBand)
  explicit TppGroupHeaderBand(TComponent* owner = nullptr) : TppGroupBand(owner) {}
  TppBandType BandType() const override { return btGroupHeader; }
};

class TppGroupFooterBand : public TppGroupBand {
 public:
  LURNS_COMPONENT(TppGroupFooterBand)
  explicit TppGroupFooterBand(TComponent* owner = nullptr) : TppGroupBand(owner) {}
  TppBandType BandType() const override { return btGroupFooter; }
};
