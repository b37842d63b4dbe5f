// Program start-up: the splash window, the forms in their order, the
// event loop.
#pragma once

int RunLurns(int argc, char** argv);
