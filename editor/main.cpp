#include "editor/Lurns.h"

int main(int argc, char** argv) { return RunLurns(argc, argv); }
