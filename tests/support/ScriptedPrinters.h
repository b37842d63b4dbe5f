// SPDX-License-Identifier: GPL-3.0-or-later
// Installs a scripted printer backend for one test and puts the previous
// one back afterwards, rebuilding the engine's printer list both times.
#pragma once

#include "platform/ScriptedPrinterBackend.h"
#include "report/ppPrintr.h"

#include <gtest/gtest.h>

class ScriptedPrintersTest : public ::testing::Test {
 protected:
  // Installs the printers (the first is the default unless `defaultName`
  // says otherwise) and answers the backend for further scripting.
  TScriptedPrinterBackend& Install(QList<TScriptedPrinter> printers,
                                   const QString& defaultName = QString()) {
    auto b = std::make_unique<TScriptedPrinterBackend>();
    b->Printers = printers;
    b->Default = !defaultName.isEmpty() ? defaultName
                 : printers.isEmpty()   ? QString()
                                        : printers.first().Name;
    backend_ = b.get();
    ResetPrinterList();
    SetPrinterBackend(std::move(b));
    return *backend_;
  }
  void TearDown() override {
    ResetPrinterList();
    SetPrinterBackend(std::make_unique<TNoPrinterBackend>());
  }
  TScriptedPrinterBackend* backend_ = nullptr;
};
