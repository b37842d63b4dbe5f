// SPDX-License-Identifier: GPL-3.0-or-later
// The classes the printing code makes by name, registered in one place:
// the printer device ("Printer"), the preview's screen device ("Screen")
// and the preview window as the engine's previewer.  The program calls it
// at start-up, before any report is read, printed or previewed; tests that
// preview through the engine call it too.  (lurns-batch has no windows: it
// registers the printer device alone, from the engine's core.)
#pragma once

// Registering again changes nothing.
void RegisterPrintingClasses();
// Takes them out again (at shut-down).
void UnregisterPrintingClasses();

// Registers on construction and takes them out when it goes.
class TPrintingClasses {
 public:
  TPrintingClasses() { RegisterPrintingClasses(); }
  ~TPrintingClasses() { UnregisterPrintingClasses(); }
  TPrintingClasses(const TPrintingClasses&) = delete;
  TPrintingClasses& operator=(const TPrintingClasses&) = delete;
};
