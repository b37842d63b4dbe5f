// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Lurns.h"

#include "LurnsVersion.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  // Answered before anything else, without a display.
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
      std::printf("lurns %s\n", LURNS_VERSION);
      return 0;
    }
  return RunLurns(argc, argv);
}
