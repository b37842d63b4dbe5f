// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point: a headless QApplication shared by every test of the
// executable (a QGuiApplication for the tests of the window-free libraries,
// built with LURNS_TEST_WINDOW_FREE: they link no widget library).  The offscreen platform is chosen unless the caller set one,
// so the tests also run (and can be listed) on machines without a display.
// The settings store points at a temporary folder, never at the user's, and
// fontconfig shows only the fonts the project installs.
// The fonts are set up as the program sets them up.
#include "document/TiposDeLetra.h"
#include "support/SanitizerDefaults.h"
#ifndef LURNS_TEST_WINDOW_FREE
#include "platform/Dialogs.h"
// A modal dialog that nobody answers fails the test and is closed, instead
// of hanging the program (support/ModalDialogs.h).
#include "support/ModalDialogs.h"

#include <QApplication>
#else
#include <QGuiApplication>
#endif
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  PassSanitizerOptionsToChildren();
#ifdef LURNS_TEST_FONTCONFIG
  // Only the fonts the project installs (tests/CMakeLists.txt), for this
  // program and the programs it starts.
  if (qEnvironmentVariableIsEmpty("FONTCONFIG_FILE")) qputenv("FONTCONFIG_FILE", LURNS_TEST_FONTCONFIG);
#endif
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  // Each test program is its own "user session": test programs that ctest
  // runs side by side must not see each other as running copies.
  QTemporaryDir runtime;
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
#ifndef LURNS_TEST_WINDOW_FREE
  QApplication app(argc, argv);
  InstallPrinterDialogHost();
#else
  QGuiApplication app(argc, argv);
#endif
  PrepararTiposDeLetra();
  QStandardPaths::setTestModeEnabled(true);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  ::testing::InitGoogleTest(&argc, argv);
#ifndef LURNS_TEST_WINDOW_FREE
  InstallUnansweredDialogWatchdog();
#endif
  return RUN_ALL_TESTS();
}
