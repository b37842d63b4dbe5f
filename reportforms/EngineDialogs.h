// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the report engine's dialogs known: the print dialog and the cancel
// dialog in the form registry (for TppCustomPrintDialog and
// TppCustomCancelDialog), and the dialog of a printer's own options as the
// printer backend's properties dialog.  The program calls it once at
// start-up, before anything prints.
#pragma once

void RegisterEngineDialogs();
// Undoes RegisterEngineDialogs.
void UnregisterEngineDialogs();
