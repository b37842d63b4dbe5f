// SPDX-License-Identifier: GPL-3.0-or-later
// Reports: TppCustomReport adds what a report lays out (columns, page
// limit, passes, data), TppBandedReport its bands, and TppReport is the
// report a program defines.  A report owns its printer setup and, through
// its bands, its components; the bands are its children, in the order they
// were added.
#pragma once

#include "report/ppProd.h"

class TppBand;
class TppDetailBand;
class TppEngine;

class TppCustomReport : public TppProducer {
 public:
  LURNS_COMPONENT(TppCustomReport)
  explicit TppCustomReport(TComponent* owner = nullptr) : TppProducer(owner) {}

  // A report without data ends once its detail band has printed.
  bool AutoStop() const { return autoStop_; }
  void SetAutoStop(bool value) { autoStop_ = value; }
  bool CachePages() const { return cachePages_; }
  void SetCachePages(bool value) { cachePages_ = value; }
  // Values below 1 are ignored.
  int Columns() const { return columns_; }
  void SetColumns(int value);
  int mmColumnWidth() const { return mmColumnWidth_; }
  void SetmmColumnWidth(int value);
  // The same in the report's units (horizontally).
  float ColumnWidth() const;
  void SetColumnWidth(float value);
  // The name of the data pipeline the report walks; empty for none.
  QString DataPipeline() const { return dataPipeline_; }
  void SetDataPipeline(const QString& name) { dataPipeline_ = name; }
  // 0: no limit; negative values are ignored.
  int PageLimit() const { return pageLimit_; }
  void SetPageLimit(int value);
  TppPassSettingType PassSetting() const { return passSetting_; }
  void SetPassSetting(TppPassSettingType value) { passSetting_ = value; }
  bool SaveAsTemplate() const { return saveAsTemplate_; }
  void SetSaveAsTemplate(bool value) { saveAsTemplate_ = value; }
  // Generation lets the program process its pending events after every
  // band, component and page (ProcessMessages, report/ppUtils).
  bool EnableProcessMessages() const { return enableProcessMessages_; }
  void SetEnableProcessMessages(bool value) { enableProcessMessages_ = value; }

  // After loading, the printer setup's stored paper code restores the
  // current printer's own name for the paper.
  void Loaded() override;

 private:
  bool autoStop_ = true;
  bool cachePages_ = false;
  int columns_ = 1;
  int mmColumnWidth_ = 0;
  QString dataPipeline_;
  int pageLimit_ = 0;
  TppPassSettingType passSetting_ = psOnePass;
  bool saveAsTemplate_ = false;
  bool enableProcessMessages_ = true;
};

class TppBandedReport : public TppCustomReport {
 public:
  LURNS_COMPONENT(TppBandedReport)
  explicit TppBandedReport(TComponent* owner = nullptr);
  ~TppBandedReport() override;

  // The engine that generates the report's pages.
  TppEngine* Engine() const { return engine_.get(); }

  int BandCount() const;
  TppBand* Bands(int index) const;
  // The first band of a kind, or null.
  TppBand* FindBand(TppBandType kind) const;
  TppDetailBand* DetailBand() const;
  // Adds a band at the end of the report's bands (SetReport of the band).
  void AddBand(TppBand* band);
  QStringList GenerationProblems() const override;

 protected:
  void ResetEngines() override;
  void GeneratePages(const TppPageRequest& request) override;
  void StopEngines() override;
  bool EngineRunning() const override;
  bool CachePagesWanted() const override { return CachePages(); }

 private:
  std::unique_ptr<TppEngine> engine_;
};

class TppReport : public TppBandedReport {
 public:
  LURNS_COMPONENT(TppReport)
  // A new report's printer setup names its documents after the report.
  explicit TppReport(TComponent* owner = nullptr);

  QString GetUserName() const override { return QStringLiteral("Report"); }
};
