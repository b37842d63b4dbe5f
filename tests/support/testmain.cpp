// Test entry point: a headless QApplication shared by every test of the
// executable.  The offscreen platform is chosen unless the caller set one,
// so the tests also run (and can be listed) on machines without a display.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LURNS_TEST", "1");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
