// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppFormIntf.h"

#include <vector>

TppFormIntf::~TppFormIntf() {
  if (DestroyHook) DestroyHook();
  if (ReleaseHook) ReleaseHook();
}

void TppFormIntf::SetLanguage(TppLanguageType language) {
  language_ = language;
  LanguageChanged();
}

void TppFormIntf::SetReport(TppProducer* report) {
  report_ = report;
  ReportChanged();
}

void TppFormIntf::DoCancel() {
  if (CancelHook) CancelHook();
}

void TppCancelDialogIntf::SetStatusText(const QString& text) {
  statusText_ = text;
  StatusTextChanged();
}

TModalResult TppCancelDialogIntf::ShowModalCancel() {
  shownModally_ = true;
  return ShowModal();
}

namespace {
struct Entry {
  QString kind;
  TppFormClass cls;
};
std::vector<Entry>& Registry() {
  static std::vector<Entry> registry;
  return registry;
}
}  // namespace

void RegisterEngineForm(const QString& kind, const QString& className, TppFormFactory create) {
  UnregisterEngineForm(kind);
  Registry().push_back({kind, {className, std::move(create)}});
}

void UnregisterEngineForm(const QString& kind) {
  auto& r = Registry();
  for (auto it = r.begin(); it != r.end(); ++it)
    if (it->kind == kind) {
      r.erase(it);
      return;
    }
}

const TppFormClass* EngineFormClass(const QString& kind) {
  for (const Entry& e : Registry())
    if (e.kind == kind) return &e.cls;
  return nullptr;
}

int EngineFormCount() { return int(Registry().size()); }
