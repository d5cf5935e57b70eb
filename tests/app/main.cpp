#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
  // The windows need a GUI application, not a screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Settings a window makes without a file of its own never reach the user's.
  const QByteArray config = QDir::tempPath().toLocal8Bit() + "/torzalen-tests-config";
  qputenv("XDG_CONFIG_HOME", config);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
