// SPDX-License-Identifier: GPL-3.0-or-later
// Program start-up: the splash window, the forms in their order, the
// event loop.
#pragma once

int RunLurns(int argc, char** argv);

// The application's name, title, icon and window fonts, as start-up sets
// them once the application object exists.
void PrepararAplicacao();
