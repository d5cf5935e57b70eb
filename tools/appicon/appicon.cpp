// appicon: writes the program's icon as PNG files for installation, painted by
// the same code that paints the window icon, so that the file manager and the
// menus show what the running program shows.
//
//   appicon DIR SIZE...   writes DIR/<SIZE>x<SIZE>/apps/torzalen.png for each SIZE
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_icon.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: appicon DIR SIZE...\n", stderr);
    return 2;
  }
  // Painting needs no display: the offscreen platform always exists.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    char* end = nullptr;
    const long size = std::strtol(argv[i], &end, 10);
    if (end == argv[i] || *end != '\0' || size < 8 || size > 1024) {
      std::fprintf(stderr, "appicon: bad size '%s'\n", argv[i]);
      return 2;
    }
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
    const QString file = dir + QStringLiteral("/torzalen.png");
    if (!QDir().mkpath(dir) || !tz::AppIconPixmap(static_cast<int>(size)).save(file, "PNG")) {
      std::fprintf(stderr, "appicon: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
