#include "app/screenshot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <cstdio>

#include "app/main_window.h"
#include "app/qt_window_side.h"

namespace gedan {

int RunScreenshot(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: gedan --screenshot FILE [SHARE_LINK]\n");
    return 2;
  }
  QtEventPump pump;
  InstallEventPump(&pump);
  MainWindow window;
  window.Load(nullptr);
  QCoreApplication::processEvents();
  if (args.size() >= 4) {
    window.findChild<QLineEdit*>(QString::fromUtf8("编辑框1"))->setText(args[3]);
    QElapsedTimer clock;
    clock.start();
    window.FetchButtonClicked();
    std::printf("filled %d rows in %lld ms\n", window.songTable().GetItemCount(),
                static_cast<long long>(clock.elapsed()));
  }
  // Layouts settle over a few rounds of events (scroll bars, the batched rows).
  pump.DelayWithEvents(100);
  const bool saved = window.grab().save(args[2], "PNG");
  InstallEventPump(nullptr);
  if (!saved) std::fprintf(stderr, "gedan: cannot write %s\n", qPrintable(args[2]));
  return saved ? 0 : 1;
}

}  // namespace gedan
